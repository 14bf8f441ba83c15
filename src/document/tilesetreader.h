#pragma once

#include "fileprogress.h"
#include "tilesettable.h"

#include <QString>

class QFile;
class QIODevice;

enum class LoadError
{
    None,
    IncorrectFilesize,   // shorter than the product of the two counts
    IncompatibleEntries, // import whose entries per tileset differ from the document's
    LoadFailed,          // unreadable, a count of 0, or shorter than its records
};

// In import mode requiredEntryCount is the document's E; -1 accepts any.
// On success pending holds the file's tilesets, in load mode with the bytes after the last
// record; on failure it is left untouched and reason, when given, receives why in the
// words of filereason.h: "no such file", "the file is 12 bytes short: its counts need
// 9,950 bytes, it has 9,938", "the file has no tilesets".
LoadError readTilesetFile(const QString &path, int requiredEntryCount, const FileProgress &progress,
                          TilesetTable &pending, QString *reason = nullptr);

// The same from an open device whose total length is size.
LoadError readTilesetDevice(QIODevice &device, qint64 size, int requiredEntryCount,
                            const FileProgress &progress, TilesetTable &pending,
                            QString *reason = nullptr);

// Opens the file named by file for reading when it is a regular file, or a link to one;
// a FIFO is never opened, since that waits for a writer. On failure reason receives why.
bool openTilesetFile(QFile &file, QString *reason);

// A file of size bytes where needed are called for (two for the counts alone).
QString shortFileReason(qint64 size, qint64 needed);
