#include "mainwindow.h"

#include "entrytree.h"
#include "messages.h"
#include "pathutils.h"
#include "progresssession.h"
#include "selecttilesetdialog.h"
#include "tilesetfile.h"
#include "tilesetlist.h"

using namespace Qt::StringLiterals;

namespace {

const QString ChangesMadeTitle = u"Changes made"_s;

} // namespace

void MainWindow::showMessage(QStringView text, QStringView title, PlatformServices::Icon icon)
{
    mServices.messageBox(this, text.toString(), title.toString(), PlatformServices::Buttons::Ok,
                         icon);
}

bool MainWindow::askToSave(const QString &question)
{
    switch (mServices.messageBox(this, question, ChangesMadeTitle,
                                 PlatformServices::Buttons::YesNoCancel,
                                 PlatformServices::Icon::Exclamation)) {
    case PlatformServices::Answer::Yes:
        fileSave(); // whatever comes of it, the asking command goes on
        return true;
    case PlatformServices::Answer::No:
        return true;
    default:
        return false;
    }
}

PlatformServices::FileRequest MainWindow::fileRequest(PlatformServices::FileRequest::Mode mode,
                                                      const QString &title,
                                                      const QString &fileName) const
{
    PlatformServices::FileRequest request;
    request.mode = mode;
    request.title = title;
    request.fileName = fileName;
    // Qt takes the pattern literally: "*.*" would hide files without a dot, such as "hmkset".
    request.filters = {u"Hmkset.dat (*.dat)"_s, u"All files (*)"_s};
    request.defaultSuffix = u"dat"_s;
    return request;
}

void MainWindow::fileOpen()
{
    if (mDocument.changesMade && !askToSave(u"Save changes before opening another file?"_s))
        return;
    const QString path =
        mServices.fileDialog(this, fileRequest(PlatformServices::FileRequest::Open,
                                               u"Open hmkset.dat"_s, u"hmkset.dat"_s));
    if (!path.isEmpty())
        openChosenFile(path);
}

void MainWindow::openChosenFile(const QString &path)
{
    mDocument.filePath = path;
    mDocument.fileTitle = fileTitleOf(path);
    mDocument.fileFolder = folderOf(path);
    mDocument.lastOpenedPath = path;
    openDocumentFile();
}

void MainWindow::openDocumentFile()
{
    clearHistory();
    clearFindResults();
    setTitle(mDocument.filePath);
    mTilesetList->removeAllNodes();
    const bool hadDocument = mDocument.hasTilesets();
    loadFile(mDocument.filePath, -1);
    if (!mDocument.loadSucceeded) {
        // The tileset list is gone with the failed load; rather than leave the previous
        // file's entries under a title naming another file, where Save would write them
        // over the file that failed, the window gives the previous document up.
        if (hadDocument)
            discardDocument();
        return;
    }
    mTilesetList->show();
    mEntryTree->show();
    mEntryTree->build(mDocument.entryCount());
    restoreTreeSelection();
    enterState(DocumentOpen);
    mDocument.changesMade = false;
    addRecentFile(mDocument.filePath);
    watchDocumentFile();
}

void MainWindow::fileClose()
{
    if (mDocument.changesMade && !askToSave(u"Save changes before closing file?"_s))
        return;
    setTitle();
    discardDocument();
}

void MainWindow::discardDocument()
{
    mTilesetList->hide();
    mEntryTree->hide();
    mDocument.tilesets = TilesetTable();
    unwatchDocumentFile();
    clearHistory();
    clearFindResults();
    mTilesetList->removeAllNodes();
    mEntryTree->removeAllNodes();
    enterState(NoDocument);
    mDocument.changesMade = false;
}

void MainWindow::fileSave()
{
    if (mDocument.filePath == u"Untitled"_s) {
        fileSaveAs();
        return;
    }
    const bool saved = saveFile(mDocument.filePath);
    mDocument.changesMade = false;
    if (saved)
        markSaved(); // a failed save leaves the history's saved step where it was
    watchDocumentFile();
}

void MainWindow::fileSaveAs()
{
    auto request = fileRequest(PlatformServices::FileRequest::Save, u"Save hmkset.dat"_s);
    request.folder = mDocument.fileFolder;
    const QString path = mServices.fileDialog(this, request);
    if (path.isEmpty())
        return;
    mDocument.filePath = path;
    mDocument.fileTitle = fileTitleOf(path);
    // The folder as the path without its file name: it keeps its trailing separator.
    mDocument.fileFolder = path.left(path.size() - mDocument.fileTitle.size());
    mDocument.lastOpenedPath = path;
    setTitle(path);
    const bool saved = saveFile(path);
    mDocument.changesMade = false;
    if (saved)
        markSaved();
    watchDocumentFile();
}

void MainWindow::loadFile(const QString &path, int target)
{
    ProgressSession window(this, u"Loading file "_s + fileTitleOf(path), mServices);
    LoadHooks hooks;
    hooks.progress = window.progress();
    hooks.chooseTileset = [this](const TilesetTable &pending) {
        return chooseImportedTileset(pending);
    };
    switch (loadTilesetFile(mDocument, path, target, hooks)) {
    case LoadError::None:
        if (target < 0)
            mTilesetList->build(mDocument);
        break;
    case LoadError::IncorrectFilesize:
        showMessage(Messages::IncorrectFilesize, Messages::ErrorTitle,
                    PlatformServices::Icon::Exclamation);
        break;
    case LoadError::IncompatibleEntries:
        showMessage(Messages::IncompatibleEntries, Messages::IncompatibleEntriesTitle,
                    PlatformServices::Icon::Critical);
        break;
    case LoadError::LoadFailed:
        showMessage(Messages::ErrorLoading, Messages::ErrorTitle, PlatformServices::Icon::Critical);
        break;
    }
}

int MainWindow::chooseImportedTileset(const TilesetTable &pending)
{
    SelectTilesetDialog dialog(pending);
    mServices.execDialog(this, dialog);
    return dialog.importChoice();
}

bool MainWindow::saveFile(const QString &path)
{
    unwatchDocumentFile(); // the editor's own writing is no change by another program
    ProgressSession window(this, u"Writing file "_s + fileTitleOf(path), mServices);
    if (writeTilesetFile(mDocument.tilesets, path, window.progress())) {
        addRecentFile(path);
        return true;
    }
    showMessage(Messages::ErrorSaving, Messages::ErrorTitle, PlatformServices::Icon::Critical);
    return false;
}
