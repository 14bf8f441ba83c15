#include "jsonstring.h"

#include <QString>

namespace {

bool needsUnicodeEscape(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD;
}

void appendUnicodeEscape(QByteArray &out, char16_t c)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\u00";
    out += digits[(c >> 4) & 0xF];
    out += digits[c & 0xF];
}

} // namespace

void appendJsonString(QByteArray &out, QStringView text)
{
    out += '"';
    qsizetype plainStart = 0;
    // Runs of ordinary characters are converted in one go; only escapes break them.
    const auto flushPlain = [&](qsizetype end) {
        if (end > plainStart)
            out += text.sliced(plainStart, end - plainStart).toUtf8();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char *shortEscape = nullptr;
        switch (c) {
        case u'"':
            shortEscape = "\\\"";
            break;
        case u'\\':
            shortEscape = "\\\\";
            break;
        case u'\b':
            shortEscape = "\\b";
            break;
        case u'\f':
            shortEscape = "\\f";
            break;
        case u'\n':
            shortEscape = "\\n";
            break;
        case u'\r':
            shortEscape = "\\r";
            break;
        case u'\t':
            shortEscape = "\\t";
            break;
        default:
            break;
        }
        if (!shortEscape && !needsUnicodeEscape(c))
            continue;
        flushPlain(i);
        if (shortEscape)
            out += shortEscape;
        else
            appendUnicodeEscape(out, c);
        plainStart = i + 1;
    }
    flushPlain(text.size());
    out += '"';
}

QString quotedJson(QStringView text)
{
    QByteArray out;
    appendJsonString(out, text);
    return QString::fromUtf8(out);
}
