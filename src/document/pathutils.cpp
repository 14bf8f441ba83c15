#include "pathutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

} // namespace

bool fileExists(const QString &path)
{
    // Only regular files count: opening a FIFO would block, and a folder is no file.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QString fileTitleOf(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString folderOf(const QString &path)
{
    const qsizetype separator = lastSeparator(path);
    return separator < 0 ? QString() : path.left(separator);
}

QString programFile(const QString &folder, const QString &fileName)
{
    return folder + QDir::separator() + fileName;
}
