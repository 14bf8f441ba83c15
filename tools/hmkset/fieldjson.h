#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QJsonValue;

// One fixed-width field as JSON, chosen so that every field comes back byte for byte:
// - text, one NUL, then spaces: the text, a string shorter than the field;
// - no NUL at all: the whole field with its padding, a string exactly as wide as the field;
// - every byte NUL (an entry never assigned): null;
// - anything else: {"hex": "..."}, two lowercase digits a byte.
// Bytes are shown as Windows-1252, the game's code page.
void appendFieldJson(QByteArray &out, QByteArrayView field);

// The field bytes of a JSON value, the reverse of appendFieldJson: a shorter string is
// stored as the editor stores typed text (text, NUL, spaces); a full-width string and hex
// are taken as they are; null is all NUL. Otherwise false, with error naming place.
bool fieldFromJson(const QJsonValue &value, int width, const QString &place, QByteArray &field,
                   QString &error);
