#pragma once

#include <QDateTime>
#include <QString>

// A file as the editor last read or wrote it: another program's change shows as another
// time of last change or another size.
struct FileStamp
{
    QDateTime modified;
    qint64 size = -1; // -1: no file

    bool operator==(const FileStamp &) const = default;

    // The file at path now; a null stamp when there is none.
    static FileStamp of(const QString &path);
};
