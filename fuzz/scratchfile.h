#pragma once

#include <QByteArray>
#include <QString>

// A path in a folder made once per process and removed at exit; the readers take paths.
QString scratchPath(const QString &name);

// Replaces the file at path with bytes; false when it cannot be written.
bool writeScratch(const QString &path, const QByteArray &bytes);
