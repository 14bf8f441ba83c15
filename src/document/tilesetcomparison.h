#pragma once

#include "tableedit.h"

#include <QList>

// One field that differs between two tables, or a tileset only one of them has.
struct TilesetDifference
{
    int here = -1;  // tileset of the first table; -1: only in the second
    int there = -1; // tileset of the second table; -1: only in the first
    int entry = -1; // -1: the name, or the whole tileset when only one table has it
    // Where it stands in the first table: here, or for a tileset only the second has, the
    // tileset of the first it would go before (the first table's count at its end).
    int place = 0;

    bool isWholeTileset() const { return here < 0 || there < 0; }
    friend bool operator==(const TilesetDifference &, const TilesetDifference &) = default;
};

// Every difference, in the order of the tables: the tilesets lined up by alignTilesets,
// then those both have compared field by field, the name before the entries. Of tables
// with different entry counts the entries both have are compared.
QList<TilesetDifference> compareTilesets(const TilesetTable &here, const TilesetTable &there);

// The edit that takes the listed differences of table (compareTilesets(table, other), or
// some of them in the same order) from other: fields copied, tilesets only other has
// inserted where they stand in it, those only table has deleted. An inserted tileset gets
// the entries both tables have; any more entries of table's are left unassigned (NUL).
TableEdit takeDifferencesEdit(const TilesetTable &table, const TilesetTable &other,
                              const QList<TilesetDifference> &differences);
