#pragma once

#include "tilesetreader.h"

#include <QStringView>

// The message box a failed load shows: its text and title, and a critical icon, else an
// exclamation.
struct LoadErrorMessage
{
    QStringView text;
    QStringView title;
    bool critical;
};

// LoadError::None has no message of its own; it is given LoadFailed's.
LoadErrorMessage loadErrorMessage(LoadError error);
