#include "progresssession.h"

#include "platformservices.h"

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
    return {[this](float value) { mWindow.setBarValue(value); },
            [this] { mServices.pumpEvents(); }};
}
