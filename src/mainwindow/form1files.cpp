#include "form1.h"

#include "entrytree.h"
#include "fileprogresswindow.h"
#include "form5.h"
#include "messages.h"
#include "pathutils.h"
#include "tilesetfile.h"
#include "tilesetlist.h"

using namespace Qt::StringLiterals;

namespace {

const QString ChangesMadeTitle = u"Changes made"_s;

} // namespace

void Form1::showMessage(QStringView text, QStringView title, PlatformServices::Icon icon)
{
    mServices.messageBox(this, text.toString(), title.toString(), PlatformServices::Buttons::Ok,
                         icon);
}

bool Form1::askToSave(const QString &question)
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

PlatformServices::FileRequest Form1::fileRequest(PlatformServices::FileRequest::Mode mode,
                                                 const QString &title,
                                                 const QString &fileName) const
{
    PlatformServices::FileRequest request;
    request.mode = mode;
    request.title = title;
    request.fileName = fileName;
    request.filters = {u"Hmkset.dat (*.dat)"_s, u"All files (*.*)"_s};
    request.defaultSuffix = u"dat"_s;
    return request;
}

void Form1::fileOpen()
{
    if (mDocument.ChangesMade && !askToSave(u"Save changes before opening another file?"_s))
        return;
    const QString path =
        mServices.fileDialog(this, fileRequest(PlatformServices::FileRequest::Open,
                                               u"Open hmkset.dat"_s, u"hmkset.dat"_s));
    if (path.isEmpty())
        return;
    mDocument.FilePath = path;
    mDocument.FileTitle = FileTitleOf(path);
    mDocument.FileFolder = FolderOf(path);
    mDocument.LastOpenedPath = path;
    Opn();
}

void Form1::Opn()
{
    setTitle(mDocument.FilePath);
    NewList1->removeAllNodes();
    const bool hadDocument = mDocument.hasTilesets();
    LoadTilesetFile(mDocument.FilePath, -1);
    if (!mDocument.LoadSucceeded) {
        // The tileset list is gone with the failed load; rather than leave the previous
        // file's entries under a title naming another file, where Save would write them
        // over the file that failed, the window gives the previous document up.
        if (hadDocument)
            discardDocument();
        return;
    }
    NewList1->show();
    NewList2->show();
    NewList2->BuildEntryTree(mDocument.entryCount());
    RestoreTreeSelection();
    enterState(DocumentOpen);
    mDocument.ChangesMade = false;
}

void Form1::fileClose()
{
    if (mDocument.ChangesMade && !askToSave(u"Save changes before closing file?"_s))
        return;
    setTitle();
    discardDocument();
}

void Form1::discardDocument()
{
    NewList1->hide();
    NewList2->hide();
    mDocument.Tilesets = TilesetTable();
    NewList1->removeAllNodes();
    NewList2->removeAllNodes();
    enterState(NoDocument);
    mDocument.ChangesMade = false;
}

void Form1::fileSave()
{
    if (mDocument.FilePath == u"Untitled"_s) {
        fileSaveAs();
        return;
    }
    SaveTilesetFile(mDocument.FilePath);
    mDocument.ChangesMade = false;
}

void Form1::fileSaveAs()
{
    auto request = fileRequest(PlatformServices::FileRequest::Save, u"Save hmkset.dat"_s);
    request.folder = mDocument.FileFolder;
    const QString path = mServices.fileDialog(this, request);
    if (path.isEmpty())
        return;
    mDocument.FilePath = path;
    mDocument.FileTitle = FileTitleOf(path);
    // The folder as the path without its file name: it keeps its trailing separator.
    mDocument.FileFolder = path.left(path.size() - mDocument.FileTitle.size());
    mDocument.LastOpenedPath = path;
    setTitle(path);
    SaveTilesetFile(path);
    mDocument.ChangesMade = false;
}

void Form1::LoadTilesetFile(const QString &path, int target)
{
    FileProgressWindow window(this, u"Loading file "_s + FileTitleOf(path), mServices);
    LoadHooks hooks;
    hooks.progress = window.progress();
    hooks.chooseTileset = [this](const TilesetTable &pending) {
        return chooseImportedTileset(pending);
    };
    switch (loadTilesetFile(mDocument, path, target, hooks)) {
    case LoadError::None:
        if (target < 0)
            NewList1->BuildTilesetList(mDocument);
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

int Form1::chooseImportedTileset(const TilesetTable &pending)
{
    Form5 dialog(pending);
    mServices.execDialog(this, dialog);
    return dialog.ImportChoice();
}

void Form1::SaveTilesetFile(const QString &path)
{
    FileProgressWindow window(this, u"Writing file "_s + FileTitleOf(path), mServices);
    if (!writeTilesetFile(mDocument.Tilesets, path, window.progress()))
        showMessage(Messages::ErrorSaving, Messages::ErrorTitle, PlatformServices::Icon::Critical);
}
