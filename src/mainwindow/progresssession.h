#pragma once

#include "fileprogress.h"
#include "progresswindow.h"

class EventPacing;

// One load or save as the user sees it: the progress window is up and the main window is
// disabled from construction to destruction, whichever way the operation ends.
class ProgressSession
{
public:
    ProgressSession(QWidget *mainWindow, const QString &label, EventPacing &pacing);
    ~ProgressSession();

    FileProgress progress();

private:
    QWidget *mMainWindow;
    EventPacing &mPacing;
    ProgressWindow mWindow;
    bool mBarMoved = false; // since the services last ran the pump
};
