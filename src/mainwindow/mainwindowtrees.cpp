#include "mainwindow.h"

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

void MainWindow::connectTrees()
{
    connect(mTilesetList, &TilesetList::clicked, this, &MainWindow::refreshEntryTexts);
    connect(mTilesetList, &TilesetList::keyPressed, this, &MainWindow::refreshEntryTexts);
    connect(mTilesetList, &TilesetList::keyReleased, this, &MainWindow::refreshEntryTexts);
    connect(mTilesetList, &TilesetList::treeDoubleClicked, this, &MainWindow::renameTileset);
    connect(mTilesetList, &TilesetList::labelEdited, this, &MainWindow::storeTilesetName);
    connect(mEntryTree, &EntryTree::treeDoubleClicked, this, &MainWindow::editEntry);
    connect(mEntryTree, &EntryTree::labelEdited, this, &MainWindow::storeEntryText);
}

bool MainWindow::descriptionsOn() const
{
    const QAction *command = action(u"mnudisplaynames"_s);
    return command->isVisible() && command->isEnabled() && command->isChecked();
}

void MainWindow::refreshEntryTexts()
{
    if (!mDocument.hasTilesets())
        return;
    mEntryTree->setDescriptionsOn(descriptionsOn());
    mEntryTree->refreshEntryTexts(mDocument, mTilesetList->selectedTileset());
}

void MainWindow::restoreTreeSelection()
{
    setEntryToolbarState();
    if (mDocument.entryCount() == CategorisedEntryCount)
        mEntryTree->selectNode(mEntryTree->selectedEntryNode());
    else
        mEntryTree->selectNode(1);
    mTilesetList->selectNode(1);
    refreshEntryTexts();
}

void MainWindow::renameTileset()
{
    const int t = mTilesetList->selectedTileset();
    if (t < 0)
        return;
    // The name as stored, up to its first NUL: a name stored without a terminator is
    // offered whole, padding blanks included, so the editor holds exactly what the field does.
    mTilesetList->editSelectedLabel(fromWindows1252(cutAtNul(mDocument.tilesetName(t))));
}

void MainWindow::storeTilesetName(int t, const QString &text)
{
    if (t < 0 || t >= mDocument.tilesetCount())
        return;
    const QByteArray bytes = toWindows1252(text);
    if (bytes != trimBlanks(mDocument.tilesetName(t)))
        mDocument.changesMade = true;
    const QByteArray before = mDocument.tilesetName(t).toByteArray();
    mDocument.tilesets.setTilesetName(t, storeFixedText(bytes, NameWidth));
    mTilesetList->setTilesetLabel(t, text);
    TableEdit edit;
    edit.add(mDocument.tilesets.nameOffset(t), before, mDocument.tilesetName(t));
    recordEdit(u"rename tileset "_s + TilesetList::tilesetNumber(t), std::move(edit), t, -1);
    updateFieldStatus();
}

void MainWindow::editEntry()
{
    const int t = mTilesetList->selectedTileset();
    const int entry = mEntryTree->nodeEntry(mEntryTree->selectedNodeIndex());
    if (t < 0 || entry < 0)
        return; // a category node has nothing to edit
    mEntryTree->editSelectedLabel(fromWindows1252(trimBlanks(mDocument.entry(entry, t))));
}

void MainWindow::storeEntryText(int node, const QString &text)
{
    const int t = mTilesetList->selectedTileset();
    const int entry = mEntryTree->nodeEntry(node);
    if (t < 0 || entry < 0)
        return;
    const QByteArray bytes = toWindows1252(text);
    if (bytes != trimBlanks(mDocument.entry(entry, t)))
        mDocument.changesMade = true;
    const QByteArray before = mDocument.entry(entry, t).toByteArray();
    mDocument.tilesets.setEntry(entry, t, storeFixedText(bytes, EntryWidth));
    mEntryTree->setDescriptionsOn(descriptionsOn());
    mEntryTree->node(node)->setText(0, mEntryTree->entryLabel(entry, text));
    TableEdit edit;
    edit.add(mDocument.tilesets.entryOffset(entry, t), before, mDocument.entry(entry, t));
    recordEdit(
        u"edit entry %1 of tileset %2"_s.arg(zeroPad(entry, 3), TilesetList::tilesetNumber(t)),
        std::move(edit), t, entry);
    updateFieldStatus();
}

void MainWindow::goToEntry()
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
    mEntryTree->selectNode(mEntryTree->entryNode(entry));
}

void MainWindow::entryToolbarClicked(int index)
{
    if (index == 1)
        mEntryTree->expandOrCollapseAll();
    else if (index >= 3 && index <= EntryToolbar::ButtonCount)
        mEntryTree->openCategory(index - 3);
}

void MainWindow::toggleDescriptions()
{
    // The action has flipped its own check mark; the tree follows while it is shown.
    if (mEntryTree->isVisible() || mDocument.hasTilesets())
        refreshEntryTexts();
}

void MainWindow::toggleOpenLast()
{
    // Only the check mark changes; the next start-up acts on it.
}
