#include "mainwindow.h"

#include "entrytree.h"
#include "finddialog.h"
#include "tableeditcommand.h"
#include "tilesetlist.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>

using namespace Qt::StringLiterals;

void MainWindow::createHistory()
{
    mUndoStack = new QUndoStack(this);
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + u' ' + step;
    };
    connect(mUndoStack, &QUndoStack::undoTextChanged, this, [this, caption](const QString &step) {
        action(u"mnuundo"_s)->setText(caption(u"Undo"_s, step));
    });
    connect(mUndoStack, &QUndoStack::redoTextChanged, this, [this, caption](const QString &step) {
        action(u"mnuredo"_s)->setText(caption(u"Redo"_s, step));
    });
    connect(mUndoStack, &QUndoStack::indexChanged, this, &MainWindow::updateHistoryActions);
    // Results shown stay those of the document as it is.
    connect(mUndoStack, &QUndoStack::indexChanged, this, [this] {
        if (mFindDialog && mFindDialog->isVisible() && !mFindMatches.isEmpty())
            findAll();
    });
}

void MainWindow::updateHistoryActions()
{
    // Within the Edit menu's own state: nothing is undone while no document is open.
    const bool editing = mEditMenu->isEnabled();
    action(u"mnuundo"_s)->setEnabled(editing && mUndoStack->canUndo());
    action(u"mnuredo"_s)->setEnabled(editing && mUndoStack->canRedo());
}

void MainWindow::recordEdit(const QString &text, TableEdit edit, int tileset, int entry)
{
    if (edit.isEmpty())
        return; // a command that changes no byte is no step
    mUndoStack->push(new TableEditCommand(
        text, std::move(edit), tileset, entry,
        [this](const TableEdit &step, bool undo, int t, int e) { applyStep(step, undo, t, e); }));
}

void MainWindow::applyStep(const TableEdit &edit, bool undo, int tileset, int entry)
{
    if (undo)
        edit.undo(mDocument.tilesets);
    else
        edit.redo(mDocument.tilesets);
    const int shown = std::min(tileset, mDocument.tilesetCount() - 1);
    if (edit.changesTilesetCount()) {
        rebuildTilesetList(shown + 1);
    } else {
        mTilesetList->relabel(mDocument);
        mTilesetList->selectNode(shown + 1);
        refreshEntryTexts();
    }
    if (entry >= 0)
        mEntryTree->selectNode(mEntryTree->entryNode(entry));
    mStatusOnName = entry < 0;
    // Back where the document was opened, created or saved, there is nothing to save. The
    // stack moves its index only after this step returns: the index it goes to is compared.
    mDocument.changesMade = mUndoStack->cleanIndex() != mUndoStack->index() + (undo ? -1 : 1);
    updateFieldStatus();
}

void MainWindow::undo()
{
    mUndoStack->undo();
}

void MainWindow::redo()
{
    mUndoStack->redo();
}

void MainWindow::clearHistory()
{
    mUndoStack->clear();
}

void MainWindow::markSaved()
{
    mUndoStack->setClean();
}
