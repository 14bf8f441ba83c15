#include "scratchfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// Memory when the system offers it: each input rewrites and deletes files, which on a disk
// costs several times more than the code under test.
QString scratchParent()
{
    const QFileInfo memory(u"/dev/shm"_s);
    return memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
}

} // namespace

QString scratchPath(const QString &name)
{
    static QTemporaryDir folder(scratchParent() + u"/hmkfuzz-XXXXXX"_s);
    return folder.filePath(name);
}

bool writeScratch(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}
