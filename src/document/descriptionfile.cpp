#include "descriptionfile.h"

#include "windows1252.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The file's bytes, or nothing when it cannot be read; descriptions are optional, so the
// reason does not matter.
QByteArray readAllOf(const QString &path)
{
    // Only regular files: a folder cannot be read and a FIFO would block the window.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? bytes : QByteArray();
}

} // namespace

QStringList readDescriptionFile(const QString &path)
{
    const QByteArray bytes = readAllOf(path);
    QStringList texts;
    texts.reserve(DescriptionCount);
    // Lines end at CR LF, a lone LF or a lone CR; a final line needs no line end.
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size() && texts.size() < DescriptionCount; ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        texts.append(fromWindows1252(QByteArrayView(bytes).sliced(start, i - start)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size() && texts.size() < DescriptionCount)
        texts.append(fromWindows1252(QByteArrayView(bytes).sliced(start)));
    while (texts.size() < DescriptionCount)
        texts.append(QString());
    return texts;
}
