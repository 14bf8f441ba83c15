#pragma once

#include "tableedit.h"

#include <QUndoCommand>

class TilesetDocument;

// One undo step: a change of the document's bytes, and the tileset and entry it concerns,
// so that whoever shows the document can show them again when it is undone or redone.
class TableEditCommand : public QUndoCommand
{
public:
    TableEditCommand(TilesetDocument *document, const QString &text, TableEdit edit, int tileset,
                     int entry);

    void undo() override;
    void redo() override;

private:
    TilesetDocument *mDocument;
    TableEdit mEdit;
    int mTileset;
    int mEntry; // -1: the step concerns the tileset as a whole
};
