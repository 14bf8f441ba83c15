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

bool openRegularFile(QFile &file)
{
    return QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly);
}

bool fileExists(const QString &path)
{
    QFile file(path);
    return openRegularFile(file);
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
