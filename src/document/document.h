#pragma once

#include "tilesettable.h"

#include <QString>

// The one tileset file the editor has open. Commands read and assign its values
// directly; the tilesets live in one table so that T and E are always the table's own.
class Document
{
public:
    // False until a file is loaded or New is confirmed, and again after Close.
    bool hasTilesets() const { return !Tilesets.isNull(); }
    int tilesetCount() const { return Tilesets.tilesetCount(); }
    int entryCount() const { return Tilesets.entryCount(); }

    QByteArrayView TilesetNames(int tileset) const { return Tilesets.TilesetNames(tileset); }
    QByteArrayView Entries(int entry, int tileset) const
    {
        return Tilesets.Entries(entry, tileset);
    }

    TilesetTable Tilesets;
    QString FilePath;
    QString FileTitle;
    QString FileFolder;
    QString LastOpenedPath;
    bool ChangesMade = false;
    bool LoadSucceeded = false;
};
