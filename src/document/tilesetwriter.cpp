#include "tilesetwriter.h"

#include "fileidentity.h"
#include "filereason.h"

#include <QFile>
#include <QSaveFile>

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype BatchBytes = 256 * 1024;

bool countsFit(const TilesetTable &tilesets)
{
    return !tilesets.isNull() && tilesets.tilesetCount() <= MaximumCount &&
           tilesets.entryCount() <= MaximumCount;
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

std::array<char, HeaderSize> header(const TilesetTable &tilesets)
{
    return {char(tilesets.tilesetCount()), char(tilesets.entryCount()), 0, 0, 0};
}

// The file's bytes from offset to its end.
// The file's bytes from offset on, the bytes after the last record included.
QByteArray fileBytesFrom(const TilesetTable &tilesets, qint64 offset)
{
    const QByteArray body = tilesets.bytes() + tilesets.trailingBytes();
    if (offset >= HeaderSize)
        return body.mid(offset - HeaderSize);
    return QByteArray(header(tilesets).data() + offset, HeaderSize - offset) + body;
}

enum class Outcome
{
    Saved,
    Failed,
    WriteInPlace
};

// Through a new file beside the old one, which takes its identity, or nothing done where
// the new file could not take it or replace the old one.
Outcome saveThroughNewFile(const TilesetTable &tilesets, const QString &path,
                           const FileIdentity &identity, const FileProgress &progress,
                           QString *errorString)
{
    // Left uncommitted, the new file goes with the destructor.
    QSaveFile file(path);
    const auto fail = [&file, errorString] {
        failed(errorString, deviceErrorReason(file, true));
        return Outcome::Failed;
    };
    // Unbuffered, so that a full disk fails the write that hits it, with its reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A folder that takes no new file may still hold a writable file.
        return QFile::exists(path) ? Outcome::WriteInPlace : fail();
    }
    if (!identity.handOwner(int(file.handle())))
        return Outcome::WriteInPlace;
    if (!writeTilesetDevice(tilesets, file, progress))
        return fail();
    if (!identity.handMode(int(file.handle())))
        return Outcome::WriteInPlace;
    if (file.commit())
        return Outcome::Saved;
    // A sticky folder refuses to replace another's file that may still be written.
    const bool refused = file.error() == QFileDevice::RenameError &&
                         deviceErrorReason(file, true) == u"permission denied";
    return refused ? Outcome::WriteInPlace : fail();
}

// The bytes beyond the old end go first, so that a full disk fails before an old byte
// changes, and the file is cut back to its old length.
bool writeInPlace(const TilesetTable &tilesets, const QString &path, const FileProgress &progress,
                  QString *errorString)
{
    QFile file(path);
    // Read and write: write only would cut the file to nothing before the first byte.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failed(errorString, deviceErrorReason(file, true));
    const qint64 oldLength = file.size();
    const qint64 newLength = fileLength(tilesets.tilesetCount(), tilesets.entryCount()) +
                             tilesets.trailingBytes().size();
    if (newLength > oldLength) {
        const QByteArray tail = fileBytesFrom(tilesets, oldLength);
        if (!file.seek(oldLength) || !writeAll(file, tail.constData(), tail.size())) {
            const QString reason = deviceErrorReason(file, true);
            file.resize(oldLength);
            return failed(errorString, reason);
        }
    }
    if (!file.seek(0) || !writeTilesetDevice(tilesets, file, progress) ||
        (newLength < oldLength && !file.resize(newLength)))
        return failed(errorString, deviceErrorReason(file, true));
    return true;
}

} // namespace

bool writeTilesetDevice(const TilesetTable &tilesets, QIODevice &device,
                        const FileProgress &progress)
{
    if (!countsFit(tilesets))
        return false;
    if (!writeAll(device, header(tilesets).data(), HeaderSize))
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
        return failed(errorString,
                      u"more than %1 tilesets or entries per tileset"_s.arg(MaximumCount));
    // Asked before opening: opening a FIFO waits for a reader, and a new file renamed over
    // a FIFO or device would replace it.
    if (const QString reason = unsavablePathReason(path); !reason.isEmpty())
        return failed(errorString, reason);

    const FileIdentity identity(path);
    const Outcome outcome = identity.isReplaceable() ? saveThroughNewFile(tilesets, path, identity,
                                                                          progress, errorString)
                                                     : Outcome::WriteInPlace;
    if (outcome != Outcome::WriteInPlace)
        return outcome == Outcome::Saved;
    return writeInPlace(tilesets, path, progress, errorString);
}
