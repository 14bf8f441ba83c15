#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Appends text as a quoted JSON string in UTF-8. Characters that would be invisible or
// unsafe in an editor (controls, DEL, the C1 range, no-break space, soft hyphen) are
// written as \u escapes so a modder sees every byte the field holds.
void appendJsonString(QByteArray &out, QStringView text);

// The same quoted text, for messages that name what the input said: a line break in it
// cannot split the message.
QString quotedJson(QStringView text);
