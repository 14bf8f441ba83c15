#include "tilesetwriter.h"

#include <QFile>

namespace {

constexpr qsizetype BatchBytes = 256 * 1024;

bool countsFit(const TilesetTable &tilesets)
{
    return !tilesets.isNull() && tilesets.tilesetCount() <= 255 && tilesets.entryCount() <= 255;
}

} // namespace

bool writeTilesetDevice(const TilesetTable &tilesets, QIODevice &device,
                        const FileProgress &progress)
{
    if (!countsFit(tilesets))
        return false;
    const char header[5] = {char(tilesets.tilesetCount()), char(tilesets.entryCount()), 0, 0, 0};
    if (device.write(header, sizeof header) != sizeof header)
        return false;

    // Records go out in batches of about BatchBytes: few system calls, and each tileset
    // still has its pump before its bytes are written.
    const qsizetype recordSize = tilesets.recordSize();
    const int batch = std::max<int>(1, int(BatchBytes / recordSize));
    ProgressReporter reporter(progress, tilesets.tilesetCount());
    int first = 0;
    for (int k = 0; k < tilesets.tilesetCount(); ++k) {
        reporter.beforeTileset();
        reporter.pump();
        if (k + 1 - first == batch || k + 1 == tilesets.tilesetCount()) {
            const qint64 bytes = (k + 1 - first) * recordSize;
            if (device.write(tilesets.record(first).data(), bytes) != bytes)
                return false;
            first = k + 1;
        }
    }
    return true;
}

bool writeTilesetFile(const TilesetTable &tilesets, const QString &path,
                      const FileProgress &progress)
{
    if (!countsFit(tilesets))
        return false; // checked before opening, so the old file is not even truncated
    QFile file(path);
    // Unbuffered, so that a full disk fails the write that hits it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    if (!writeTilesetDevice(tilesets, file, progress))
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}
