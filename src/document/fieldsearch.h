#pragma once

#include "tableedit.h"

#include <QList>
#include <QString>

struct SearchOptions
{
    QString text;
    bool matchCase = false;
    bool wholeField = false; // the field's whole text, not a part of it
    bool names = true;
    bool entries = true;
};

// Where a field is: its tileset, and its entry or -1 for the tileset's name. Ordered as the
// file holds them: tileset by tileset, the name before the entries.
struct FieldAddress
{
    int tileset = 0;
    int entry = -1;

    friend auto operator<=>(const FieldAddress &, const FieldAddress &) = default;
};

// Every field of the table whose text matches, in file order.
QList<FieldAddress> findFields(const TilesetTable &table, const SearchOptions &options);

struct FieldReplacement
{
    TableEdit edit;        // every changed field, stored as an edit stores it
    int changedFields = 0; // fields whose bytes change
    int cutFields = 0;     // fields whose new text loses characters to the field width
};

// The replacement of every match. The replacement must be Windows-1252 text; blanks that
// only padded a field without a terminator may fall off its end without counting as cut.
FieldReplacement replaceFields(const TilesetTable &table, const QList<FieldAddress> &matches,
                               const SearchOptions &options, const QString &replacement);
