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

void TilesetTable::insertTileset(int s)
{
    mBytes.insert(s * recordSize(), recordSize(), ' ');
    ++mTilesetCount;
}

void TilesetTable::removeTileset(int s)
{
    mBytes.remove(s * recordSize(), recordSize());
    --mTilesetCount;
}

void TilesetTable::replaceBytes(qsizetype offset, qsizetype length, QByteArrayView bytes)
{
    Q_ASSERT((bytes.size() - length) % recordSize() == 0);
    mBytes.replace(offset, length, bytes.data(), bytes.size());
    mTilesetCount = int(mBytes.size() / recordSize());
}

void TilesetTable::copyEntries(int fromTileset, int toTileset)
{
    if (fromTileset == toTileset)
        return;
    std::memcpy(entryData(0, toTileset), entryData(0, fromTileset), recordSize() - NameWidth);
}

void TilesetTable::copyTileset(const TilesetTable &source, int sourceTileset, int toTileset)
{
    Q_ASSERT(source.entryCount() == mEntryCount);
    std::memcpy(nameData(toTileset), source.nameData(sourceTileset), recordSize());
}
