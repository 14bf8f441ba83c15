#include "textutils.h"

namespace {

// Trims characters of code 32 or less from both ends of a byte or UTF-16 view.
template<typename View, typename Code>
View trimmed(View text, Code code)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && code(text[first]) <= 32)
        ++first;
    while (last > first && code(text[last - 1]) <= 32)
        --last;
    return text.sliced(first, last - first);
}

} // namespace

QByteArrayView trimBlanks(QByteArrayView text)
{
    // Bytes count as unsigned: 0x80 and above are letters of the code page, not blanks.
    return trimmed(text, [](char c) { return uint(uchar(c)); });
}

QString trimBlanks(QStringView text)
{
    return trimmed(text, [](QChar c) { return uint(c.unicode()); }).toString();
}

QByteArrayView cutAtNul(QByteArrayView text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.first(nul);
}

QString zeroPad(int number, int width)
{
    Q_ASSERT(number >= 0);
    const QString digits = QString::number(number);
    Q_ASSERT(digits.size() <= width);
    return QString(width - digits.size(), u'0') + digits;
}

void splitKeyValue(QStringView line, QString &key, QString &value)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    key = trimBlanks(line.first(equals));
    value = trimBlanks(line.sliced(equals + 1));
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

QString counted(qsizetype count, const QString &one, const QString &many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}
