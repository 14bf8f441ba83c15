#pragma once

#include "tilesettable.h"

#include <QString>

// The one tileset file the editor has open. Commands read and assign its values
// directly; the tilesets live in one table so that T and E are always the table's own.
class Document
{
public:
    // False until a file is loaded or New is confirmed, and again after Close.
    bool hasTilesets() const { return !tilesets.isNull(); }
    int tilesetCount() const { return tilesets.tilesetCount(); }
    int entryCount() const { return tilesets.entryCount(); }

    QByteArrayView tilesetName(int tileset) const { return tilesets.tilesetName(tileset); }
    QByteArrayView entry(int entry, int tileset) const { return tilesets.entry(entry, tileset); }

    TilesetTable tilesets;
    QString filePath;
    QString fileTitle;
    QString fileFolder;
    QString lastOpenedPath;
    bool changesMade = false;
    bool loadSucceeded = false;
};
