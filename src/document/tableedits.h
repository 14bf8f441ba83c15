#pragma once

#include "tableedit.h"

// The changes the editor's commands make, each built from the table as it is and handed
// to the document as one undo step. None of them changes the table itself.

// The text stored as typed text is: one NUL after a shorter text, then spaces.
TableEdit renameTilesetEdit(const TilesetTable &table, int tileset, QByteArrayView text);
TableEdit storeEntryEdit(const TilesetTable &table, int entry, int tileset, QByteArrayView text);

// A tileset named "New Tileset" before tileset at, every byte of it a space otherwise.
TableEdit insertTilesetEdit(const TilesetTable &table, int at);
TableEdit deleteTilesetEdit(const TilesetTable &table, int at);

// The entries of tileset from over those of tileset to; the name of to stays.
TableEdit copyEntriesEdit(const TilesetTable &table, int from, int to);
// Name and entries of another file's tileset over tileset to. The entry counts must agree.
TableEdit importTilesetEdit(const TilesetTable &table, const TilesetTable &source,
                            int sourceTileset, int to);
