#include "mainwindow.h"

#include "entrytree.h"
#include "fileinfodialog.h"
#include "fixedfield.h"
#include "newfiledialog.h"
#include "selecttilesetdialog.h"
#include "textutils.h"
#include "tilesetlist.h"
#include "windows1252.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int MaximumTilesets = 255; // the file holds the count in one byte

} // namespace

void MainWindow::fileNew()
{
    // No question about unsaved changes: confirming the dialog replaces the document.
    NewFileDialog dialog;
    mServices.execDialog(this, dialog);
    if (!dialog.confirmed())
        return;
    mDocument.tilesets = TilesetTable(dialog.tilesetCount(), dialog.entryCount());
    clearHistory();
    clearFindResults();
    unwatchDocumentFile();

    mTilesetList->removeAllNodes();
    setTitle(u"Untitled"_s);
    mDocument.filePath = u"Untitled"_s;
    mDocument.fileTitle = u"untitled"_s;
    mDocument.fileFolder = u"n/a"_s;
    mDocument.changesMade = true;
    mDocument.tilesets.setTilesetName(0, padFixedText("Generic", NameWidth));
    if (mDocument.tilesetCount() > 50)
        mDocument.tilesets.setTilesetName(50, padFixedText("New generic", NameWidth));

    mTilesetList->build(mDocument);
    mTilesetList->show();
    mEntryTree->build(mDocument.entryCount());
    mEntryTree->show();
    enterState(DocumentOpen);
    restoreTreeSelection();
}

void MainWindow::rebuildTilesetList(int selectNode)
{
    mTilesetList->removeAllNodes();
    mTilesetList->build(mDocument);
    mTilesetList->selectNode(selectNode);
    refreshEntryTexts();
}

void MainWindow::insertTileset()
{
    const int s = mTilesetList->selectedTileset();
    if (s < 0)
        return;
    if (mDocument.tilesetCount() >= MaximumTilesets) {
        showMessage(u"A tileset file holds at most 255 tilesets; delete one before inserting "
                    u"another.",
                    u"Error while inserting tileset", PlatformServices::Icon::Exclamation);
        return;
    }
    mDocument.tilesets.insertTileset(s);
    mDocument.tilesets.setTilesetName(s, padFixedText("New Tileset", NameWidth));
    rebuildTilesetList(s + 1);
    mDocument.changesMade = true;
    TableEdit edit;
    edit.add(mDocument.tilesets.nameOffset(s), {}, mDocument.tilesets.record(s));
    recordEdit(u"insert tileset "_s + TilesetList::tilesetNumber(s), std::move(edit), s, -1);
}

void MainWindow::deleteTileset()
{
    const int s = mTilesetList->selectedTileset();
    if (s < 0)
        return;
    if (mTilesetList->nodeCount() < 2) {
        showMessage(u"There must be at least one tileset left!", u"Error while deleting tileset",
                    PlatformServices::Icon::Exclamation);
        return;
    }
    TableEdit edit;
    edit.add(mDocument.tilesets.nameOffset(s), mDocument.tilesets.record(s), {});
    mDocument.tilesets.removeTileset(s);
    // The tileset that followed the deleted one, or the new last one.
    const int deletedNode = s + 1;
    const int count = mDocument.tilesetCount();
    rebuildTilesetList(deletedNode > 1 ? std::min(deletedNode, count) : 1);
    mDocument.changesMade = true;
    recordEdit(u"delete tileset "_s + TilesetList::tilesetNumber(s), std::move(edit), s, -1);
}

void MainWindow::copyTileset()
{
    const int t = mTilesetList->selectedTileset();
    if (t < 0)
        return;
    SelectTilesetDialog dialog(mDocument.tilesets);
    mServices.execDialog(this, dialog);
    if (dialog.importChoice() < 0)
        return;
    // The entries only: the target keeps its own name.
    const QByteArray before = mDocument.tilesets.record(t).toByteArray();
    mDocument.tilesets.copyEntries(dialog.importChoice(), t);
    mDocument.changesMade = true;
    refreshEntryTexts();
    TableEdit edit;
    edit.add(mDocument.tilesets.nameOffset(t), before, mDocument.tilesets.record(t));
    updateFieldStatus();
    recordEdit(
        u"copy tileset %1 to tileset %2"_s.arg(TilesetList::tilesetNumber(dialog.importChoice()),
                                               TilesetList::tilesetNumber(t)),
        std::move(edit), t, -1);
}

void MainWindow::importTileset()
{
    const int t = mTilesetList->selectedTileset();
    if (t < 0)
        return;
    if (mServices.messageBox(this,
                             u"The currently selected tileset will be overwritten. Continue?"_s,
                             u"Changes made"_s, PlatformServices::Buttons::OkCancel,
                             PlatformServices::Icon::Question) != PlatformServices::Answer::Ok)
        return;
    const QString path =
        mServices.fileDialog(this, fileRequest(PlatformServices::FileRequest::Open,
                                               u"Import from other file"_s, u"hmkset.dat"_s));
    if (path.isEmpty())
        return;
    const QByteArray before = mDocument.tilesets.record(t).toByteArray();
    loadFile(path, t);
    // Also after a refusal or a cancelled choice: it then shows the unchanged name.
    mTilesetList->setTilesetLabel(t, fromWindows1252(cutAtNul(mDocument.tilesetName(t))));
    refreshEntryTexts();
    TableEdit edit;
    edit.add(mDocument.tilesets.nameOffset(t), before, mDocument.tilesets.record(t));
    updateFieldStatus();
    recordEdit(u"import into tileset "_s + TilesetList::tilesetNumber(t), std::move(edit), t, -1);
}

void MainWindow::fileInfo()
{
    FileInfoDialog dialog(mDocument);
    mServices.execDialog(this, dialog);
}
