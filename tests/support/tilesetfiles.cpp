#include "tilesetfiles.h"

#include "fixedfield.h"

#include <QFile>
#include <QRandomGenerator>

namespace TestFiles {

QByteArray fileBytes(const TilesetTable &tilesets)
{
    QByteArray bytes;
    bytes.append(char(tilesets.tilesetCount()));
    bytes.append(char(tilesets.entryCount()));
    bytes.append(3, '\0');
    bytes.append(tilesets.bytes());
    return bytes;
}

TilesetTable numberedTable(int tilesetCount, int entryCount)
{
    TilesetTable table(tilesetCount, entryCount);
    for (int k = 0; k < tilesetCount; ++k) {
        table.setTilesetName(k, storeFixedText("Set " + QByteArray::number(k), NameWidth));
        for (int j = 0; j < entryCount; ++j) {
            const QByteArray text = QByteArray::number(k) + ':' + QByteArray::number(j);
            table.setEntry(j, k, storeFixedText(text, EntryWidth));
        }
    }
    return table;
}

QByteArray randomFile(int tilesetCount, int entryCount, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(5 + tilesetCount * (NameWidth + qsizetype(EntryWidth) * entryCount), '\0');
    bytes[0] = char(tilesetCount);
    bytes[1] = char(entryCount);
    // Mostly printable text with NULs, blanks and high bytes mixed in, so that every
    // branch of the field rule is taken.
    static const char pool[] = "abcXYZ09 \t\x80\xe9\xff";
    for (qsizetype i = 5; i < bytes.size(); ++i) {
        const quint32 roll = random.bounded(10);
        bytes[i] = roll < 2 ? '\0' : pool[random.bounded(int(sizeof pool - 1))];
    }
    return bytes;
}

QString write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestFiles
