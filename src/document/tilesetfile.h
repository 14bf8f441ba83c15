#pragma once

#include "document.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <functional>

struct LoadHooks
{
    FileProgress progress;
    // Import mode: offered the file's tilesets, returns the chosen index or -1 (cancelled).
    std::function<int(const TilesetTable &pending)> chooseTileset;
};

// Load mode (target -1) replaces the document's tilesets; import mode (target t >= 0)
// copies the tileset the user chooses over tileset t, name and entries whole.
// Sets loadSucceeded; every failure leaves the document exactly as it was.
LoadError loadTilesetFile(Document &document, const QString &path, int target,
                          const LoadHooks &hooks);

// The same from an open device whose total length is size.
LoadError loadTilesetDevice(Document &document, QIODevice &device, qint64 size, int target,
                            const LoadHooks &hooks);
