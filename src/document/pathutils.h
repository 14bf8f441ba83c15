#pragma once

#include <QString>

class QFile;

// Opens the file named by file for reading when it is a regular file, or a link to one.
// Nothing else is opened: a folder cannot be read, and opening a FIFO waits for a writer.
bool openRegularFile(QFile &file);

// True when the file can be opened for reading; never reports why not.
bool fileExists(const QString &path);

// The part after the last separator; both "\" and "/" separate, so paths typed the
// Windows way and the native way are both understood.
QString fileTitleOf(const QString &path);

// The folder part of a path, without the trailing separator.
QString folderOf(const QString &path);

// A file kept next to the program, named by the folder, the native separator and the name.
QString programFile(const QString &folder, const QString &fileName);
