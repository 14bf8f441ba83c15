#include "fieldjson.h"

#include "fixedfield.h"
#include "jsonchecks.h"
#include "jsonstring.h"
#include "windows1252.h"

#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool allBytesAre(QByteArrayView bytes, char c)
{
    return std::all_of(bytes.begin(), bytes.end(), [c](char b) { return b == c; });
}

QString codePoint(char32_t code)
{
    return u"U+"_s + QString::number(uint(code), 16).toUpper().rightJustified(4, u'0');
}

// A character as a message quotes it; controls and non-ASCII by number, so the line
// stays printable.
QString describeChar(QChar c)
{
    const char16_t code = c.unicode();
    return code > 0x20 && code < 0x7F ? u"'"_s + c + u'\'' : codePoint(code);
}

bool isHexDigit(QChar c)
{
    const char16_t code = c.unicode();
    return (code >= u'0' && code <= u'9') || (code >= u'a' && code <= u'f') ||
           (code >= u'A' && code <= u'F');
}

bool textField(const QString &text, int width, const QString &place, QByteArray &field,
               QString &error)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isWindows1252(text[i]))
            continue;
        char32_t code = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
        error = refusal(place, u"character %1 has no Windows-1252 byte"_s.arg(codePoint(code)));
        return false;
    }
    // Every accepted character is one UTF-16 unit and one byte, so this counts bytes too.
    if (text.size() > width) {
        error = refusal(place, u"%1 characters, at most %2"_s.arg(text.size()).arg(width));
        return false;
    }
    // A text of the field's width is kept whole with no NUL, exactly as the mapping wants.
    field = storeFixedText(toWindows1252(text), width);
    return true;
}

bool hexField(const QJsonObject &object, int width, const QString &place, QByteArray &field,
              QString &error)
{
    if (!checkKeys(object, {"hex"_L1}, place, error))
        return false;
    const QString where = memberPlace(place, "hex"_L1);
    const QJsonValue value = object.value("hex"_L1);
    if (!value.isString()) {
        error = wrongType(where, "a string"_L1, value);
        return false;
    }
    const QString digits = value.toString();
    if (digits.size() != 2 * width) {
        error = refusal(
            where, u"%1 characters, expected %2 hex digits"_s.arg(digits.size()).arg(2 * width));
        return false;
    }
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (!isHexDigit(digits[i])) {
            error = refusal(
                where, u"%1 at index %2 is not a hex digit"_s.arg(describeChar(digits[i])).arg(i));
            return false;
        }
    }
    field = QByteArray::fromHex(digits.toLatin1());
    return true;
}

} // namespace

void appendFieldJson(QByteArray &out, QByteArrayView field)
{
    const qsizetype nul = field.indexOf('\0');
    if (nul < 0) {
        appendJsonString(out, fromWindows1252(field));
        return;
    }
    const QByteArrayView rest = field.sliced(nul + 1);
    if (allBytesAre(rest, ' ')) {
        appendJsonString(out, fromWindows1252(field.first(nul)));
    } else if (isNeverWritten(field)) {
        out += "null";
    } else {
        out += "{\"hex\": \"";
        out += field.toByteArray().toHex();
        out += "\"}";
    }
}

bool fieldFromJson(const QJsonValue &value, int width, const QString &place, QByteArray &field,
                   QString &error)
{
    switch (value.type()) {
    case QJsonValue::Null:
        field = QByteArray(width, '\0');
        return true;
    case QJsonValue::String:
        return textField(value.toString(), width, place, field, error);
    case QJsonValue::Object:
        return hexField(value.toObject(), width, place, field, error);
    default:
        error = wrongType(place, R"(a string, null or {"hex": ...})"_L1, value);
        return false;
    }
}
