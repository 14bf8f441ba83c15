#pragma once

#include <QMenu>

class PlatformServices;
class QUrl;

// Help: "Readme.txt" through the desktop, the author's site, and About.
class HelpMenu : public QMenu
{
    Q_OBJECT

public:
    HelpMenu(const QString &readmePath, PlatformServices &services, QWidget *window);

private:
    void openReadme();
    void showAbout();
    // Hands url to the desktop, and says so when the desktop cannot open it.
    void openWithDesktop(const QUrl &url, const QString &title);

    QString mReadmePath;
    PlatformServices &mServices;
    QWidget *mWindow;
};
