#include "fieldinfo.h"

#include "fixedfield.h"
#include "textutils.h"

using namespace Qt::StringLiterals;

QString characterCount(qsizetype characters, qsizetype width)
{
    return u"%1 / %2 characters"_s.arg(characters).arg(width);
}

QString describeField(QByteArrayView field)
{
    const qsizetype visible = cutAtNul(field).size();
    QString end;
    if (isNeverWritten(field))
        end = u"never written"_s;
    else if (visible == field.size())
        end = u"fills the field"_s;
    else
        end = u"ends with NUL"_s;
    return characterCount(visible, field.size()) + u" \u00b7 "_s + end;
}

QString hexBytes(QByteArrayView field)
{
    QString hex;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (i > 0)
            hex += i % 16 == 0 ? u'\n' : u' ';
        hex += u"%1"_s.arg(uchar(field[i]), 2, 16, QLatin1Char('0')).toUpper();
    }
    return hex;
}
