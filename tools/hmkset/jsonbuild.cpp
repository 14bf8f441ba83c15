#include "jsonbuild.h"

#include "fieldjson.h"
#include "jsonchecks.h"
#include "jsonstring.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The byte offset, with line and column added for people editing by hand.
QString invalidJson(QByteArrayView json, qsizetype offset, const QString &problem)
{
    offset = std::clamp<qsizetype>(offset, 0, json.size());
    const QByteArrayView before = json.first(offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = offset - (before.lastIndexOf('\n') + 1) + 1;
    return u"invalid JSON at byte %1 (line %2, column %3): %4"_s.arg(offset)
        .arg(line)
        .arg(column)
        .arg(problem);
}

// Qt's parser takes a raw control character inside a string (and cuts the string at a
// NUL), and keeps the last of a key given twice: either would build another file than the
// one written. Asked of text Qt has parsed, so that strings and brackets are sound.
QString strictnessProblem(QByteArrayView json)
{
    QList<std::optional<QSet<QString>>> levels; // the keys of each object, none for arrays
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '{' || c == '[')
            levels.append(c == '{' ? std::optional(QSet<QString>()) : std::nullopt);
        else if (c == '}' || c == ']')
            levels.removeLast();
        if (c != '"')
            continue;
        const qsizetype start = i;
        for (++i; i < json.size() && json[i] != '"'; ++i) {
            if (uchar(json[i]) < 0x20) {
                const QString hex = QString::number(uchar(json[i]), 16).rightJustified(4, u'0');
                return invalidJson(json, i,
                                   u"raw control character U+%1 inside a string; write it as "
                                   u"\\u%2"_s.arg(hex.toUpper(), hex));
            }
            i += json[i] == '\\';
        }
        if (i >= json.size()) // past the end of what Qt read: a NUL ended its input
            break;
        qsizetype next = i + 1;
        while (next < json.size() && QByteArrayView(" \t\r\n").contains(json[next]))
            ++next;
        if (next == json.size() || json[next] != ':' || levels.isEmpty() || !levels.last())
            continue;
        const QByteArrayView quoted = json.sliced(start, i + 1 - start);
        const QString key =
            quoted.contains('\\')
                ? QJsonDocument::fromJson('[' + quoted.toByteArray() + ']').array().at(0).toString()
                : QString::fromUtf8(quoted.sliced(1).chopped(1));
        if (levels.last()->contains(key))
            return invalidJson(json, start, u"key %1 given twice"_s.arg(quotedJson(key)));
        levels.last()->insert(key);
    }
    return {};
}

bool readCount(const QJsonObject &top, QLatin1StringView key, int &count, QString &error)
{
    const QJsonValue value = top.value(key);
    if (!value.isDouble()) {
        error = wrongType(QString(key), "a number"_L1, value);
        return false;
    }
    const double number = value.toDouble();
    if (number != std::floor(number) || number < 1 || number > MaximumCount) {
        error = refusal(
            QString(key),
            u"expected a whole number from 1 to %1, got %2"_s.arg(MaximumCount).arg(number));
        return false;
    }
    count = int(number);
    return true;
}

bool readArray(const QJsonValue &value, const QString &place, qsizetype expected,
               QLatin1StringView items, QJsonArray &array, QString &error)
{
    if (!value.isArray()) {
        error = wrongType(place, "an array"_L1, value);
        return false;
    }
    array = value.toArray();
    if (array.size() != expected) {
        error = refusal(place, u"%1 %2, expected %3"_s.arg(array.size()).arg(items).arg(expected));
        return false;
    }
    return true;
}

bool readSet(const QJsonValue &value, int k, const QString &place, TilesetTable &tilesets,
             QString &error)
{
    if (!value.isObject()) {
        error = wrongType(place, "an object"_L1, value);
        return false;
    }
    const QJsonObject set = value.toObject();
    if (!checkKeys(set, {"name"_L1, "entries"_L1}, place, error))
        return false;

    QByteArray field;
    if (!fieldFromJson(set.value("name"_L1), NameWidth, memberPlace(place, "name"_L1), field,
                       error))
        return false;
    tilesets.setTilesetName(k, field);

    const QString entriesPlace = memberPlace(place, "entries"_L1);
    QJsonArray entries;
    if (!readArray(set.value("entries"_L1), entriesPlace, tilesets.entryCount(), "entries"_L1,
                   entries, error))
        return false;
    for (int j = 0; j < tilesets.entryCount(); ++j) {
        if (!fieldFromJson(entries.at(j), EntryWidth, elementPlace(entriesPlace, j), field, error))
            return false;
        tilesets.setEntry(j, k, field);
    }
    return true;
}

BuildResult refused(const QString &error)
{
    return {TilesetTable(), error};
}

} // namespace

BuildResult buildTilesets(QByteArrayView json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refused(invalidJson(json, parseError.offset, parseError.errorString()));
    if (const QString problem = strictnessProblem(json); !problem.isEmpty())
        return refused(problem);
    if (!document.isObject())
        return refused(wrongType(QString(), "an object"_L1, QJsonValue(document.array())));
    const QJsonObject top = document.object();

    QString error;
    if (!checkKeys(top, {"format"_L1, "tilesets"_L1, "entriesPerTileset"_L1, "sets"_L1}, QString(),
                   error))
        return refused(error);
    const QJsonValue format = top.value("format"_L1);
    if (!format.isString())
        return refused(wrongType(u"format"_s, "a string"_L1, format));
    if (format.toString() != "hmkset"_L1)
        return refused(refusal(
            u"format"_s, uR"(expected "hmkset", got %1)"_s.arg(quotedJson(format.toString()))));

    int tilesetCount = 0;
    int entryCount = 0;
    if (!readCount(top, "tilesets"_L1, tilesetCount, error) ||
        !readCount(top, "entriesPerTileset"_L1, entryCount, error))
        return refused(error);

    QJsonArray sets;
    if (!readArray(top.value("sets"_L1), u"sets"_s, tilesetCount, "tilesets"_L1, sets, error))
        return refused(error);
    TilesetTable tilesets(tilesetCount, entryCount);
    for (int k = 0; k < tilesetCount; ++k) {
        if (!readSet(sets.at(k), k, elementPlace(u"sets"_s, k), tilesets, error))
            return refused(error);
    }
    return {std::move(tilesets), QString()};
}
