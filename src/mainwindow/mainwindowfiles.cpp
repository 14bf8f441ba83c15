#include "mainwindow.h"

#include "filestamp.h"
#include "loadmessage.h"
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

// Below a load's or a save's message: which file, and why.
QString failureDetails(const QString &path, const QString &reason)
{
    const QString file = QDir::toNativeSeparators(path);
    return reason.isEmpty() ? file : file + u'\n' + reason;
}

} // namespace

void MainWindow::fileNew()
{
    // Asked before the dialog, as Close asks: the new document replaces this one, and with it
    // its recovery copy.
    if (mDocument->isModified() && !maybeSave(u"Save changes before closing file?"_s))
        return;
    NewFileDialog dialog;
    mServices.execDialog(this, dialog);
    if (!dialog.confirmed())
        return;
    mDocument->open(newFileTable(dialog.tilesetCount(), dialog.entryCount()), {});
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
    FileStamp stamp;
    std::optional<TilesetTable> table = readFile(path, -1, {}, &stamp);
    if (!table) {
        // Rather than leave the previous file's tilesets under a title naming another
        // file, where Save would write them over the file that failed, the window gives
        // the previous document up. With none open, the empty trees stay, and the file
        // stays the last one, to be tried again at the next start.
        if (mDocument->isOpen())
            mDocument->close();
        mLastOpenedPath = path;
        setTitle(path);
        return;
    }
    mDocument->open(std::move(*table), path, stamp);
}

void MainWindow::fileClose()
{
    if (mDocument->isModified() && !maybeSave(u"Save changes before closing file?"_s))
        return;
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
    const std::optional<FileStamp> saved = writeFile(mDocument->filePath());
    if (saved)
        mDocument->markSaved(*saved);
    return saved.has_value();
}

bool MainWindow::fileSaveAs()
{
    auto request = PlatformServices::tilesetFileRequest(PlatformServices::FileRequest::Save,
                                                        u"Save hmkset.dat"_s);
    request.folder = mDocument->fileFolder();
    const QString path = mServices.fileDialog(this, request);
    const std::optional<FileStamp> saved = path.isEmpty() ? std::nullopt : writeFile(path);
    if (saved) // a failed save leaves the document the file it was
        mDocument->markSavedAs(path, *saved);
    return saved.has_value();
}

std::optional<TilesetTable>
MainWindow::readFile(const QString &path, int requiredEntryCount,
                     const std::function<void(const TilesetTable &)> &whileShown, FileStamp *stamp)
{
    ProgressSession window(this, u"Loading file "_s + fileTitleOf(path), mServices);
    if (stamp)
        *stamp = FileStamp::of(path);
    TilesetTable table;
    QString reason;
    const LoadError error =
        readTilesetFile(path, requiredEntryCount, window.progress(), table, &reason);
    if (error == LoadError::None) {
        if (whileShown)
            whileShown(table);
        return table;
    }
    const LoadErrorMessage message = loadErrorMessage(error);
    mServices.notify(this, message.text.toString(), message.title.toString(),
                     message.critical ? PlatformServices::Icon::Critical
                                      : PlatformServices::Icon::Exclamation,
                     failureDetails(path, reason));
    return std::nullopt;
}

std::optional<FileStamp> MainWindow::writeFile(const QString &path)
{
    bool saved = false;
    {
        ProgressSession window(this, u"Writing file "_s + fileTitleOf(path), mServices);
        QString reason;
        saved = writeTilesetFile(mDocument->table(), path, window.progress(), &reason);
        if (!saved)
            mServices.notify(this, Messages::ErrorSaving.toString(),
                             Messages::ErrorTitle.toString(), PlatformServices::Icon::Critical,
                             failureDetails(path, reason));
    }
    if (!saved) {
        // The file may not hold the document now: it stays unsaved, its saved step unmoved.
        // What the failed save left of the document's own file is no other program's change.
        if (path == mDocument->filePath())
            mDocument->markModified(FileStamp::of(path));
        else
            mDocument->markModified();
        return std::nullopt;
    }
    return FileStamp::of(path);
}

void MainWindow::fileChangedOnDisk(const QString &path)
{
    finishLabelEdits(); // a rename still being typed is a change the question must weigh
    const bool modified = mDocument->isModified();
    const QString question =
        modified ? u"The file %1 was changed by another program. Reload it? The changes made "
                   u"here since it was last saved will be lost."_s.arg(path)
                 : u"The file %1 was changed by another program. Reload it?"_s.arg(path);
    using Services = PlatformServices;
    const Services::Message message{
        .text = question,
        .title = u"File changed"_s,
        .buttons = Services::Buttons::YesNo,
        .icon = modified ? Services::Icon::Exclamation : Services::Icon::Question,
        .details = {},
        // Enter keeps the changes made here.
        .defaultAnswer = modified ? std::optional(Services::Answer::No) : std::nullopt};
    if (mServices.ask(this, message) != PlatformServices::Answer::Yes) {
        mDocument->markModified(); // the file no longer holds what the window does
        return;
    }
    // The new file is read first; the document is replaced only when that works.
    FileStamp stamp;
    std::optional<TilesetTable> table = readFile(path, -1, {}, &stamp);
    if (!table) {
        mDocument->markModified();
        return;
    }
    mDocument->open(std::move(*table), path, stamp);
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
