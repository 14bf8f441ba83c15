#pragma once

#include <QStringList>

class TilesetTable;

// What differs from before to after, one line each: the header counts, then for each
// tileset in turn its name and its entries, numbered from 0 as the editor numbers them.
// Of tables with different entry counts the entries both have are compared; tilesets
// only one table has are listed by name. Texts show as the editor shows them (up to the
// first NUL, Windows-1252), quoted and escaped so blanks and control bytes are visible.
QStringList tilesetDifferences(const TilesetTable &before, const TilesetTable &after);
