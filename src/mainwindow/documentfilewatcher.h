#pragma once

#include <QDateTime>
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

    void watch(const QString &path);
    void unwatch();

Q_SIGNALS:
    void fileChanged(const QString &path);
    void fileRemoved(const QString &path);

private:
    void pathChanged(const QString &path);

    struct FileStamp
    {
        QDateTime modified;
        qint64 size = -1;
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const QString &path);

    QWidget *mWindow;
    QFileSystemWatcher mWatcher;
    QString mPath;
    FileStamp mStamp; // the file as the editor last read or wrote it
    bool mTold = false;
};
