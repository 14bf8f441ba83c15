#pragma once

#include "filestamp.h"
#include "tilesettable.h"

#include <QDateTime>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <optional>

// What an unsaved document needs to come back after a crash.
struct RecoveryCopy
{
    TilesetTable table;
    QString filePath; // empty for an untitled document
    QDateTime lastChange;
    FileStamp fileStamp; // the file as the document last read or saved it
};

// One editor's recovery copy on disk. Writing and removing run on a thread of their own in
// the order asked, so an edit never waits for the disk; a step overtaken by a later one is
// skipped. The file is replaced whole (QSaveFile): a crash during a write leaves the last one.
//
// The file: a QDataStream (Qt 6.4, big-endian) of the magic 'HMKR', the format version (2),
// the file path, the last change (UTC) and the file's stamp (its time of last change, UTC,
// and its size), then the tileset file exactly as Save writes it. Version 1, without the
// stamp, is still read.
class RecoveryFile
{
public:
    // written is told, on the writing thread, how each write ended: empty when the copy was
    // written, else why not.
    using Written = std::function<void(const QString &reason)>;
    explicit RecoveryFile(const QString &path, Written written = {});
    // Finishes what was asked.
    ~RecoveryFile();

    const QString &path() const { return mPath; }
    // The table shares its bytes, so taking the copy costs nothing here; the worker drops
    // them once written, before the next edit would have to copy them.
    void write(RecoveryCopy copy);
    void remove();
    // Blocks until what was asked is done.
    void finish() { mWorker.waitForDone(); }

    static bool write(const QString &path, const RecoveryCopy &copy, QString *reason = nullptr);
    // Nothing when the file is missing, damaged, of another format, larger than any copy
    // can be (not read then), or no regular file (a FIFO is never opened).
    static std::optional<RecoveryCopy> read(const QString &path);

private:
    void queue(std::function<void()> step);

    QString mPath;
    Written mWritten;
    QThreadPool mWorker;
    std::atomic<int> mLastQueued = 0;
};
