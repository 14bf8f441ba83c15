#pragma once

#include "tilesetreader.h"
#include "tilesettable.h"

#include <QByteArrayView>

// A plain, byte-at-a-time model of the loader, for comparing against the fast reader.

// The error the reader must give for a file of these bytes; requiredEntryCount as the
// reader takes it (-1 accepts any).
LoadError expectedLoadError(QByteArrayView file, int requiredEntryCount);

// The table a successful load of file must give.
TilesetTable expectedTable(QByteArrayView file);

// The shapes the loader leaves: text then (NUL or space) then spaces, or text filling the
// field; an entry may also be all NUL.
bool hasNameShape(QByteArrayView field);
bool hasEntryShape(QByteArrayView field);

// Every name and entry of the table has its shape.
bool allFieldsShaped(const TilesetTable &tilesets);
