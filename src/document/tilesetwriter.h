#pragma once

#include "fileprogress.h"
#include "tilesettable.h"

#include <QString>

class QIODevice;

// Writes the header, every record and the bytes after the last record exactly as held.
// A count above 255 fails before anything is written. Returns false on any failure.
bool writeTilesetDevice(const TilesetTable &tilesets, QIODevice &device,
                        const FileProgress &progress);

// Saves so that a failure leaves the old file whole: the bytes go to a new file beside it,
// which replaces it once complete and flushed. The old file's permissions are kept, and a
// symbolic link stays a link to the saved file. Where the folder takes no new file but the
// file is writable, the file is written in place. A path that is not a regular file (a
// folder, FIFO or device) is refused untouched, as is a count above 255. On failure,
// errorString receives the reason in the words of filereason.h: "no such folder",
// "permission denied", "no space left on device", else the system's.
bool writeTilesetFile(const TilesetTable &tilesets, const QString &path,
                      const FileProgress &progress, QString *errorString = nullptr);
