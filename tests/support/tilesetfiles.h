#pragma once

#include "tilesettable.h"

#include <QByteArray>
#include <QString>

// Tileset files made in code: tests never use a file from the game.
namespace TestFiles {

// The bytes of a file: header, then the table's records as they are.
QByteArray fileBytes(const TilesetTable &tilesets);

// A table whose names and entries are "Set k" and "k:j" stored with storeFixedText.
TilesetTable numberedTable(int tilesetCount, int entryCount);

// Random bytes in every field, seeded for reproducibility.
QByteArray randomFile(int tilesetCount, int entryCount, quint32 seed);

// Writes bytes to path; returns the path.
QString write(const QString &path, const QByteArray &bytes);

// The bytes of a file; empty when it cannot be read.
QByteArray read(const QString &path);

} // namespace TestFiles
