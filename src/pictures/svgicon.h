#pragma once

#include <QIcon>

// An icon drawn from one of the program's SVG pictures when it is first painted, at the size
// and pixel ratio it is painted at. Qt's own SVG icon would do the same through the image
// plugins, but finding those costs the editor a sixth of its start-up.
QIcon svgIcon(const QString &path);
