#pragma once

#include "tilesettable.h"

#include <QString>

// Writes the tilesets to a temporary file beside path and renames it over path only once
// every byte is written, so a failure leaves the old file exactly as it was. (The editor's
// own Save writes in place; scripts run unattended and need the stronger promise.)
bool saveTilesetFileReplacing(const TilesetTable &tilesets, const QString &path);
