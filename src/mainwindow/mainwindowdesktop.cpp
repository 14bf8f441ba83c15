#include "mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int RecentFileCount = 8;
const QString RecentKey = u"recentFiles"_s;

// The one local file a drag carries, or empty when it carries anything else.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return {};
    return QDir::toNativeSeparators(url.toLocalFile());
}

} // namespace

void MainWindow::openFile(const QString &path)
{
    finishLabelEdits();
    if (mDocument.changesMade && !askToSave(u"Save changes before opening another file?"_s))
        return;
    openChosenFile(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended, so that the dragging program is not kept waiting on a
    // question or a load.
    QTimer::singleShot(0, this, [this, path] { openFile(path); });
}

QStringList MainWindow::recentFiles() const
{
    return QSettings(mFolders.recentFilesStore(), QSettings::IniFormat)
        .value(RecentKey)
        .toStringList();
}

void MainWindow::setRecentFiles(const QStringList &paths)
{
    QSettings store(mFolders.recentFilesStore(), QSettings::IniFormat);
    store.setValue(RecentKey, paths.mid(0, RecentFileCount));
    store.sync();
    rebuildRecentMenu();
}

void MainWindow::addRecentFile(const QString &path)
{
    QStringList paths = recentFiles();
    if (paths.value(0) == path)
        return; // saved again: the list and the menu stand as they are
    paths.removeAll(path);
    paths.prepend(path);
    setRecentFiles(paths);
}

void MainWindow::rebuildRecentMenu()
{
    // The item being triggered may be among them: deleted later, not under its own signal.
    for (QAction *item : mRecentMenu->actions()) {
        mRecentMenu->removeAction(item);
        item->setObjectName({}); // no longer found by its name while it waits
        item->deleteLater();
    }
    const QStringList paths = recentFiles();
    for (int i = 0; i < paths.size(); ++i) {
        // "&1 path": the number is the item's Alt key, and an "&" of the path stays a letter.
        QString caption = paths[i];
        QAction *item =
            mRecentMenu->addAction(u"&%1 "_s.arg(i + 1) + caption.replace(u'&', u"&&"_s));
        item->setObjectName(u"mnurecent%1"_s.arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path = paths[i]] { openRecentFile(path); });
    }
    mRecentMenu->addSeparator()->setObjectName(u"mnurecents"_s);
    QAction *clear = mRecentMenu->addAction(u"Clear list"_s, this, [this] { setRecentFiles({}); });
    clear->setObjectName(u"mnurecentclear"_s);
    clear->setEnabled(!paths.isEmpty());
}

void MainWindow::openRecentFile(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        QStringList paths = recentFiles();
        paths.removeAll(path);
        setRecentFiles(paths);
        showMessage(
            u"The file %1 no longer exists; it has been removed from the recent files."_s.arg(path),
            u"Recent files", PlatformServices::Icon::Exclamation);
        return;
    }
    openFile(path);
}

void MainWindow::watchDocumentFile()
{
    unwatchDocumentFile();
    if (!mDocument.hasTilesets() || mDocument.filePath == u"Untitled"_s)
        return;
    const QFileInfo file(mDocument.filePath);
    mWatchedStamp = {file.lastModified(), file.size()};
    mWatcher->addPath(mDocument.filePath);
}

void MainWindow::unwatchDocumentFile()
{
    if (!mWatcher->files().isEmpty())
        mWatcher->removePaths(mWatcher->files());
    mDiskChangeTold = false;
}

void MainWindow::documentFileChanged(const QString &path)
{
    if (path != mDocument.filePath || mDiskChangeTold || !mDocument.hasTilesets())
        return;
    if (!isEnabled() || QApplication::activeModalWidget()) {
        // A load, a save or a command's dialog is running; the question waits for its end,
        // so the document is not replaced under the command.
        QTimer::singleShot(100, this, [this, path] { documentFileChanged(path); });
        return;
    }
    const QFileInfo file(path);
    if (file.exists() && FileStamp{file.lastModified(), file.size()} == mWatchedStamp) {
        mWatcher->addPath(path); // still the bytes the editor read or wrote
        return;
    }
    mDiskChangeTold = true; // once, until the file is opened or saved again
    if (!file.exists()) {
        showMessage(u"The file %1 was removed by another program. Its tilesets stay open here; "
                    u"Save writes them again."_s.arg(path),
                    u"File removed", PlatformServices::Icon::Exclamation);
        return;
    }
    const QString question =
        mDocument.changesMade
            ? u"The file %1 was changed by another program. Reload it? The changes made here "
              u"since it was last saved will be lost."_s.arg(path)
            : u"The file %1 was changed by another program. Reload it?"_s.arg(path);
    if (mServices.messageBox(this, question, u"File changed"_s, PlatformServices::Buttons::YesNo,
                             mDocument.changesMade ? PlatformServices::Icon::Exclamation
                                                   : PlatformServices::Icon::Question) ==
        PlatformServices::Answer::Yes)
        openChosenFile(path);
}
