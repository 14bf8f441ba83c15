#pragma once

#include "tilesetmerge.h"

#include <QStringList>

class TilesetTable;

// What differs from before to after, one line each: the header counts, then the tilesets
// lined up by content in turn, for each its name and its entries, numbered from 0 as the
// editor numbers them; a tileset whose number moved shows both. Of tables with different
// entry counts the entries both have are compared; a tileset only one table has is one
// line with its name; bytes after the last record that differ, one line at the end.
// Texts show as the editor shows them (up to the first NUL, Windows-1252), quoted and
// escaped so blanks and control bytes are visible; a field never written (every byte NUL)
// shows as (never written), unquoted.
QStringList tilesetDifferences(const TilesetTable &before, const TilesetTable &after);

// One line for each conflict of a merge, its texts shown as the differences show them.
QStringList conflictLines(const QList<MergeConflict> &conflicts);
