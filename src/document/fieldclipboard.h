#pragma once

#include "delimitedtext.h"
#include "fieldblock.h"

#include <QStringView>

#include <memory>
#include <optional>

class QMimeData;

// The formats fields are copied in and pasted from, as spreadsheets read and write them.

// The editor's own, holding every field's bytes.
inline constexpr char FieldsMimeType[] = "application/x-hmkset-fields";

// The cells' texts row by row, and a block of such texts, its rows filled out to the
// longest with empty texts.
TextRows cellTexts(const FieldBlock &block);
FieldBlock blockOfTexts(TextRows rows);

// Rows of cells, tab-separated; a cell holding a tab, a line end or a double quote is
// quoted, its quotes doubled. Rows end with CR LF, the last too, as spreadsheets write.
QString toTabSeparated(const FieldBlock &block);
// Rows end at CR LF, LF or CR; the one line end after the last row is dropped. A short
// row is filled out with empty texts.
FieldBlock fromTabSeparated(QStringView text);

QString toHtmlTable(const FieldBlock &block);
// The cells of the first table's rows, as a browser shows them: tags dropped, entities
// read, <br> a line end; line ends of the source and their indentation are formatting.
std::optional<FieldBlock> fromHtmlTable(QStringView html);

QByteArray toFieldBytes(const FieldBlock &block);
std::optional<FieldBlock> fromFieldBytes(const QByteArray &bytes);

// All three formats.
std::unique_ptr<QMimeData> fieldsMimeData(const FieldBlock &block);
// The editor's own format first, then an HTML table, then plain text.
std::optional<FieldBlock> fieldsFromMimeData(const QMimeData &data);
