#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class PlatformServices;
class QLockFile;
class QWidget;
class RecoveryFile;
class TilesetDocument;

// Keeps a copy of the document while it holds unsaved changes, so that a crash or a power
// cut costs at most the last seconds of typing, and offers a copy left behind at the next
// start. Each editor has its own copy and, beside it, a lock it holds while it runs: a copy
// whose lock nobody holds was left by an editor that stopped.
class RecoveryController : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // folder empty: no copy is kept and none offered.
    RecoveryController(TilesetDocument *document, const QString &folder, QObject *parent);
    ~RecoveryController() override;

    // Asks about each copy left behind, the newest first. Yes opens it into the document,
    // unsaved and with its path, and ends the asking (the others wait for the next start);
    // No deletes it. True when a copy was opened.
    bool offerLeftCopies(QWidget *window, PlatformServices &services);
    // Nothing is left to recover: saved, closed, or the editor quits normally.
    void discard();

    // The clock the copy's delays are counted on: the steady clock, unless a test sets its
    // own and calls writeCopyIfDue() when it has moved it on.
    void setClock(Clock clock) { mClock = std::move(clock); }
    // The timer's end: writes the copy if its time has come by the clock. True when it did.
    bool writeCopyIfDue();

Q_SIGNALS:
    // No copy can be kept: said once, and again only after a copy was written since.
    void copyFailed(const QString &message);

private:
    // How a write ended: empty when the copy was written, else why not.
    void copyWritten(const QString &reason);
    void documentChanged();
    bool writeCopy();
    void waitUntilDue(std::chrono::steady_clock::time_point now);

    TilesetDocument *mDocument;
    QString mFolder;
    std::unique_ptr<QLockFile> mLock;
    // Declared after the lock, so that its writing ends before the lock goes.
    std::unique_ptr<RecoveryFile> mFile; // none without a folder and a lock of its own
    Clock mClock = [] { return std::chrono::steady_clock::now(); };
    // The copy is due a pause after the last change or, while changes go on, at mLatest,
    // set by the first change it does not hold yet; none is due while it holds them all.
    std::optional<std::chrono::steady_clock::time_point> mDue;
    std::chrono::steady_clock::time_point mLatest;
    QTimer mTimer; // runs out when the copy is due
    QDateTime mLastChange;
    bool mCopyKept = false; // written, or on its way
    bool mFailureSaid = false;
};
