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

QString unstorableCharacter(QStringView text)
{
    for (const char32_t point : text.toUcs4()) {
        if (point <= 0xffff && QChar(char16_t(point)).category() == QChar::Other_Control)
            return u"holds a control character (U+%1); line ends, tabs and NUL cannot be part "
                   u"of a field's text."_s.arg(
                       QString::number(uint(point), 16).toUpper().rightJustified(4, u'0'));
        if (point > 0xffff || !isWindows1252(QChar(char16_t(point))))
            return u"holds \u201c%1\u201d; a tileset file stores Windows-1252 characters only."_s
                .arg(QString::fromUcs4(&point, 1));
    }
    return {};
}
