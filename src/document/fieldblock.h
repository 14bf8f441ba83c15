#pragma once

#include "tableedit.h"

#include <QList>
#include <QString>

// A rectangle of fields as the grid lays them out: tilesets top to bottom, and columns
// left to right, column 0 a tileset's name and column 1 + j its entry j.
struct FieldRect
{
    int tileset = 0;
    int column = 0;
    int rows = 1;
    int columns = 1;

    int lastTileset() const { return tileset + rows - 1; }
    int lastColumn() const { return column + columns - 1; }
    int fieldCount() const { return rows * columns; }
    friend bool operator==(const FieldRect &, const FieldRect &) = default;
};

// A field as it travels: its text, and its bytes when it comes from a tileset file, so
// that a copy within the editor or between two keeps every byte.
struct FieldCell
{
    QString text;
    QByteArray bytes;
};

// Rows of cells, every row as long as the first.
struct FieldBlock
{
    int rows = 0;
    int columns = 0;
    QList<FieldCell> cells; // row by row

    FieldCell &cell(int row, int column) { return cells[qsizetype(row) * columns + column]; }
    const FieldCell &cell(int row, int column) const
    {
        return cells[qsizetype(row) * columns + column];
    }
};

FieldBlock copyFields(const TilesetTable &table, const FieldRect &fields);
// The first row copied over the rows below it, or the first column over those to its right.
FieldBlock filledDown(FieldBlock block);
FieldBlock filledRight(FieldBlock block);

struct FieldPaste
{
    TableEdit edit;        // every field whose bytes change
    int changedFields = 0; // fields whose bytes change
    int cutFields = 0;     // fields whose text loses characters to the field width
    FieldRect target;      // the fields the block lands on
    QString refusal;       // why nothing may be pasted; empty when it may
};

// The block pasted into the selected fields: one value fills them all, a larger block
// fills from the first selected field right and down. Cells with the bytes of a field of
// the same width are copied as they are; a text is stored as typed text is, unless it is
// the text the field already shows. A block running past the table, or a text holding a
// character a field cannot, is refused whole.
FieldPaste pasteFields(const TilesetTable &table, const FieldRect &selection,
                       const FieldBlock &block);
