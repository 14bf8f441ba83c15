#include "qtplatformservices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace {

// Pending events run at least once a frame while a file is read or written, so the window
// keeps painting; in between, a pump is a countdown in the reader.
constexpr qint64 FrameNs = 12'000'000;
// How often the caller comes back to look at the clock: well within a frame, so that
// records that suddenly read many times slower still leave the window painting.
constexpr qint64 CallEveryNs = 250'000;

QtPlatformServices::Clock steadyClock()
{
    QElapsedTimer timer;
    timer.start();
    return [timer] { return timer.nsecsElapsed(); };
}

// Dialogs are owned by the main window only as far as the window system goes: while a
// file loads the main window is disabled, and a child dialog would be disabled with it.
void ownBy(QWidget *dialog, QWidget *owner)
{
    if (!owner || !owner->window()->windowHandle())
        return;
    dialog->winId();
    dialog->windowHandle()->setTransientParent(owner->window()->windowHandle());
}

QMessageBox::Icon messageIcon(PlatformServices::Icon icon)
{
    switch (icon) {
    case PlatformServices::Icon::Exclamation:
        return QMessageBox::Warning;
    case PlatformServices::Icon::Critical:
        return QMessageBox::Critical;
    case PlatformServices::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardButton(PlatformServices::Answer answer)
{
    switch (answer) {
    case PlatformServices::Answer::Ok:
        return QMessageBox::Ok;
    case PlatformServices::Answer::Cancel:
        return QMessageBox::Cancel;
    case PlatformServices::Answer::Yes:
        return QMessageBox::Yes;
    case PlatformServices::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

} // namespace

QtPlatformServices::QtPlatformServices(Clock clock)
    : mClock(clock ? std::move(clock) : steadyClock())
    , mEventsRan(mClock() - FrameNs)
    , mLastPumpCall(mClock())
{}

PlatformServices::Answer QtPlatformServices::ask(QWidget *owner, const Message &message)
{
    QMessageBox box(messageIcon(message.icon), message.title, message.text);
    box.setInformativeText(message.details);
    switch (message.buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (message.defaultAnswer)
        box.setDefaultButton(standardButton(*message.defaultAnswer));
    ownBy(&box, owner);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPlatformServices::inputBox(QWidget *owner, const QString &title,
                                                    const QString &prompt, const QString &answer)
{
    QInputDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(answer);
    ownBy(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtPlatformServices::fileDialog(QWidget *owner, const FileRequest &request)
{
    QFileDialog dialog;
    dialog.setWindowTitle(request.title);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    const QString folder =
        QDir(request.folder).exists() && !request.folder.isEmpty() ? request.folder : mLastFolder;
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (request.mode == FileRequest::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    ownBy(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    mLastFolder = dialog.directory().absolutePath();
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

int QtPlatformServices::execDialog(QWidget *owner, QDialog &dialog)
{
    ownBy(&dialog, owner);
    return dialog.exec();
}

bool QtPlatformServices::openWithDesktop(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void QtPlatformServices::startPumping()
{
    mEventsRan = mLastPumpCall = mClock();
    mPumpsAsked = 0;
}

int QtPlatformServices::pumpEvents(int pumps, bool barMoved)
{
    qint64 now = mClock();
    const qint64 perPump = std::max<qint64>(1, (now - mLastPumpCall) / std::max(1, pumps));
    if (barMoved || now - mEventsRan >= FrameNs) {
        QCoreApplication::processEvents();
        now = mClock();
        mEventsRan = now;
    }
    mLastPumpCall = now;
    // At most twice as many pumps as last asked for, so a faster pace is trusted only once
    // seen; and the pumps cut short by a moving bar do not slow the pace down.
    const qint64 limit = 2 * (qint64(mPumpsAsked) + 1);
    mPumpsAsked = int(std::clamp<qint64>(CallEveryNs / perPump, 1, limit)) - 1;
    return mPumpsAsked;
}
