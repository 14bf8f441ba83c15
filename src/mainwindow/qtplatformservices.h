#pragma once

#include "platformservices.h"

#include <functional>

// The services as Qt provides them: message boxes, input and file dialogs, the desktop,
// and an event pump paced by the clock.
class QtPlatformServices : public PlatformServices
{
public:
    // Monotonic time in nanoseconds, for pacing the event pump; tests pass a clock of their own.
    using Clock = std::function<qint64()>;
    explicit QtPlatformServices(Clock clock = {});

    Answer ask(QWidget *owner, const Message &message) override;
    std::optional<QString> inputBox(QWidget *owner, const QString &title, const QString &prompt,
                                    const QString &answer) override;
    QString fileDialog(QWidget *owner, const FileRequest &request) override;
    int execDialog(QWidget *owner, QDialog &dialog) override;
    bool openWithDesktop(const QUrl &url) override;
    // Runs pending events when the bar moved or a frame has passed since they last ran, and
    // otherwise returns at once, asking for the next call after about a quarter millisecond
    // of the caller's pumps as measured so far.
    int pumpEvents(int pumps, bool barMoved) override;
    // The first frame counts from here, so an operation shorter than a frame runs no events.
    void startPumping() override;

private:
    QString mLastFolder; // where a file dialog was last used, as the open dialog's default
    Clock mClock;
    qint64 mEventsRan;    // when pending events last ran
    qint64 mLastPumpCall; // when pumpEvents last returned
    int mPumpsAsked = 0;  // how many pumps it then let pass
};
