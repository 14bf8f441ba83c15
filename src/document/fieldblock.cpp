#include "fieldblock.h"

#include "fieldformat.h"
#include "fixedfield.h"
#include "textutils.h"
#include "windows1252.h"

using namespace Qt::StringLiterals;

namespace {

qsizetype fieldOffset(const TilesetTable &table, int tileset, int column)
{
    return column == 0 ? table.nameOffset(tileset) : table.entryOffset(column - 1, tileset);
}

QByteArrayView fieldAt(const TilesetTable &table, int tileset, int column)
{
    return column == 0 ? table.tilesetName(tileset) : table.entry(column - 1, tileset);
}

QString fieldName(int tileset, int column)
{
    return column == 0
               ? u"the name of tileset "_s + tilesetNumber(tileset)
               : u"tileset %1, entry %2"_s.arg(tilesetNumber(tileset), entryNumber(column - 1));
}

} // namespace

FieldBlock copyFields(const TilesetTable &table, const FieldRect &fields)
{
    FieldBlock block{fields.rows, fields.columns, {}};
    block.cells.reserve(fields.fieldCount());
    for (int t = fields.tileset; t <= fields.lastTileset(); ++t) {
        for (int c = fields.column; c <= fields.lastColumn(); ++c) {
            const QByteArrayView field = fieldAt(table, t, c);
            block.cells.append({fieldText(field), field.toByteArray()});
        }
    }
    return block;
}

FieldBlock filledDown(FieldBlock block)
{
    for (int row = 1; row < block.rows; ++row)
        for (int column = 0; column < block.columns; ++column)
            block.cell(row, column) = block.cell(0, column);
    return block;
}

FieldBlock filledRight(FieldBlock block)
{
    for (int row = 0; row < block.rows; ++row)
        for (int column = 1; column < block.columns; ++column)
            block.cell(row, column) = block.cell(row, 0);
    return block;
}

FieldPaste pasteFields(const TilesetTable &table, const FieldRect &selection,
                       const FieldBlock &block)
{
    FieldPaste paste;
    const bool oneValue = block.rows == 1 && block.columns == 1;
    paste.target = oneValue
                       ? selection
                       : FieldRect{selection.tileset, selection.column, block.rows, block.columns};
    const FieldRect &target = paste.target;
    if (target.lastTileset() >= table.tilesetCount() || target.lastColumn() > table.entryCount()) {
        paste.refusal =
            u"A block of %1 by %2 fields does not fit here: from %3 it runs past the last %4."_s
                .arg(QString::number(block.rows), QString::number(block.columns),
                     fieldName(target.tileset, target.column),
                     target.lastTileset() >= table.tilesetCount() ? u"tileset"_s : u"entry"_s);
        return paste;
    }
    for (int row = 0; row < target.rows; ++row) {
        for (int column = 0; column < target.columns; ++column) {
            const int t = target.tileset + row;
            const int c = target.column + column;
            const FieldCell &cell = oneValue ? block.cells.first() : block.cell(row, column);
            const QByteArrayView old = fieldAt(table, t, c);
            QByteArray field;
            if (cell.bytes.size() == old.size()) {
                field = cell.bytes;
            } else if (cell.text != fieldText(old)) {
                if (const QString fault = unstorableCharacter(cell.text); !fault.isEmpty())
                    return {{},
                            0,
                            0,
                            target,
                            u"Nothing pasted: the text for %1 %2"_s.arg(fieldName(t, c), fault)};
                const QByteArray text = toWindows1252(cell.text);
                if (withoutPadding(QByteArrayView(text)).size() > old.size())
                    ++paste.cutFields;
                field = storeFixedText(text, int(old.size()));
            } else {
                continue; // the text it shows: every byte stays
            }
            if (field != old) {
                ++paste.changedFields;
                paste.edit.add(fieldOffset(table, t, c), old, field);
            }
        }
    }
    return paste;
}
