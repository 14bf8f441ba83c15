#pragma once

#include "delimitedtext.h"

#include <QByteArray>

#include <optional>

// Rows as a workbook of one sheet whose every cell is a text cell, so that no spreadsheet
// turns "0012" into a number or "=SUM(A1)" into a formula; empty on failure, with why.
std::optional<QByteArray> xlsxBytes(const TextRows &rows, QString *error);

// The cells of a workbook's first sheet, row by row, a missing cell empty; nothing when the
// bytes are no workbook, with why.
std::optional<TextRows> rowsFromXlsx(const QByteArray &bytes, QString *error);
