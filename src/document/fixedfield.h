#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Widths of the fixed text fields of hmkset.dat: one byte per character.
constexpr int NameWidth = 33;
constexpr int EntryWidth = 32;

// The text, one NUL when it is shorter than the field, then spaces; a text of the
// field's width or longer is cut to the width and gets no NUL.
QByteArray storeFixedText(QByteArrayView text, int width);

// A field never written holds nothing but NULs, unlike an empty text's NUL and blanks.
inline bool isNeverWritten(QByteArrayView field)
{
    return field.count('\0') == field.size();
}

// Plain assignment: the text cut or padded with spaces, no terminator.
QByteArray padFixedText(QByteArrayView text, int width);

// The loader's rule, applied in place to a raw field read from a file: the text before
// the first NUL is kept; it gets a NUL terminator unless the raw field begins and ends
// with characters above code 32; the rest of the field becomes spaces.
void applyFieldRule(char *field, int width);

// The loader's rule for a 32-byte entry: a first byte NUL means never assigned and the
// whole entry becomes NUL, whatever follows; any other entry takes the field rule.
void applyEntryRule(char *entry);

// The same for count entries one after another.
void applyEntryRules(char *entries, int count);
