#pragma once

#include "tilesettable.h"

#include <QList>

// A tileset of one table beside the tileset of another that stands for it, or beside none.
struct AlignedTilesets
{
    int here = -1;  // tileset of the first table; -1: only the second has it
    int there = -1; // tileset of the second table; -1: only the first has it

    friend bool operator==(const AlignedTilesets &, const AlignedTilesets &) = default;
};

// The tilesets of two tables lined up by content, in the order of both, so that a tileset
// inserted or deleted on one side stands alone instead of shifting all those after it.
// Equal records are paired first (a longest common subsequence), then, between them,
// equal names; the tilesets left between those are paired so that as many fields as
// possible agree, a pair counting for more than none. Records compare over the name and
// the entries both tables have.
QList<AlignedTilesets> alignTilesets(const TilesetTable &here, const TilesetTable &there);
