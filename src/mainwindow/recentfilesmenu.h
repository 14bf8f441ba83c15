#pragma once

#include <QMenu>

class PlatformServices;

// File > "Recent files": the files last opened or saved, newest first, kept in their own
// store beside the settings. A file gone from the disk leaves the list when chosen.
class RecentFilesMenu : public QMenu
{
    Q_OBJECT

public:
    RecentFilesMenu(const QString &storePath, PlatformServices &services,
                    QWidget *parent = nullptr);

    QStringList files() const;
    // Puts path at the top of the list.
    void add(const QString &path);

Q_SIGNALS:
    void openRequested(const QString &path);

private:
    void setFiles(const QStringList &paths);
    void rebuild();
    void choose(const QString &path);

    QString mStorePath;
    PlatformServices &mServices;
};
