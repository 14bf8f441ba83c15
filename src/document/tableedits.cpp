#include "tableedits.h"

#include "fixedfield.h"

TableEdit renameTilesetEdit(const TilesetTable &table, int tileset, QByteArrayView text)
{
    TableEdit edit;
    edit.add(table.nameOffset(tileset), table.tilesetName(tileset),
             storeFixedText(text, NameWidth));
    return edit;
}

TableEdit storeEntryEdit(const TilesetTable &table, int entry, int tileset, QByteArrayView text)
{
    TableEdit edit;
    edit.add(table.entryOffset(entry, tileset), table.entry(entry, tileset),
             storeFixedText(text, EntryWidth));
    return edit;
}

TableEdit insertTilesetEdit(const TilesetTable &table, int at)
{
    QByteArray record(table.recordSize(), ' ');
    record.replace(0, NameWidth, padFixedText("New Tileset", NameWidth));
    TableEdit edit;
    edit.add(table.nameOffset(at), {}, record);
    return edit;
}

TableEdit deleteTilesetEdit(const TilesetTable &table, int at)
{
    TableEdit edit;
    edit.add(table.nameOffset(at), table.record(at), {});
    return edit;
}

TableEdit copyEntriesEdit(const TilesetTable &table, int from, int to)
{
    TableEdit edit;
    edit.add(table.entryOffset(0, to), table.record(to).sliced(NameWidth),
             table.record(from).sliced(NameWidth));
    return edit;
}

TableEdit importTilesetEdit(const TilesetTable &table, const TilesetTable &source,
                            int sourceTileset, int to)
{
    Q_ASSERT(source.entryCount() == table.entryCount());
    TableEdit edit;
    edit.add(table.nameOffset(to), table.record(to), source.record(sourceTileset));
    return edit;
}
