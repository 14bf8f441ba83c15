#include "fieldformat.h"

#include "textutils.h"
#include "windows1252.h"

using namespace Qt::StringLiterals;

QString tilesetNumber(int tileset)
{
    return zeroPad(tileset, tileset >= 100 ? 3 : 2);
}

QString entryNumber(int entry)
{
    return zeroPad(entry, 3);
}

QString fieldText(QByteArrayView field)
{
    return fromWindows1252(cutAtNul(field));
}

QString trimmedFieldText(QByteArrayView field)
{
    return fromWindows1252(trimBlanks(field));
}

QString numberedTilesetText(int tileset, const QString &text)
{
    return tilesetNumber(tileset) + u". "_s + text;
}
