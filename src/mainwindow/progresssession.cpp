#include "progresssession.h"

#include "eventpacing.h"

#include <QWindow>

#include <utility>

ProgressSession::ProgressSession(QWidget *mainWindow, const QString &label, EventPacing &pacing)
    : mMainWindow(mainWindow)
    , mPacing(pacing)
    , mWindow(mainWindow)
{
    mWindow.setLabel(label);
    mWindow.show();
    mMainWindow->setEnabled(false);
    mPacing.startPumping();
}

ProgressSession::~ProgressSession()
{
    mWindow.close();
    mMainWindow->setEnabled(true);
    mMainWindow->raise();
    mMainWindow->activateWindow();
}

FileProgress ProgressSession::progress()
{
    FileProgress progress;
    progress.setBarValue = [this](float value) {
        const int shown = mWindow.barValue();
        mWindow.setBarValue(value);
        mBarMoved = mBarMoved || mWindow.barValue() != shown;
    };
    progress.pacedPumpEvents = [this](int pumps) {
        // A move is worth running events for once the window is on screen to show it; until
        // then the frame paces them.
        const QWindow *shown = mWindow.windowHandle();
        const bool showable = shown && shown->isExposed();
        return mPacing.pumpEvents(pumps, showable && std::exchange(mBarMoved, false));
    };
    return progress;
}
