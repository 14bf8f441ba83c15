#pragma once

#include "fixedfield.h"
#include "tableedits.h"
#include "tilesettable.h"

#include <QFile>

// Tileset files made in code: tests never use a file from the game.
namespace TestFiles {

// Header, then the table's records as they are.
inline QByteArray fileBytes(const TilesetTable &tilesets)
{
    return char(tilesets.tilesetCount()) + (char(tilesets.entryCount()) + QByteArray(3, '\0')) +
           tilesets.bytes() + tilesets.trailingBytes();
}

// Names "Set k" and entries "k:j", stored as typed text is (one NUL, then spaces).
inline TilesetTable numberedTable(int tilesetCount, int entryCount)
{
    TilesetTable table(tilesetCount, entryCount);
    for (int k = 0; k < tilesetCount; ++k) {
        table.setTilesetName(k, storeFixedText("Set " + QByteArray::number(k), NameWidth));
        const QByteArray prefix = QByteArray::number(k) + ':';
        for (int j = 0; j < entryCount; ++j)
            table.setEntry(j, k, storeFixedText(prefix + QByteArray::number(j), EntryWidth));
    }
    return table;
}

// A copy of table with one field stored as typed (entry -1: the name), with a tileset
// named name inserted at at, or with a tileset deleted.
inline TilesetTable with(TilesetTable table, int tileset, int entry, const QByteArray &text)
{
    if (entry < 0)
        table.setTilesetName(tileset, storeFixedText(text, NameWidth));
    else
        table.setEntry(entry, tileset, storeFixedText(text, EntryWidth));
    return table;
}
inline TilesetTable inserted(TilesetTable table, int at, const QByteArray &name)
{
    insertTilesetEdit(table, at).redo(table);
    return with(table, at, -1, name);
}
inline TilesetTable deleted(TilesetTable table, int at)
{
    deleteTilesetEdit(table, at).redo(table);
    return table;
}

// A file of three tilesets, and another with "Top" inserted at the top, entry 2 of "Set 1"
// and the name of "Set 2" changed: the pair the comparison tests compare.
inline const TilesetTable ours = numberedTable(3, 4);
inline const TilesetTable other = with(with(inserted(ours, 0, "Top"), 2, 2, "x"), 3, -1, "Moss");

inline QString write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestFiles
