#pragma once

#include "tableedit.h"

#include <QUndoCommand>

#include <functional>

// One undo step: a change of the document's bytes already made by a command, and what it
// concerned, so that undoing and redoing it can show that tileset and entry again.
class TableEditCommand : public QUndoCommand
{
public:
    // Puts the table back one way or the other and shows the tileset and entry.
    using Apply = std::function<void(const TableEdit &edit, bool undo, int tileset, int entry)>;

    TableEditCommand(const QString &text, TableEdit edit, int tileset, int entry, Apply apply);

    void undo() override;
    void redo() override;

private:
    TableEdit mEdit;
    int mTileset;
    int mEntry; // -1: the step concerns the tileset as a whole
    Apply mApply;
    bool mMade = true; // the command made the change before it was pushed
};
