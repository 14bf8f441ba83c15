#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <initializer_list>

// Places in a JSON document as refusals name them: "sets[3].entries[12]". The document
// itself is the empty place, shown as "top level".
QString memberPlace(const QString &place, QLatin1StringView key);
QString elementPlace(const QString &place, qsizetype index);

// One line: the place, then what is wrong there.
QString refusal(const QString &place, const QString &problem);

// "a string", "null", "an array", ... for "expected X, got Y".
QString describeType(const QJsonValue &value);
QString wrongType(const QString &place, QLatin1StringView expected, const QJsonValue &value);

// Every key listed must be present and no other: a misspelt key is named rather than
// silently ignored.
bool checkKeys(const QJsonObject &object, std::initializer_list<QLatin1StringView> keys,
               const QString &place, QString &error);
