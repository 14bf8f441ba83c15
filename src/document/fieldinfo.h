#pragma once

#include <QByteArrayView>
#include <QString>

// How a field is stored, for the status bar: "18 / 32 characters · ends with NUL".
// The characters are those before the first NUL; the end is "ends with NUL", "fills the
// field" (no NUL at all) or "never written" (every byte NUL).
QString describeField(QByteArrayView field);

// Characters of a text being typed against the field's width: "5 / 32 characters".
QString characterCount(qsizetype characters, qsizetype width);

// The field's bytes in hex, sixteen to a line: what the file holds, padding included.
QString hexBytes(QByteArrayView field);
