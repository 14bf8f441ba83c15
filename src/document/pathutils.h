#pragma once

#include <QString>

// True when the file can be opened for reading; never reports why not.
bool fileExists(const QString &path);

// The part after the last separator; both "\" and "/" separate, so paths typed the
// Windows way and the native way are both understood.
QString fileTitleOf(const QString &path);

// The folder part of a path, without the trailing separator.
QString folderOf(const QString &path);

// A file kept next to the program, named by the folder, the native separator and the name.
QString programFile(const QString &folder, const QString &fileName);
