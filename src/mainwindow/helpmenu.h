#pragma once

#include <QMenu>

class PlatformServices;

// Help: "Readme.txt" through the desktop, the author's site, and About.
class HelpMenu : public QMenu
{
    Q_OBJECT

public:
    HelpMenu(const QString &readmePath, PlatformServices &services, QWidget *window);

private:
    void openReadme();
    void showAbout();

    QString mReadmePath;
    PlatformServices &mServices;
    QWidget *mWindow;
};
