#pragma once

#include "tilesettable.h"

#include <QByteArrayView>
#include <QString>

struct BuildResult
{
    TilesetTable tilesets; // null when refused
    QString error;         // one line naming the place and the fault; empty on success

    bool ok() const { return error.isEmpty(); }
};

// Reads hmkset's JSON, as dumpJson writes it or as a modder edits it, and checks all of
// it before anything is written: the counts, the shape, and every field against its width
// and the code page.
BuildResult buildTilesets(QByteArrayView json);
