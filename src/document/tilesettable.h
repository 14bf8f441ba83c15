#pragma once

#include "fixedfield.h"

#include <QByteArray>
#include <QByteArrayView>

// hmkset.dat: the two counts and three reserved bytes, then one record per tileset.
constexpr qint64 HeaderSize = 5;
// The most tilesets, and entries per tileset, a file holds: each count is one header byte.
constexpr int MaximumCount = 255;
constexpr qint64 recordLength(int entryCount)
{
    return NameWidth + qint64(EntryWidth) * entryCount;
}
constexpr qint64 fileLength(int tilesetCount, int entryCount)
{
    return HeaderSize + tilesetCount * recordLength(entryCount);
}

// The names and entries of a tileset file, held exactly as the file lays them out:
// one record per tileset, its 33-byte name followed by its E entries of 32 bytes.
// Load and save therefore move whole records, and inserting or deleting a tileset is
// one replacement of bytes. Bytes a file holds after its last record, which other tools
// may put there, are kept apart and go out again after the last record.
class TilesetTable
{
public:
    TilesetTable() = default;
    // T tilesets of E entries; every byte NUL, as a field never written holds.
    TilesetTable(int tilesetCount, int entryCount);
    // The same size with bytes left as they come, for a reader about to fill them all.
    TilesetTable(int tilesetCount, int entryCount, Qt::Initialization);

    bool isNull() const { return mTilesetCount == 0; }
    int tilesetCount() const { return mTilesetCount; }
    int entryCount() const { return mEntryCount; }
    qsizetype recordSize() const { return recordLength(mEntryCount); }

    QByteArrayView tilesetName(int tileset) const { return {nameData(tileset), NameWidth}; }
    QByteArrayView entry(int entry, int tileset) const
    {
        return {entryData(entry, tileset), EntryWidth};
    }
    QByteArrayView record(int tileset) const { return {nameData(tileset), recordSize()}; }
    const QByteArray &bytes() const { return mBytes; }
    const QByteArray &trailingBytes() const { return mTrailingBytes; }
    void setTrailingBytes(const QByteArray &bytes) { mTrailingBytes = bytes; }

    // Whole fields, copied as they are; a view of another width is cut or NUL-filled.
    void setTilesetName(int tileset, QByteArrayView field);
    void setEntry(int entry, int tileset, QByteArrayView field);

    char *nameData(int tileset) { return mBytes.data() + tileset * recordSize(); }
    const char *nameData(int tileset) const { return mBytes.constData() + tileset * recordSize(); }
    char *entryData(int entry, int tileset) { return nameData(tileset) + entryOffset(entry); }
    const char *entryData(int entry, int tileset) const
    {
        return nameData(tileset) + entryOffset(entry);
    }
    char *recordData() { return mBytes.data(); }
    qsizetype nameOffset(int tileset) const { return tileset * recordSize(); }
    qsizetype entryOffset(int entry, int tileset) const
    {
        return nameOffset(tileset) + entryOffset(entry);
    }

    // Replaces length bytes at offset by bytes; a change of length must be whole records.
    void replaceBytes(qsizetype offset, qsizetype length, QByteArrayView bytes);

    // Where entry j starts within a record.
    static qsizetype entryOffset(int entry) { return NameWidth + qsizetype(EntryWidth) * entry; }

    friend bool operator==(const TilesetTable &, const TilesetTable &) = default;

private:
    int mTilesetCount = 0;
    int mEntryCount = 0;
    QByteArray mBytes;
    QByteArray mTrailingBytes;
};

// A new file's table: every byte NUL but the names of tileset 0, "Generic", and of tileset
// 50, "New generic", where there is one.
TilesetTable newFileTable(int tilesetCount, int entryCount);
