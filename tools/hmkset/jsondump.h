#pragma once

#include "tilesettable.h"

#include <QByteArray>

// The tilesets as hmkset's JSON, UTF-8 with a final newline. Keys keep a fixed order and
// each name and entry sits on its own line, so a file kept in version control shows one
// changed field as one changed line.
QByteArray dumpJson(const TilesetTable &tilesets);
