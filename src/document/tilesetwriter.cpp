#include "tilesetwriter.h"

#include "filereason.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype BatchBytes = 256 * 1024;

bool countsFit(const TilesetTable &tilesets)
{
    return !tilesets.isNull() && tilesets.tilesetCount() <= 255 && tilesets.entryCount() <= 255;
}

// A short write records no error; writing the rest either completes or fails with a reason.
bool writeAll(QIODevice &device, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 written = device.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool failed(QString *errorString, const QString &reason)
{
    if (errorString)
        *errorString = reason;
    return false;
}

} // namespace

bool writeTilesetDevice(const TilesetTable &tilesets, QIODevice &device,
                        const FileProgress &progress)
{
    if (!countsFit(tilesets))
        return false;
    const char header[5] = {char(tilesets.tilesetCount()), char(tilesets.entryCount()), 0, 0, 0};
    if (!writeAll(device, header, sizeof header))
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
            if (!writeAll(device, tilesets.record(first).data(), (k + 1 - first) * recordSize))
                return false;
            first = k + 1;
        }
    }
    const QByteArray &trailing = tilesets.trailingBytes();
    return writeAll(device, trailing.constData(), trailing.size());
}

bool writeTilesetFile(const TilesetTable &tilesets, const QString &path,
                      const FileProgress &progress, QString *errorString)
{
    if (tilesets.isNull())
        return failed(errorString, u"no tilesets to write"_s);
    if (!countsFit(tilesets))
        return failed(errorString, u"more than 255 tilesets or entries per tileset"_s);
    // Asked before opening: opening a FIFO waits for a reader, and a new file renamed over
    // a FIFO or device would replace it.
    if (const QString reason = unsavablePathReason(path); !reason.isEmpty())
        return failed(errorString, reason);

    QSaveFile file(path);
    // A writable file in a folder that takes no new file is still saved, in place.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a full disk fails the write that hits it, with its reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(errorString, deviceErrorReason(file, true));
    if (!writeTilesetDevice(tilesets, file, progress)) {
        const QString reason = deviceErrorReason(file, true);
        // Committing a cancelled file drops the new file, and leaves a file written in place
        // as far as it got, which the destructor would try to remove.
        file.cancelWriting();
        file.commit();
        return failed(errorString, reason);
    }
    return file.commit() || failed(errorString, deviceErrorReason(file, true));
}
