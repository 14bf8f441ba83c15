#include "tilesetreader.h"

#include "filereason.h"

#include <QFile>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype PieceBytes = 256 * 1024;
constexpr qint64 CountBytes = 2;

QString byteCount(qint64 count)
{
    return count == 1 ? u"1 byte"_s : QLocale(QLocale::English).toString(count) + u" bytes"_s;
}

LoadError failed(QString *reason, LoadError error, const QString &why)
{
    if (reason)
        *reason = why;
    return error;
}

QString readFailure(const QIODevice &device, qint64 size, qint64 needed)
{
    return size < needed ? shortFileReason(size, needed) : deviceErrorReason(device, false);
}

} // namespace

QString shortFileReason(qint64 size, qint64 needed)
{
    if (size == 0)
        return u"the file is empty"_s;
    if (needed <= CountBytes)
        return u"the file is %1 short of its two counts"_s.arg(byteCount(needed - size));
    return u"the file is %1 short: its counts need %2, it has %3"_s.arg(
        byteCount(needed - size), byteCount(needed), QLocale(QLocale::English).toString(size));
}

LoadError readTilesetDevice(QIODevice &device, qint64 size, int requiredEntryCount,
                            const FileProgress &progress, TilesetTable &pending, QString *reason)
{
    char counts[CountBytes];
    if (device.read(counts, CountBytes) != CountBytes)
        return failed(reason, LoadError::LoadFailed, readFailure(device, size, CountBytes));
    const int tilesetCount = uchar(counts[0]);
    const int entryCount = uchar(counts[1]);
    const qint64 length = fileLength(tilesetCount, entryCount);

    if (size < qint64(tilesetCount) * entryCount)
        return failed(reason, LoadError::IncorrectFilesize, shortFileReason(size, length));
    if (tilesetCount == 0)
        return failed(reason, LoadError::LoadFailed, u"the file has no tilesets"_s);
    if (entryCount == 0)
        return failed(reason, LoadError::LoadFailed, u"the file has no entries per tileset"_s);
    if (requiredEntryCount >= 0 && entryCount != requiredEntryCount)
        return failed(reason, LoadError::IncompatibleEntries,
                      u"the document has %1 entries per tileset; this file has %2"_s.arg(
                          QString::number(requiredEntryCount), QString::number(entryCount)));

    // The reserved bytes are skipped unread. A file shorter than the records its header
    // announces is damaged; it is refused rather than completed with invented bytes.
    TilesetTable table(tilesetCount, entryCount, Qt::Uninitialized);
    if (size < length || !device.seek(HeaderSize))
        return failed(reason, LoadError::LoadFailed, readFailure(device, size, length));

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
                return failed(reason, LoadError::LoadFailed, deviceErrorReason(device, false));
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
    // Kept for the file's own saves; an import takes one record and never needs them.
    if (requiredEntryCount < 0 && size > length) {
        const QByteArray trailing = device.read(size - length);
        if (trailing.size() != size - length)
            return failed(reason, LoadError::LoadFailed, deviceErrorReason(device, false));
        table.setTrailingBytes(trailing);
    }
    pending = std::move(table);
    return LoadError::None;
}

bool openTilesetFile(QFile &file, QString *reason)
{
    QString why = unreadablePathReason(file.fileName());
    if (why.isEmpty() && file.open(QIODevice::ReadOnly))
        return true;
    if (reason)
        *reason = why.isEmpty() ? deviceErrorReason(file, false) : why;
    return false;
}

LoadError readTilesetFile(const QString &path, int requiredEntryCount, const FileProgress &progress,
                          TilesetTable &pending, QString *reason)
{
    QFile file(path);
    if (!openTilesetFile(file, reason))
        return LoadError::LoadFailed;
    return readTilesetDevice(file, file.size(), requiredEntryCount, progress, pending, reason);
}
