#pragma once

#include <QByteArrayView>
#include <QString>

// How numbers and fields read wherever the program shows them: the trees, the dialogs,
// the find results, the undo captions, the status bar and hmkset.

// "07"; tilesets from 100 up show their own three digits.
QString tilesetNumber(int tileset);
// "012".
QString entryNumber(int entry);

// A field's text as shown: its bytes before the first NUL, as Windows-1252.
QString fieldText(QByteArrayView field);
// The text without the blanks around it (terminator and padding included), as the
// tileset list shows a name.
QString trimmedFieldText(QByteArrayView field);

// "07. " and the text.
QString numberedTilesetText(int tileset, const QString &text);

// What keeps a stored field from taking text, for a message that names the field first:
// "holds a control character (U+0009); ..." or "holds “Ω”; ...". Empty when it can.
QString unstorableCharacter(QStringView text);
