#pragma once

#include "filestamp.h"

#include <QFileSystemWatcher>

class TilesetDocument;

// Tells when another program changes or removes the open document's file: once, until the
// document's file is read or written again, and never while the window is busy with a load,
// a save or a command's dialog. It follows the document: the file as it was read or last
// written is the one watched, so the editor's own writing is no change.
class DocumentFileWatcher : public QObject
{
    Q_OBJECT

public:
    // window: whose load, save or dialog the news waits for.
    DocumentFileWatcher(const TilesetDocument *document, QWidget *window);

Q_SIGNALS:
    void fileChanged(const QString &path);
    void fileRemoved(const QString &path);

private:
    void followDocument();
    // stamp: the file as the editor read or wrote it. A file that is already another by now
    // (changed while it loaded) is news as soon as the window is free.
    void watch(const QString &path, const FileStamp &stamp);
    void unwatch();
    void pathChanged(const QString &path);

    const TilesetDocument *mDocument;
    QWidget *mWindow;
    QFileSystemWatcher mWatcher;
    QString mPath;
    FileStamp mStamp; // the file as the editor last read or wrote it
    bool mTold = false;
};
