#pragma once

#include "fuzzcheck.h"
#include "tilesetfiles.h"
#include "tilesetreader.h"
#include "tilesetwriter.h"

#include <QBuffer>

// A byte-at-a-time model of the loader, to compare the fast reader with.
inline LoadError expectedLoadError(QByteArrayView file, int requiredEntryCount)
{
    if (file.size() < 2)
        return LoadError::LoadFailed;
    const int tilesets = uchar(file[0]);
    const int entries = uchar(file[1]);
    if (file.size() < qint64(tilesets) * entries)
        return LoadError::IncorrectFilesize;
    if (tilesets == 0 || entries == 0)
        return LoadError::LoadFailed;
    if (requiredEntryCount >= 0 && entries != requiredEntryCount)
        return LoadError::IncompatibleEntries;
    return file.size() < fileLength(tilesets, entries) ? LoadError::LoadFailed : LoadError::None;
}

// Text before the first NUL; after it spaces, and the NUL kept when the raw field begins or
// ends with a blank. An entry whose first byte is NUL is all NUL. Bytes after the last
// record are kept when opened (required < 0), dropped when imported.
inline TilesetTable expectedTable(QByteArrayView file, int required)
{
    TilesetTable table{uchar(file[0]), uchar(file[1])};
    QByteArray bytes = file.sliced(HeaderSize, table.bytes().size()).toByteArray();
    for (qsizetype at = 0, width = NameWidth; at < bytes.size(); at += width) {
        width = at % table.recordSize() == 0 ? NameWidth : EntryWidth;
        const qsizetype nul = bytes.indexOf('\0', at);
        if (width == EntryWidth && nul == at) {
            bytes.replace(at, width, QByteArray(width, '\0'));
        } else if (nul >= 0 && nul < at + width) {
            const bool keep = uchar(bytes[at]) <= 32 || uchar(bytes[at + width - 1]) <= 32;
            for (qsizetype i = keep ? nul + 1 : nul; i < at + width; ++i)
                bytes[i] = ' ';
        }
    }
    std::copy(bytes.cbegin(), bytes.cend(), table.recordData());
    table.setTrailingBytes(required < 0 ? file.toByteArray().mid(HeaderSize + bytes.size()) : "");
    return table;
}

// Reads file over table as the loader does and checks the outcome against the model: the
// same error; a refused file leaves what the reader was given, a read one holds what the
// model reads. True when the file was read.
inline bool readAsModelled(const QByteArray &file, int requiredEntryCount,
                           const FileProgress &progress, TilesetTable &table)
{
    const TilesetTable prior = table;
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    const LoadError error =
        readTilesetDevice(buffer, file.size(), requiredEntryCount, progress, table);
    CHECK(error == expectedLoadError(file, requiredEntryCount));
    CHECK(table == (error == LoadError::None ? expectedTable(file, requiredEntryCount) : prior));
    return error == LoadError::None;
}
