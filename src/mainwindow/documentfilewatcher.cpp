#include "documentfilewatcher.h"

#include "tilesetdocument.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

DocumentFileWatcher::DocumentFileWatcher(const TilesetDocument *document, QWidget *window)
    : QObject(window)
    , mDocument(document)
    , mWindow(window)
{
    connect(&mWatcher, &QFileSystemWatcher::fileChanged, this, &DocumentFileWatcher::pathChanged);
    connect(document, &TilesetDocument::fileStampChanged, this,
            &DocumentFileWatcher::followDocument);
}

void DocumentFileWatcher::followDocument()
{
    if (mDocument->isOpen() && !mDocument->isUntitled())
        watch(mDocument->filePath(), mDocument->fileStamp());
    else
        unwatch();
}

void DocumentFileWatcher::watch(const QString &path, const FileStamp &stamp)
{
    unwatch();
    if (!QFileInfo::exists(path))
        return;
    mPath = path;
    mStamp = stamp;
    mWatcher.addPath(path);
    if (FileStamp::of(path) != stamp)
        QTimer::singleShot(0, this, [this, path] { pathChanged(path); });
}

void DocumentFileWatcher::unwatch()
{
    if (!mWatcher.files().isEmpty())
        mWatcher.removePaths(mWatcher.files());
    mPath.clear();
    mTold = false;
}

void DocumentFileWatcher::pathChanged(const QString &path)
{
    if (path != mPath || mTold)
        return;
    if (!mWindow->isEnabled() || QApplication::activeModalWidget()) {
        // The question waits for the end of what runs, so the document is not replaced
        // under a command.
        QTimer::singleShot(100, this, [this, path] { pathChanged(path); });
        return;
    }
    const bool exists = QFileInfo::exists(path);
    if (exists && FileStamp::of(path) == mStamp) {
        mWatcher.addPath(path); // still the bytes the editor read or wrote
        return;
    }
    mTold = true;
    if (exists)
        Q_EMIT fileChanged(path);
    else
        Q_EMIT fileRemoved(path);
}
