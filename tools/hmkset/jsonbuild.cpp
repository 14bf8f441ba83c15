#include "jsonbuild.h"

#include "fieldjson.h"
#include "jsonchecks.h"
#include "jsonstring.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxCount = 255; // one header byte each

// The parser's byte offset, with line and column added for people editing by hand.
QString invalidJson(QByteArrayView json, const QJsonParseError &parseError)
{
    const qsizetype offset = std::clamp<qsizetype>(parseError.offset, 0, json.size());
    const QByteArrayView before = json.first(offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = offset - (before.lastIndexOf('\n') + 1) + 1;
    return u"invalid JSON at byte %1 (line %2, column %3): %4"_s.arg(offset)
        .arg(line)
        .arg(column)
        .arg(parseError.errorString());
}

bool readCount(const QJsonObject &top, QLatin1StringView key, int &count, QString &error)
{
    const QJsonValue value = top.value(key);
    if (!value.isDouble()) {
        error = wrongType(QString(key), "a number"_L1, value);
        return false;
    }
    const double number = value.toDouble();
    if (number != std::floor(number) || number < 1 || number > MaxCount) {
        error =
            refusal(QString(key),
                    u"expected a whole number from 1 to %1, got %2"_s.arg(MaxCount).arg(number));
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
        return refused(invalidJson(json, parseError));
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
