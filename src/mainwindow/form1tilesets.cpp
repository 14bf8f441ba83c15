#include "form1.h"

#include "entrytree.h"
#include "fixedfield.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "textutils.h"
#include "tilesetlist.h"
#include "windows1252.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int MaximumTilesets = 255; // the file holds the count in one byte

} // namespace

void Form1::fileNew()
{
    // No question about unsaved changes: confirming the dialog replaces the document.
    Form4 dialog;
    mServices.execDialog(this, dialog);
    if (!dialog.confirmed())
        return;
    mDocument.Tilesets = TilesetTable(dialog.tilesetCount(), dialog.entryCount());

    NewList1->removeAllNodes();
    setTitle(u"Untitled"_s);
    mDocument.FilePath = u"Untitled"_s;
    mDocument.FileTitle = u"untitled"_s;
    mDocument.FileFolder = u"n/a"_s;
    mDocument.ChangesMade = true;
    mDocument.Tilesets.setTilesetName(0, PadFixedText("Generic", NameWidth));
    if (mDocument.tilesetCount() > 50)
        mDocument.Tilesets.setTilesetName(50, PadFixedText("New generic", NameWidth));

    NewList1->BuildTilesetList(mDocument);
    NewList1->show();
    NewList2->BuildEntryTree(mDocument.entryCount());
    NewList2->show();
    enterState(DocumentOpen);
    RestoreTreeSelection();
}

void Form1::rebuildTilesetList(int selectNode)
{
    NewList1->removeAllNodes();
    NewList1->BuildTilesetList(mDocument);
    NewList1->selectNode(selectNode);
    RefreshEntryTexts();
}

void Form1::insertTileset()
{
    const int s = NewList1->selectedTileset();
    if (s < 0)
        return;
    if (mDocument.tilesetCount() >= MaximumTilesets) {
        showMessage(u"A tileset file holds at most 255 tilesets; delete one before inserting "
                    u"another.",
                    u"Error while inserting tileset", PlatformServices::Icon::Exclamation);
        return;
    }
    mDocument.Tilesets.insertTileset(s);
    mDocument.Tilesets.setTilesetName(s, PadFixedText("New Tileset", NameWidth));
    rebuildTilesetList(s + 1);
    mDocument.ChangesMade = true;
}

void Form1::deleteTileset()
{
    const int s = NewList1->selectedTileset();
    if (s < 0)
        return;
    if (NewList1->nodeCount() < 2) {
        showMessage(u"There must be at least one tileset left!", u"Error while deleting tileset",
                    PlatformServices::Icon::Exclamation);
        return;
    }
    mDocument.Tilesets.removeTileset(s);
    // The tileset that followed the deleted one, or the new last one.
    const int deletedNode = s + 1;
    const int count = mDocument.tilesetCount();
    rebuildTilesetList(deletedNode > 1 ? std::min(deletedNode, count) : 1);
    mDocument.ChangesMade = true;
}

void Form1::copyTileset()
{
    const int t = NewList1->selectedTileset();
    if (t < 0)
        return;
    Form5 dialog(mDocument.Tilesets);
    mServices.execDialog(this, dialog);
    if (dialog.ImportChoice() < 0)
        return;
    // The entries only: the target keeps its own name.
    mDocument.Tilesets.copyEntries(dialog.ImportChoice(), t);
    mDocument.ChangesMade = true;
    RefreshEntryTexts();
}

void Form1::importTileset()
{
    const int t = NewList1->selectedTileset();
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
    LoadTilesetFile(path, t);
    // Also after a refusal or a cancelled choice: it then shows the unchanged name.
    NewList1->setTilesetLabel(t, FromWindows1252(CutAtNul(mDocument.TilesetNames(t))));
    RefreshEntryTexts();
}

void Form1::fileInfo()
{
    Form3 dialog(mDocument);
    mServices.execDialog(this, dialog);
}
