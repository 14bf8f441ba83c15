#pragma once

#include "fileprogress.h"
#include "tilesettable.h"

#include <QString>

class QIODevice;

// Writes the header and every record exactly as held. A count above 255 fails before
// anything is written. Returns false on any failure.
bool writeTilesetDevice(const TilesetTable &tilesets, QIODevice &device,
                        const FileProgress &progress);

// Writes the target directly, no temporary file, and cuts it to the written length.
bool writeTilesetFile(const TilesetTable &tilesets, const QString &path,
                      const FileProgress &progress);
