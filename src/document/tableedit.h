#pragma once

#include "tilesettable.h"

#include <QList>

// One change of a table's bytes, kept so that it can be undone and redone exactly: byte
// ranges replaced, in order. Inserting or deleting a tileset replaces a range by one of
// another length; every other change keeps the length.
class TableEdit
{
public:
    // The bytes at offset were before and are now after. Only the bytes that differ are
    // kept, so an edit that changes nothing stays empty.
    void add(qsizetype offset, QByteArrayView before, QByteArrayView after);

    bool isEmpty() const { return mPatches.isEmpty(); }
    bool changesTilesetCount() const;
    qsizetype heldBytes() const;

    void redo(TilesetTable &table) const;
    void undo(TilesetTable &table) const;

private:
    struct Patch
    {
        qsizetype offset;
        QByteArray before;
        QByteArray after;
    };
    QList<Patch> mPatches;
};
