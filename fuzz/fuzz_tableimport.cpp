// Any bytes as a table to import: the first byte picks CSV, TSV or XLSX, the rest is the
// file. Whatever is read is refused whole or patches only what it says, and undoes exactly.
#include "fuzzcheck.h"
#include "tablefile.h"
#include "tilesetfiles.h"

void fuzzOne(const QByteArray &input)
{
    if (input.isEmpty())
        return;
    static const TilesetTable table = TestFiles::numberedTable(3, 4);
    const auto format = TableFormat(uchar(input[0]) % 3);
    QString error;
    const std::optional<TextRows> rows = rowsFromTableFile(input.sliced(1), format, &error);
    CHECK(rows.has_value() == error.isEmpty());
    if (!rows)
        return;
    const TableImport imported = importTable(table, *rows);
    if (!imported.refusal.isEmpty()) {
        CHECK(imported.edit.isEmpty() && imported.changedFields == 0);
        return;
    }
    CHECK(imported.changedFields <= (3 + imported.addedTilesets) * 5);
    TilesetTable changed = table;
    imported.edit.redo(changed);
    CHECK(changed.tilesetCount() == 3 + imported.addedTilesets);
    // What was imported reads back as it is: a second import changes nothing.
    CHECK(importTable(changed, tableRows(changed)).edit.isEmpty());
    imported.edit.undo(changed);
    CHECK(changed == table);
}
