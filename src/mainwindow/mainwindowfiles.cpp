#include "mainwindow.h"

#include "documentfilewatcher.h"
#include "fixedfield.h"
#include "messages.h"
#include "newfiledialog.h"
#include "pathutils.h"
#include "progresssession.h"
#include "recentfilesmenu.h"
#include "tilesetdocument.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

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

void MainWindow::fileNew()
{
    // No question about unsaved changes: confirming the dialog replaces the document.
    NewFileDialog dialog;
    mServices.execDialog(this, dialog);
    if (!dialog.confirmed())
        return;
    TilesetTable table(dialog.tilesetCount(), dialog.entryCount());
    table.setTilesetName(0, padFixedText("Generic", NameWidth));
    if (table.tilesetCount() > 50)
        table.setTilesetName(50, padFixedText("New generic", NameWidth));
    mFileWatcher->unwatch();
    setTitle(u"Untitled"_s);
    mDocument->open(std::move(table), {});
}

void MainWindow::fileOpen()
{
    if (mDocument->isModified() && !maybeSave(u"Save changes before opening another file?"_s))
        return;
    const QString path = mServices.fileDialog(
        this, PlatformServices::tilesetFileRequest(PlatformServices::FileRequest::Open,
                                                   u"Open hmkset.dat"_s, u"hmkset.dat"_s));
    if (!path.isEmpty())
        openChosenFile(path);
}

void MainWindow::openFile(const QString &path)
{
    finishLabelEdits();
    if (mDocument->isModified() && !maybeSave(u"Save changes before opening another file?"_s))
        return;
    openChosenFile(path);
}

void MainWindow::openChosenFile(const QString &path)
{
    mLastOpenedPath = path;
    setTitle(path);
    std::optional<TilesetTable> table = readFile(path, -1);
    if (!table) {
        // Rather than leave the previous file's tilesets under a title naming another
        // file, where Save would write them over the file that failed, the window gives
        // the previous document up.
        mFileWatcher->unwatch();
        mDocument->close();
        return;
    }
    mDocument->open(std::move(*table), path);
    mRecentFiles->add(path);
    mFileWatcher->watch(path);
}

void MainWindow::fileClose()
{
    if (mDocument->isModified() && !maybeSave(u"Save changes before closing file?"_s))
        return;
    setTitle();
    mFileWatcher->unwatch();
    mDocument->close();
}

bool MainWindow::maybeSave(const QString &question)
{
    switch (mServices.messageBox(this, question, u"Changes made"_s,
                                 PlatformServices::Buttons::YesNoCancel,
                                 PlatformServices::Icon::Exclamation)) {
    case PlatformServices::Answer::Yes:
        return fileSave(); // a failed or cancelled save keeps the document open
    case PlatformServices::Answer::No:
        return true;
    default:
        return false;
    }
}

bool MainWindow::fileSave()
{
    if (mDocument->isUntitled())
        return fileSaveAs();
    return writeFile(mDocument->filePath());
}

bool MainWindow::fileSaveAs()
{
    auto request = PlatformServices::tilesetFileRequest(PlatformServices::FileRequest::Save,
                                                        u"Save hmkset.dat"_s);
    request.folder = mDocument->fileFolder();
    const QString path = mServices.fileDialog(this, request);
    if (path.isEmpty())
        return false;
    mDocument->setFilePath(path);
    mLastOpenedPath = path;
    setTitle(path);
    return writeFile(path);
}

std::optional<TilesetTable> MainWindow::readFile(const QString &path, int requiredEntryCount)
{
    ProgressSession window(this, u"Loading file "_s + fileTitleOf(path), mServices);
    TilesetTable table;
    switch (readTilesetFile(path, requiredEntryCount, window.progress(), table)) {
    case LoadError::None:
        return table;
    case LoadError::IncorrectFilesize:
        mServices.notify(this, Messages::IncorrectFilesize.toString(),
                         Messages::ErrorTitle.toString(), PlatformServices::Icon::Exclamation);
        break;
    case LoadError::IncompatibleEntries:
        mServices.notify(this, Messages::IncompatibleEntries.toString(),
                         Messages::IncompatibleEntriesTitle.toString(),
                         PlatformServices::Icon::Critical);
        break;
    case LoadError::LoadFailed:
        mServices.notify(this, Messages::ErrorLoading.toString(), Messages::ErrorTitle.toString(),
                         PlatformServices::Icon::Critical);
        break;
    }
    return std::nullopt;
}

bool MainWindow::writeFile(const QString &path)
{
    mFileWatcher->unwatch(); // the editor's own writing is no change by another program
    bool saved = false;
    {
        ProgressSession window(this, u"Writing file "_s + fileTitleOf(path), mServices);
        saved = writeTilesetFile(mDocument->table(), path, window.progress());
    }
    mFileWatcher->watch(path);
    if (!saved) {
        // The file may not hold the document now: it stays unsaved, its saved step unmoved.
        mDocument->markModified();
        mServices.notify(this, Messages::ErrorSaving.toString(), Messages::ErrorTitle.toString(),
                         PlatformServices::Icon::Critical);
        return false;
    }
    mDocument->markSaved();
    mRecentFiles->add(path);
    return true;
}

void MainWindow::fileChangedOnDisk(const QString &path)
{
    const bool modified = mDocument->isModified();
    const QString question =
        modified ? u"The file %1 was changed by another program. Reload it? The changes made "
                   u"here since it was last saved will be lost."_s.arg(path)
                 : u"The file %1 was changed by another program. Reload it?"_s.arg(path);
    if (mServices.messageBox(this, question, u"File changed"_s, PlatformServices::Buttons::YesNo,
                             modified ? PlatformServices::Icon::Exclamation
                                      : PlatformServices::Icon::Question) !=
        PlatformServices::Answer::Yes) {
        mDocument->markModified(); // the file no longer holds what the window does
        return;
    }
    // The new file is read first; the document is replaced only when that works.
    std::optional<TilesetTable> table = readFile(path, -1);
    if (!table) {
        mDocument->markModified();
        return;
    }
    mDocument->open(std::move(*table), path);
    mFileWatcher->watch(path);
}

void MainWindow::fileRemovedFromDisk(const QString &path)
{
    mDocument->markModified();
    mServices.notify(this,
                     u"The file %1 was removed by another program. Its tilesets stay open here; "
                     u"Save writes them again."_s.arg(path),
                     u"File removed"_s, PlatformServices::Icon::Exclamation);
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
