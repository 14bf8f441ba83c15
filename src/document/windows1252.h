#pragma once

#include <QByteArray>
#include <QString>

// Field bytes are shown as Windows-1252, the code page the game's files are written in.
// The five bytes that code page leaves undefined map to the C1 controls of the same
// number, so every one of the 256 bytes has a character and comes back unchanged.
QString fromWindows1252(QByteArrayView bytes);

// Characters that have no byte in the code page become '?' and clear *ok.
QByteArray toWindows1252(QStringView text, bool *ok = nullptr);

bool isWindows1252(QChar c);
