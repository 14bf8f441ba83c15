#include "progresssession.h"

#include "platformservices.h"

#include <utility>

ProgressSession::ProgressSession(QWidget *mainWindow, const QString &label,
                                 PlatformServices &services)
    : mMainWindow(mainWindow)
    , mServices(services)
    , mWindow(mainWindow)
{
    mWindow.setLabel(label);
    mWindow.show();
    mMainWindow->setEnabled(false);
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
        return mServices.pumpEvents(pumps, std::exchange(mBarMoved, false));
    };
    return progress;
}
