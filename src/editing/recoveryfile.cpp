#include "recoveryfile.h"

#include "filereason.h"
#include "pathutils.h"
#include "tilesetwriter.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

#include <cstring>

namespace {

constexpr quint32 Magic = 0x484D4B52; // "HMKR"
constexpr quint16 FormatVersion = 2;
// The largest copy: the header with a path of Windows' longest (32767 characters, Linux
// allows 4096 bytes) and a date, then the largest tileset file.
constexpr qint64 MaxCopySize =
    4 + 2 + 4 + 2 * 32767 + 2 * 32 + 8 + fileLength(MaximumCount, MaximumCount);

void setUp(QDataStream &stream)
{
    stream.setVersion(QDataStream::Qt_6_4);
    stream.setByteOrder(QDataStream::BigEndian);
}

} // namespace

RecoveryFile::RecoveryFile(const QString &path, Written written)
    : mPath(path)
    , mWritten(std::move(written))
{
    mWorker.setMaxThreadCount(1); // one step at a time, in order
}

RecoveryFile::~RecoveryFile()
{
    finish();
}

void RecoveryFile::write(RecoveryCopy copy)
{
    queue([this, copy = std::move(copy)] {
        QString reason;
        write(mPath, copy, &reason);
        if (mWritten)
            mWritten(reason);
    });
}

void RecoveryFile::remove()
{
    queue([this] { QFile::remove(mPath); });
}

void RecoveryFile::queue(std::function<void()> step)
{
    const int number = ++mLastQueued;
    mWorker.start([this, number, step = std::move(step)] {
        if (number == mLastQueued)
            step();
    });
}

bool RecoveryFile::write(const QString &path, const RecoveryCopy &copy, QString *reason)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && [&] {
        QDataStream out(&file);
        setUp(out);
        out << Magic << FormatVersion << copy.filePath << copy.lastChange.toUTC()
            << copy.fileStamp.modified.toUTC() << copy.fileStamp.size;
        return out.status() == QDataStream::Ok && writeTilesetDevice(copy.table, file, {});
    }() && file.commit();
    if (!written && reason)
        *reason = deviceErrorReason(file, true);
    return written;
}

std::optional<RecoveryCopy> RecoveryFile::read(const QString &path)
{
    QFile file(path);
    if (!openRegularFile(file) || file.size() > MaxCopySize)
        return std::nullopt;
    QDataStream in(&file);
    setUp(in);
    quint32 magic = 0;
    quint16 version = 0;
    RecoveryCopy copy;
    in >> magic >> version;
    if (magic != Magic || version < 1 || version > FormatVersion)
        return std::nullopt;
    in >> copy.filePath >> copy.lastChange;
    if (version >= 2)
        in >> copy.fileStamp.modified >> copy.fileStamp.size;
    const QByteArray bytes = file.read(MaxCopySize); // even if it grew since
    if (in.status() != QDataStream::Ok || bytes.size() < HeaderSize)
        return std::nullopt;
    // The bytes as they were, untidied, unlike a load: the document comes back byte for byte.
    const int tilesetCount = uchar(bytes[0]);
    const int entryCount = uchar(bytes[1]);
    const qint64 length = fileLength(tilesetCount, entryCount);
    if (tilesetCount == 0 || entryCount == 0 || bytes.size() < length)
        return std::nullopt;
    copy.table = TilesetTable(tilesetCount, entryCount, Qt::Uninitialized);
    std::memcpy(copy.table.recordData(), bytes.constData() + HeaderSize, length - HeaderSize);
    copy.table.setTrailingBytes(bytes.sliced(length)); // the bytes after the last record
    return copy;
}
