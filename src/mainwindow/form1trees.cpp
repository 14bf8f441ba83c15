#include "form1.h"

#include "entrycategories.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "fixedfield.h"
#include "textutils.h"
#include "tilesetlist.h"
#include "windows1252.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

void Form1::connectTrees()
{
    connect(NewList1, &TilesetList::clicked, this, &Form1::RefreshEntryTexts);
    connect(NewList1, &TilesetList::keyPressed, this, &Form1::RefreshEntryTexts);
    connect(NewList1, &TilesetList::keyReleased, this, &Form1::RefreshEntryTexts);
    connect(NewList1, &TilesetList::treeDoubleClicked, this, &Form1::renameTileset);
    connect(NewList1, &TilesetList::labelEdited, this, &Form1::storeTilesetName);
    connect(NewList2, &EntryTree::treeDoubleClicked, this, &Form1::editEntry);
    connect(NewList2, &EntryTree::labelEdited, this, &Form1::storeEntryText);
}

bool Form1::descriptionsOn() const
{
    const QAction *command = action(u"mnudisplaynames"_s);
    return command->isVisible() && command->isEnabled() && command->isChecked();
}

void Form1::RefreshEntryTexts()
{
    if (!mDocument.hasTilesets())
        return;
    NewList2->setDescriptionsOn(descriptionsOn());
    NewList2->RefreshEntryTexts(mDocument, NewList1->selectedTileset());
}

void Form1::RestoreTreeSelection()
{
    setEntryToolbarState();
    if (mDocument.entryCount() == CategorisedEntryCount)
        NewList2->selectNode(NewList2->SelectedEntryNode);
    else
        NewList2->selectNode(1);
    NewList1->selectNode(1);
    RefreshEntryTexts();
}

void Form1::renameTileset()
{
    const int t = NewList1->selectedTileset();
    if (t < 0)
        return;
    // The name as stored, up to its first NUL. A name stored without a terminator ("Generic"
    // from New) is padded with blanks: those are left out, so that confirming it unchanged
    // changes nothing; blanks typed before a terminator stay.
    QByteArrayView name = CutAtNul(mDocument.TilesetNames(t));
    if (name.size() == NameWidth) {
        while (!name.isEmpty() && uchar(name.back()) <= 32)
            name.chop(1);
    }
    NewList1->editSelectedLabel(FromWindows1252(name));
}

void Form1::storeTilesetName(int t, const QString &text)
{
    if (t < 0 || t >= mDocument.tilesetCount())
        return;
    const QByteArray bytes = ToWindows1252(text);
    if (bytes != TrimBlanks(mDocument.TilesetNames(t)))
        mDocument.ChangesMade = true;
    mDocument.Tilesets.setTilesetName(t, StoreFixedText(bytes, NameWidth));
    // The label shows all that was typed, also past the 33 characters the name keeps.
    NewList1->setTilesetLabel(t, text);
}

void Form1::editEntry()
{
    const int t = NewList1->selectedTileset();
    const int entry = NewList2->NodeEntry(NewList2->selectedNodeIndex());
    if (t < 0 || entry < 0)
        return; // a category node has nothing to edit
    NewList2->editSelectedLabel(FromWindows1252(TrimBlanks(mDocument.Entries(entry, t))));
}

void Form1::storeEntryText(int node, const QString &text)
{
    const int t = NewList1->selectedTileset();
    const int entry = NewList2->NodeEntry(node);
    if (t < 0 || entry < 0)
        return;
    const QByteArray bytes = ToWindows1252(text);
    if (bytes != TrimBlanks(mDocument.Entries(entry, t)))
        mDocument.ChangesMade = true;
    mDocument.Tilesets.setEntry(entry, t, StoreFixedText(bytes, EntryWidth));
    NewList2->setDescriptionsOn(descriptionsOn());
    NewList2->node(node)->setText(0, NewList2->entryLabel(entry, text));
}

void Form1::goToEntry()
{
    const std::optional<QString> answer =
        mServices.inputBox(this, u"Go to entry"_s, u"Enter number"_s, u"0"_s);
    if (!answer)
        return;
    bool isNumber = false;
    const double value = QLocale::c().toDouble(answer->trimmed(), &isNumber);
    if (!isNumber || !std::isfinite(value) || value < 0 || value > 150)
        return;
    // Halves go to the even neighbour: 2.5 is entry 2, 3.5 is entry 4.
    const int entry = int(std::nearbyint(value));
    if (entry > mDocument.entryCount() - 1)
        return;
    NewList2->selectNode(NewList2->EntryNode(entry));
}

void Form1::entryToolbarClicked(int index)
{
    if (index == 1)
        NewList2->expandOrCollapseAll();
    else if (index >= 3 && index <= EntryToolbar::ButtonCount)
        NewList2->openCategory(index - 3);
}

void Form1::toggleDescriptions()
{
    // The action has flipped its own check mark; the tree follows while it is shown.
    if (NewList2->isVisible() || mDocument.hasTilesets())
        RefreshEntryTexts();
}

void Form1::toggleOpenLast()
{
    // Only the check mark changes; the next start-up acts on it.
}
