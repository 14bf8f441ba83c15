#pragma once

#include "filestamp.h"

#include <QFileSystemWatcher>

// Tells when another program changes or removes the open document's file: once, until the
// file is watched again, and never while the window is busy with a load, a save or a
// command's dialog. The editor's own writing is no change: it watches again after a save.
class DocumentFileWatcher : public QObject
{
    Q_OBJECT

public:
    // window: whose load, save or dialog the news waits for.
    explicit DocumentFileWatcher(QWidget *window);

    // stamp: the file as the editor read or wrote it. A file that is already another by now
    // (changed while it loaded) is news as soon as the window is free.
    void watch(const QString &path, const FileStamp &stamp);
    void unwatch();

Q_SIGNALS:
    void fileChanged(const QString &path);
    void fileRemoved(const QString &path);

private:
    void pathChanged(const QString &path);

    QWidget *mWindow;
    QFileSystemWatcher mWatcher;
    QString mPath;
    FileStamp mStamp; // the file as the editor last read or wrote it
    bool mTold = false;
};
