#pragma once

#include "fileprogress.h"
#include "tilesettable.h"

#include <QString>

class QIODevice;

enum class LoadError
{
    None,
    IncorrectFilesize,   // shorter than the product of the two counts
    IncompatibleEntries, // import whose entries per tileset differ from the document's
    LoadFailed,          // unreadable, a count of 0, or shorter than its records
};

// In import mode requiredEntryCount is the document's E; -1 accepts any.
// On success pending holds the file's tilesets; on failure it is left untouched.
LoadError readTilesetFile(const QString &path, int requiredEntryCount, const FileProgress &progress,
                          TilesetTable &pending);

// The same from an open device whose total length is size.
LoadError readTilesetDevice(QIODevice &device, qint64 size, int requiredEntryCount,
                            const FileProgress &progress, TilesetTable &pending);
