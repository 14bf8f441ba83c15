#include "tilesetreader.h"

#include "pathutils.h"

#include <QFile>

namespace {

constexpr qsizetype PieceBytes = 256 * 1024;

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
    if (size < fileLength(tilesetCount, entryCount) || !device.seek(HeaderSize))
        return LoadError::LoadFailed;

    // The records are read straight into the table in pieces of whole tilesets, about
    // PieceBytes each, and each piece is tidied field by field, with its pumps, before the
    // next is read: on a slow disk the window goes on painting between pieces.
    const qsizetype recordSize = table.recordSize();
    const int piece = std::max(1, int(PieceBytes / recordSize));
    ProgressReporter reporter(progress, tilesetCount);
    char *field = table.recordData();
    for (int k = 0; k < tilesetCount; ++k) {
        if (k % piece == 0) {
            const qint64 bytes = std::min(piece, tilesetCount - k) * recordSize;
            if (device.read(field, bytes) != bytes)
                return LoadError::LoadFailed;
        }
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
