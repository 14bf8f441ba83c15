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

    void redo(TilesetTable &table) const;
    void undo(TilesetTable &table) const;

private:
    // The bytes of every patch, before then after, live in one array: a replacement of
    // every entry of the largest file makes 65,025 of them.
    struct Patch
    {
        qsizetype offset;
        qsizetype data; // where its before bytes start in mData
        qsizetype beforeSize;
        qsizetype afterSize;
    };
    QByteArrayView before(const Patch &patch) const
    {
        return QByteArrayView(mData).sliced(patch.data, patch.beforeSize);
    }
    QByteArrayView after(const Patch &patch) const
    {
        return QByteArrayView(mData).sliced(patch.data + patch.beforeSize, patch.afterSize);
    }

    QList<Patch> mPatches;
    QByteArray mData;
};
