#include "fieldtextvalidator.h"

#include "windows1252.h"

using namespace Qt::StringLiterals;

FieldTextValidator::FieldTextValidator(Charset charset, QObject *parent)
    : QValidator(parent)
    , mCharset(charset)
{}

void FieldTextValidator::allowControlsOf(const QString &offered)
{
    mAllowedControls.clear();
    for (QChar c : offered)
        if (c.category() == QChar::Other_Control && !mAllowedControls.contains(c))
            mAllowedControls.append(c);
}

QValidator::State FieldTextValidator::validate(QString &input, int &) const
{
    for (const char32_t point : input.toUcs4()) {
        // Beyond the first plane a character is never a control, and never in the code page.
        const bool beyondFirstPlane = point > 0xffff;
        const QChar c = beyondFirstPlane ? QChar() : QChar(char16_t(point));
        if (!beyondFirstPlane && c.category() == QChar::Other_Control &&
            !mAllowedControls.contains(c)) {
            Q_EMIT refused(u"Control characters (line ends, tabs, NUL) cannot be part of a "
                           u"field's text."_s);
            return Invalid;
        }
        if (mCharset == Windows1252Only && (beyondFirstPlane || !isWindows1252(c))) {
            Q_EMIT refused(
                u"Not taken: a tileset file stores Windows-1252 characters only, "
                u"and \u201c%1\u201d is not one of them."_s.arg(QString::fromUcs4(&point, 1)));
            return Invalid;
        }
    }
    return Acceptable;
}
