#include "tableeditcommand.h"

#include "tilesetdocument.h"

TableEditCommand::TableEditCommand(TilesetDocument *document, const QString &text, TableEdit edit,
                                   int tileset, int entry)
    : QUndoCommand(text)
    , mDocument(document)
    , mEdit(std::move(edit))
    , mTileset(tileset)
    , mEntry(entry)
{}

void TableEditCommand::undo()
{
    mDocument->applyEdit(mEdit, TilesetDocument::Undo, mTileset, mEntry);
}

void TableEditCommand::redo()
{
    mDocument->applyEdit(mEdit, TilesetDocument::Redo, mTileset, mEntry);
}
