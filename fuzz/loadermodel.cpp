#include "loadermodel.h"

#include <algorithm>

namespace {

// The field rule as fixedfield.h words it, with no word tricks.
QByteArray modelField(QByteArrayView raw)
{
    QByteArray field = raw.toByteArray();
    const qsizetype nul = field.indexOf('\0');
    if (nul < 0)
        return field;
    const bool keepsTerminator = uchar(field.front()) <= 32 || uchar(field.back()) <= 32;
    for (qsizetype i = keepsTerminator ? nul + 1 : nul; i < field.size(); ++i)
        field[i] = ' ';
    return field;
}

QByteArray modelEntry(QByteArrayView raw)
{
    return raw.front() == '\0' ? QByteArray(EntryWidth, '\0') : modelField(raw);
}

bool allAre(QByteArrayView bytes, char c)
{
    return std::all_of(bytes.begin(), bytes.end(), [c](char b) { return b == c; });
}

} // namespace

LoadError expectedLoadError(QByteArrayView file, int requiredEntryCount)
{
    if (file.size() < 2)
        return LoadError::LoadFailed;
    const int tilesetCount = uchar(file[0]);
    const int entryCount = uchar(file[1]);
    if (file.size() < qint64(tilesetCount) * entryCount)
        return LoadError::IncorrectFilesize;
    if (tilesetCount == 0 || entryCount == 0)
        return LoadError::LoadFailed;
    if (requiredEntryCount >= 0 && entryCount != requiredEntryCount)
        return LoadError::IncompatibleEntries;
    if (file.size() < fileLength(tilesetCount, entryCount))
        return LoadError::LoadFailed;
    return LoadError::None;
}

TilesetTable expectedTable(QByteArrayView file)
{
    const int tilesetCount = uchar(file[0]);
    const int entryCount = uchar(file[1]);
    TilesetTable table(tilesetCount, entryCount);
    qsizetype at = HeaderSize;
    for (int k = 0; k < tilesetCount; ++k) {
        table.setTilesetName(k, modelField(file.sliced(at, NameWidth)));
        at += NameWidth;
        for (int j = 0; j < entryCount; ++j) {
            table.setEntry(j, k, modelEntry(file.sliced(at, EntryWidth)));
            at += EntryWidth;
        }
    }
    return table;
}

bool hasNameShape(QByteArrayView field)
{
    const qsizetype nul = field.indexOf('\0');
    if (nul < 0)
        return true;
    return allAre(field.sliced(nul + 1), ' ');
}

bool hasEntryShape(QByteArrayView field)
{
    return allAre(field, '\0') || (field.front() != '\0' && hasNameShape(field));
}

bool allFieldsShaped(const TilesetTable &tilesets)
{
    for (int k = 0; k < tilesets.tilesetCount(); ++k) {
        if (!hasNameShape(tilesets.tilesetName(k)))
            return false;
        for (int j = 0; j < tilesets.entryCount(); ++j) {
            if (!hasEntryShape(tilesets.entry(j, k)))
                return false;
        }
    }
    return true;
}
