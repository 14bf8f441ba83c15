#pragma once

#include "delimitedtext.h"
#include "tableedit.h"

#include <optional>

// The tilesets as a table for spreadsheets: a header row "Tileset", "Name", "000" ... (one
// column per entry), then a row per tileset with its number, its name and its entries as
// the trees show them. A table comes back as a patch: only the fields whose text changed.

enum class TableFormat
{
    Csv,  // RFC 4180, UTF-8 with a byte-order mark
    Tsv,  // tab-separated, quoted as spreadsheets quote their clipboard text
    Xlsx, // a workbook of text cells
};

// By the file's extension; nothing for any other.
std::optional<TableFormat> tableFormatOf(const QString &path);

TextRows tableRows(const TilesetTable &table);

// The table's file; nothing on failure, with why.
std::optional<QByteArray> tableFileBytes(const TextRows &rows, TableFormat format, QString *error);
// A file's rows. CSV and TSV are UTF-8, with or without a byte-order mark, or else
// Windows-1252 as older spreadsheets save them. Nothing when it is no such table, with why.
std::optional<TextRows> rowsFromTableFile(const QByteArray &bytes, TableFormat format,
                                          QString *error);

// Written through a new file that replaces path once complete; false with why on failure.
bool writeTableFile(const TilesetTable &table, const QString &path, QString *error);
// Nothing with why when the file cannot be read or is no table.
std::optional<TextRows> readTableFile(const QString &path, QString *error);

struct TableImport
{
    TableEdit edit;
    int changedFields = 0; // fields whose bytes change, those of added tilesets included
    int addedTilesets = 0; // rows numbered from one past the last tileset on
    QString refusal;       // why nothing may be imported; empty when it may
};

// The table's texts over the fields they differ from. Rows are matched by the Tileset column
// and columns by their headers; a missing row or column leaves its fields alone. Anything
// the file cannot hold, or a header or number that is wrong, refuses the whole table with
// the row and column to look at.
TableImport importTable(const TilesetTable &table, const TextRows &rows);
