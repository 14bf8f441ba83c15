#include "jsonchecks.h"

#include "jsonstring.h"

#include <algorithm>

using namespace Qt::StringLiterals;

QString memberPlace(const QString &place, QLatin1StringView key)
{
    return place.isEmpty() ? QString(key) : place + u'.' + key;
}

QString elementPlace(const QString &place, qsizetype index)
{
    return place + u'[' + QString::number(index) + u']';
}

QString refusal(const QString &place, const QString &problem)
{
    return (place.isEmpty() ? u"top level"_s : place) + u": "_s + problem;
}

QString describeType(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return u"null"_s;
    case QJsonValue::Bool:
        return u"a boolean"_s;
    case QJsonValue::Double:
        return u"a number"_s;
    case QJsonValue::String:
        return u"a string"_s;
    case QJsonValue::Array:
        return u"an array"_s;
    case QJsonValue::Object:
        return u"an object"_s;
    case QJsonValue::Undefined:
        break;
    }
    return u"nothing"_s;
}

QString wrongType(const QString &place, QLatin1StringView expected, const QJsonValue &value)
{
    return refusal(place, u"expected "_s + expected + u", got "_s + describeType(value));
}

bool checkKeys(const QJsonObject &object, std::initializer_list<QLatin1StringView> keys,
               const QString &place, QString &error)
{
    for (const QString &key : object.keys()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            error = refusal(place, u"unknown key "_s + quotedJson(key));
            return false;
        }
    }
    for (QLatin1StringView key : keys) {
        if (!object.contains(key)) {
            error = refusal(place, u"missing key \""_s + key + u'"');
            return false;
        }
    }
    return true;
}
