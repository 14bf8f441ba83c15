#include "fileprogresswindow.h"

#include "platformservices.h"

FileProgressWindow::FileProgressWindow(QWidget *mainWindow, const QString &label,
                                       PlatformServices &services)
    : mMainWindow(mainWindow)
    , mServices(services)
    , mForm6(mainWindow)
{
    mForm6.setLabel(label);
    mForm6.show();
    mMainWindow->setEnabled(false);
}

FileProgressWindow::~FileProgressWindow()
{
    mForm6.close();
    mMainWindow->setEnabled(true);
    mMainWindow->raise();
    mMainWindow->activateWindow();
}

FileProgress FileProgressWindow::progress()
{
    return {[this](float value) { mForm6.setBarValue(value); }, [this] { mServices.pumpEvents(); }};
}
