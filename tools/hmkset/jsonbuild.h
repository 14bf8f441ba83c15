#pragma once

#include "tilesettable.h"

#include <QByteArrayView>
#include <QString>

// The most JSON build reads. The largest file holds 255 x 255 entries of up to 32
// characters; written as six-byte \u escapes, with quotes, comma, line end and the dump's
// indentation, one takes 204 bytes and all of them 13.3 MB. The rest leaves room for other
// spacing and the names.
constexpr qint64 MaximumJsonBytes = 16 * 1024 * 1024;

struct BuildResult
{
    TilesetTable tilesets; // null when refused
    QString error;         // one line naming the place and the fault; empty on success

    bool ok() const { return error.isEmpty(); }
};

// Reads hmkset's JSON, as dumpJson writes it or as a modder edits it, and checks all of
// it before anything is written: the counts, the shape, and every field against its width
// and the code page. Stricter than Qt's parser: a raw control character inside a string
// and a key given twice in one object are refused with their place.
BuildResult buildTilesets(QByteArrayView json);
