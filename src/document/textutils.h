#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// Blanks are all characters of code 32 or less: space, every control character and NUL.
// That is exactly what pads a fixed-width field, so trimming them shows the field's text.
QByteArrayView trimBlanks(QByteArrayView text);
QString trimBlanks(QStringView text);

// A field stored without a terminator is padded with blanks: they are no part of its text
// when the whole field is compared.
template<typename View>
View withoutPadding(View text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.first(end);
}

// The characters before the first NUL; the whole text when it holds none.
QByteArrayView cutAtNul(QByteArrayView text);

// Decimal digits with leading zeros up to width characters. The number must be 0 or more
// and have at most width digits: callers pass indexes of at most 255.
QString zeroPad(int number, int width);

// "1 match", "3 matches": the count and the word that fits it.
QString counted(qsizetype count, const QString &one, const QString &many);

// Splits at the first "=" into trimmed key and value. A line without "=" leaves both
// out-parameters as they were, so a stray line repeats the previous assignment.
void splitKeyValue(QStringView line, QString &key, QString &value);

// The lines of a text file: each ends at CR LF, a lone LF or a lone CR, and a last line
// needs no line end. Files edited on Windows and on Linux read alike.
QList<QStringView> splitLines(QStringView text);
