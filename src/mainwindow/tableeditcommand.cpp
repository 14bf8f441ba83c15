#include "tableeditcommand.h"

TableEditCommand::TableEditCommand(const QString &text, TableEdit edit, int tileset, int entry,
                                   Apply apply)
    : QUndoCommand(text)
    , mEdit(std::move(edit))
    , mTileset(tileset)
    , mEntry(entry)
    , mApply(std::move(apply))
{}

void TableEditCommand::undo()
{
    mApply(mEdit, true, mTileset, mEntry);
}

void TableEditCommand::redo()
{
    // Pushing a command redoes it; the first time the command has done so itself.
    if (mMade) {
        mMade = false;
        return;
    }
    mApply(mEdit, false, mTileset, mEntry);
}
