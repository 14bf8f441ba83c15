#include "tilesetreader.h"

#include "pathutils.h"

#include <QFile>

LoadError readTilesetDevice(QIODevice &device, qint64 size, int requiredEntryCount,
                            const FileProgress &progress, TilesetTable &pending)
{
    char counts[2];
    if (device.read(counts, 2) != 2)
        return LoadError::LoadFailed;
    const int tilesetCount = uchar(counts[0]);
    const int entryCount = uchar(counts[1]);

    if (size < qint64(tilesetCount) * entryCount)
        return LoadError::IncorrectFilesize;
    if (tilesetCount == 0 || entryCount == 0)
        return LoadError::LoadFailed;
    if (requiredEntryCount >= 0 && entryCount != requiredEntryCount)
        return LoadError::IncompatibleEntries;

    // The reserved bytes are skipped unread. A file shorter than the records its header
    // announces is damaged; it is refused rather than completed with invented bytes.
    // All records are read in one piece, straight into the table, then tidied field by field.
    TilesetTable table(tilesetCount, entryCount, Qt::Uninitialized);
    const qint64 recordBytes = table.bytes().size();
    if (size < fileLength(tilesetCount, entryCount) || !device.seek(HeaderSize) ||
        device.read(table.recordData(), recordBytes) != recordBytes)
        return LoadError::LoadFailed;

    ProgressReporter reporter(progress, tilesetCount);
    char *field = table.recordData();
    for (int k = 0; k < tilesetCount; ++k) {
        reporter.beforeTileset();
        applyFieldRule(field, NameWidth);
        field += NameWidth;
        for (int j = 0; j < entryCount;) {
            const int run = reporter.pumpRun(entryCount - j);
            applyEntryRules(field, run);
            field += qsizetype(EntryWidth) * run;
            j += run;
        }
    }
    pending = std::move(table);
    return LoadError::None;
}

LoadError readTilesetFile(const QString &path, int requiredEntryCount, const FileProgress &progress,
                          TilesetTable &pending)
{
    QFile file(path);
    if (!openRegularFile(file))
        return LoadError::LoadFailed;
    return readTilesetDevice(file, file.size(), requiredEntryCount, progress, pending);
}
