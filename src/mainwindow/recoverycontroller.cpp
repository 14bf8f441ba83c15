#include "recoverycontroller.h"

#include "pathutils.h"
#include "platformservices.h"
#include "recoveryfile.h"
#include "tilesetdocument.h"

#include <QDir>
#include <QLocale>
#include <QLockFile>
#include <QUuid>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A pause in typing writes the copy after Quiet; typing on writes it after Longest.
constexpr std::chrono::milliseconds Quiet{1000};
constexpr std::chrono::milliseconds Longest{2000};
// A lock without an editor's number in it is one an editor has only just created, or one a
// power cut left before its number reached the disk; by this age it is the second.
constexpr int UnreadableLockAge = 5000;

// Only the running editor may remove its lock: one never goes stale by its age, unless it
// holds no editor's number (UnreadableLockAge).
std::unique_ptr<QLockFile> lockOf(const QString &folder, const QString &id)
{
    auto lock = std::make_unique<QLockFile>(programFile(folder, id + u".lock"_s));
    lock->setStaleLockTime(0);
    return lock;
}

struct LeftCopy
{
    std::unique_ptr<QLockFile> lock; // held while asking, so no other editor offers it too
    QString path;
    RecoveryCopy copy;
};

} // namespace

RecoveryController::RecoveryController(TilesetDocument *document, const QString &folder,
                                       QObject *parent)
    : QObject(parent)
    , mDocument(document)
    , mFolder(folder)
{
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (folder.isEmpty())
        return;
    mLock = lockOf(folder, id);
    if (!QDir().mkpath(folder) || !mLock->tryLock()) {
        // Said at the first change, which has no copy to keep it.
        const QString reason = mLock->error() == QLockFile::PermissionError
                                   ? u"permission denied"_s
                                   : u"the folder cannot be written"_s;
        connect(document, &TilesetDocument::modifiedChanged, this, [this, reason](bool modified) {
            if (modified)
                copyWritten(reason);
        });
        return;
    }
    mFile = std::make_unique<RecoveryFile>(
        programFile(folder, id + u".copy"_s), [this](const QString &reason) {
            QMetaObject::invokeMethod(
                this, [this, reason] { copyWritten(reason); }, Qt::QueuedConnection);
        });
    mTimer.setSingleShot(true);
    connect(&mTimer, &QTimer::timeout, this, &RecoveryController::writeCopyIfDue);
    // A new table first drops the copy of the one it replaces.
    connect(document, &TilesetDocument::tableReplaced, this, [this] {
        discard();
        documentChanged();
    });
    connect(document, &TilesetDocument::fieldsChanged, this, &RecoveryController::documentChanged);
    connect(document, &TilesetDocument::modifiedChanged, this,
            &RecoveryController::documentChanged);
    connect(document, &TilesetDocument::filePathChanged, this,
            &RecoveryController::documentChanged);
}

RecoveryController::~RecoveryController() = default;

bool RecoveryController::offerLeftCopies(QWidget *window, PlatformServices &services)
{
    if (!mFile)
        return false;
    std::vector<LeftCopy> left;
    // A link is not followed out of the folder, and no FIFO is opened: either could wait.
    const auto filter = QDir::Files | QDir::NoSymLinks;
    for (const QFileInfo &file : QDir(mFolder).entryInfoList({u"*.copy"_s}, filter)) {
        std::unique_ptr<QLockFile> lock = lockOf(mFolder, file.completeBaseName());
        const QFileInfo lockFile(lock->fileName());
        // Reading a lock that is no file, a link to a FIFO say, could wait as well.
        if (lockFile.isSymLink() || (lockFile.exists() && !lockFile.isFile()))
            continue;
        if (lockFile.exists() && !lock->getLockInfo(nullptr, nullptr, nullptr))
            lock->setStaleLockTime(UnreadableLockAge);
        if (!lock->tryLock())
            continue; // its editor still runs
        // A copy that cannot be read is left as it is, for whoever can.
        if (std::optional<RecoveryCopy> copy = RecoveryFile::read(file.filePath()))
            left.push_back({std::move(lock), file.filePath(), std::move(*copy)});
    }
    std::sort(left.begin(), left.end(), [](const LeftCopy &a, const LeftCopy &b) {
        return a.copy.lastChange > b.copy.lastChange;
    });
    for (LeftCopy &found : left) {
        const QString name = found.copy.filePath.isEmpty() ? u"Untitled"_s : found.copy.filePath;
        const QString when =
            QLocale::system().toString(found.copy.lastChange.toLocalTime(), QLocale::ShortFormat);
        // Restoring over a file changed since would overwrite that change at the next Save.
        const bool fileChanged = !found.copy.filePath.isEmpty() &&
                                 FileStamp::of(found.copy.filePath) != found.copy.fileStamp;
        const PlatformServices::Message question{
            .text = u"The editor stopped before the changes to %1 were saved (last change %2). "
                    u"Restore them?"_s.arg(name, when),
            .title = u"Recover unsaved changes"_s,
            .buttons = PlatformServices::Buttons::YesNo,
            .icon = PlatformServices::Icon::Question,
            .details = fileChanged ? u"The file has been changed or removed since by another "
                                     u"program."_s
                                   : QString(),
            .defaultAnswer = {}};
        if (services.ask(window, question) != PlatformServices::Answer::Yes) {
            QFile::remove(found.path);
            continue;
        }
        // With the stamp of the file it was made from, so that a change since is news.
        mDocument->open(std::move(found.copy.table), found.copy.filePath, found.copy.fileStamp);
        mDocument->markModified();
        mLastChange = found.copy.lastChange;
        // The copy left behind goes only once this editor's own copy holds the document.
        writeCopy();
        mFile->finish();
        QFile::remove(found.path);
        return true;
    }
    return false;
}

void RecoveryController::discard()
{
    mTimer.stop();
    mDue.reset();
    if (std::exchange(mCopyKept, false))
        mFile->remove();
}

void RecoveryController::copyWritten(const QString &reason)
{
    if (reason.isEmpty())
        mFailureSaid = false;
    else if (!std::exchange(mFailureSaid, true))
        Q_EMIT copyFailed(u"Unsaved changes cannot be kept for recovery: %1: %2"_s.arg(
            QDir::toNativeSeparators(mFolder), reason));
}

void RecoveryController::documentChanged()
{
    if (!mDocument->isModified()) {
        discard();
        return;
    }
    mLastChange = QDateTime::currentDateTimeUtc();
    const auto now = mClock();
    if (!mDue)
        mLatest = now + Longest;
    mDue = std::min(now + Quiet, mLatest);
    waitUntilDue(now);
}

bool RecoveryController::writeCopyIfDue()
{
    if (!mDue)
        return false;
    const auto now = mClock();
    if (now < *mDue) {
        waitUntilDue(now); // a timer may run out a little early
        return false;
    }
    return writeCopy();
}

void RecoveryController::waitUntilDue(std::chrono::steady_clock::time_point now)
{
    using std::chrono::milliseconds;
    mTimer.start(std::max(std::chrono::ceil<milliseconds>(*mDue - now), milliseconds(0)));
}

bool RecoveryController::writeCopy()
{
    mTimer.stop();
    mDue.reset();
    if (!mDocument->isModified())
        return false;
    mFile->write({mDocument->table(), mDocument->filePath(), mLastChange, mDocument->fileStamp()});
    mCopyKept = true;
    return true;
}
