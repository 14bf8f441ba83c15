#pragma once

#include "fileprogress.h"
#include "form6.h"

class PlatformServices;

// One load or save as the user sees it: the progress window is up and the main window is
// disabled from construction to destruction, whichever way the operation ends.
class FileProgressWindow
{
public:
    FileProgressWindow(QWidget *mainWindow, const QString &label, PlatformServices &services);
    ~FileProgressWindow();

    FileProgress progress();

private:
    QWidget *mMainWindow;
    PlatformServices &mServices;
    Form6 mForm6;
};
