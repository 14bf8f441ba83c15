#include "descriptionfile.h"

#include "pathutils.h"
#include "textutils.h"
#include "windows1252.h"

#include <QFile>

#include <algorithm>

namespace {

// The file's bytes, or nothing when it cannot be read; descriptions are optional, so the
// reason does not matter.
QByteArray readAllOf(const QString &path)
{
    QFile file(path);
    if (!openRegularFile(file))
        return {};
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? bytes : QByteArray();
}

} // namespace

QStringList readDescriptionFile(const QString &path)
{
    // Windows-1252 keeps CR and LF as they are, so the text has the file's lines.
    const QString text = fromWindows1252(readAllOf(path));
    const QList<QStringView> lines = splitLines(text);
    QStringList texts(DescriptionCount); // missing lines are empty texts
    for (qsizetype k = 0; k < std::min<qsizetype>(lines.size(), DescriptionCount); ++k)
        texts[k] = lines[k].toString();
    return texts;
}
