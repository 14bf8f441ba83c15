#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

// Rows of cells as spreadsheets write them to text: cells between separators (a tab or a
// comma), rows ending in line ends.
using TextRows = QList<QStringList>;

// A cell holding the separator, a double quote or a line end is quoted, its quotes doubled;
// every row ends with CR LF, the last too.
QString toDelimitedText(const TextRows &rows, QChar separator);

// Rows end at CR LF, LF or CR; the one line end after the last row is dropped. A quoted
// cell may hold separators and line ends; blanks outside its quotes are dropped, while an
// unquoted cell keeps its blanks. Reading stops after maximumCells cells. Rows are as long
// as they came.
TextRows fromDelimitedText(QStringView text, QChar separator, qsizetype maximumCells);
