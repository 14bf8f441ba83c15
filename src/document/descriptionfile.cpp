#include "descriptionfile.h"

#include "pathutils.h"
#include "windows1252.h"

#include <QFile>

#include <utility>

QStringList readDescriptionFile(const QString &path)
{
    QStringList texts(DescriptionCount); // missing lines are empty texts
    QFile file(path);
    if (!openRegularFile(file))
        return texts;
    // Read a piece at a time and only as far as the last line used, so that neither a file
    // of long lines nor one of many costs more than the labels can show.
    QByteArray line;
    bool afterCr = false;
    int k = 0;
    char piece[64 * 1024];
    while (k < DescriptionCount) {
        const qint64 size = file.read(piece, sizeof piece);
        if (size < 0)
            return QStringList(DescriptionCount); // descriptions are optional: no reason
        if (size == 0)
            break;
        for (qint64 i = 0; i < size && k < DescriptionCount; ++i) {
            const char c = piece[i];
            // A line ends at CR, LF or CR LF.
            if (std::exchange(afterCr, c == '\r') && c == '\n')
                continue;
            if (c == '\r' || c == '\n')
                texts[k++] = fromWindows1252(std::exchange(line, {}));
            else if (line.size() < DescriptionLength)
                line.append(c);
        }
    }
    if (k < DescriptionCount)
        texts[k] = fromWindows1252(line); // the last line needs no line end
    return texts;
}
