#include "tilesettable.h"

#include <cstring>

namespace {

void copyField(char *target, QByteArrayView field, int width)
{
    const qsizetype n = std::min<qsizetype>(field.size(), width);
    if (n > 0)
        std::memcpy(target, field.data(), n);
    std::memset(target + n, '\0', width - n);
}

} // namespace

TilesetTable::TilesetTable(int tilesetCount, int entryCount)
    : mTilesetCount(tilesetCount)
    , mEntryCount(entryCount)
    , mBytes(tilesetCount * recordSize(), '\0')
{}

TilesetTable::TilesetTable(int tilesetCount, int entryCount, Qt::Initialization)
    : mTilesetCount(tilesetCount)
    , mEntryCount(entryCount)
    , mBytes(tilesetCount * recordSize(), Qt::Uninitialized)
{}

void TilesetTable::setTilesetName(int tileset, QByteArrayView field)
{
    copyField(nameData(tileset), field, NameWidth);
}

void TilesetTable::setEntry(int entry, int tileset, QByteArrayView field)
{
    copyField(entryData(entry, tileset), field, EntryWidth);
}

void TilesetTable::replaceBytes(qsizetype offset, qsizetype length, QByteArrayView bytes)
{
    Q_ASSERT((bytes.size() - length) % recordSize() == 0);
    mBytes.replace(offset, length, bytes.data(), bytes.size());
    mTilesetCount = int(mBytes.size() / recordSize());
}

TilesetTable newFileTable(int tilesetCount, int entryCount)
{
    TilesetTable table(tilesetCount, entryCount);
    table.setTilesetName(0, padFixedText("Generic", NameWidth));
    if (tilesetCount > 50)
        table.setTilesetName(50, padFixedText("New generic", NameWidth));
    return table;
}
