#pragma once

#include <QString>

class QIODevice;

// Why a tileset file could not be read or written, in short lower-case words that every
// caller shows after the message and the file's path: "no such file", "is a folder",
// "permission denied", "no space left on device" and the like, else the system's own.

// Why path is no file to read (missing, a folder, a FIFO or device, which opening would
// wait on), or nothing when it is a regular file or a link to one.
QString unreadablePathReason(const QString &path);

// Why path cannot be saved over (a folder, a FIFO or device, a folder that is not there,
// a symbolic link that leads back to itself), or nothing.
QString unsavablePathReason(const QString &path);

// Why an open, read or write of device failed.
QString deviceErrorReason(const QIODevice &device, bool writing);
