#pragma once

#include <Qt>

// The secondary windows are fixed-size dialog boxes: a title and a close box, nothing to
// minimise or maximise.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
