#pragma once

#include "fileprogress.h"
#include "tilesettable.h"

#include <QString>

class QIODevice;

// Writes the header, every record and the bytes after the last record exactly as held.
// A count above 255 fails before anything is written. Returns false on any failure.
bool writeTilesetDevice(const TilesetTable &tilesets, QIODevice &device,
                        const FileProgress &progress);

// Saves so that a failure leaves the old file byte for byte: the bytes go to a new file
// beside it, which takes the old file's owner, group and mode bits (setuid, setgid and
// sticky included) and replaces it once complete and flushed. A symbolic link stays a link
// to the saved file. Where a new file could not be the same file, the file is written in
// place instead: it has other names (hard links); its owner, group or a mode bit cannot be
// given to a new file (another user's file, unless root saves it); or, the file itself
// being writable, its folder takes no new file, keeps every name made in it (append-only,
// on Linux) or refuses the replacement (sticky). In place, which needs the file readable
// as well, the bytes beyond the old length are written first and the file is cut to the
// new length last, so a full disk still leaves the old file as it was; a failure between
// (an input/output error, the process killed) leaves it partly written. Without POSIX
// owners and modes, QSaveFile keeps the permissions, and hard links and owners are not
// asked. A path that is not a regular file (a folder, FIFO or device, a symbolic link that
// loops) is refused untouched, as is a count above 255. On failure, errorString receives
// the reason in the words of filereason.h: "no such folder", "permission denied", "no space
// left on device", else the system's.
bool writeTilesetFile(const TilesetTable &tilesets, const QString &path,
                      const FileProgress &progress, QString *errorString = nullptr);
