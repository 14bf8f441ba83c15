#include "tilesetreader.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype BatchBytes = 256 * 1024;

} // namespace

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
    TilesetTable table(tilesetCount, entryCount, Qt::Uninitialized);
    const qsizetype recordSize = table.recordSize();
    if (size < FileLength(tilesetCount, entryCount) || !device.seek(HeaderSize))
        return LoadError::LoadFailed;

    // Records are read a batch at a time and worked on while they are still in the cache.
    const int batch = std::max<int>(1, int(BatchBytes / recordSize));
    ProgressSteps steps(tilesetCount);
    char *field = table.recordData();
    for (int k = 0; k < tilesetCount; ++k) {
        if (k % batch == 0) {
            const qint64 bytes = std::min(batch, tilesetCount - k) * recordSize;
            if (device.read(field, bytes) != bytes)
                return LoadError::LoadFailed;
        }
        steps.beforeTileset(progress);
        ApplyFieldRule(field, NameWidth);
        field += NameWidth;
        for (int j = 0; j < entryCount; ++j) {
            progress.pump();
            ApplyEntryRule(field);
            field += EntryWidth;
        }
    }
    pending = std::move(table);
    return LoadError::None;
}

LoadError readTilesetFile(const QString &path, int requiredEntryCount, const FileProgress &progress,
                          TilesetTable &pending)
{
    // Only regular files: a folder cannot be read and a FIFO would block the window.
    const QFileInfo info(path);
    if (!info.isFile())
        return LoadError::LoadFailed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadError::LoadFailed;
    return readTilesetDevice(file, file.size(), requiredEntryCount, progress, pending);
}
