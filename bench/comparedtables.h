#pragma once

#include "tilesetfiles.h"

// Three 255 x 255 tables as two mods of one file make them: ours inserts a tileset near the
// top (dropping the last, to stay at 255) and changes an entry in every tenth tileset;
// theirs changes other entries of other tilesets and renames one.
struct ComparedTables
{
    TilesetTable base = TestFiles::numberedTable(255, 255);
    TilesetTable ours = changed(TestFiles::deleted(TestFiles::inserted(base, 2, "Moss"), 255), 0);
    TilesetTable theirs = TestFiles::with(changed(base, 5), 100, -1, "Harbour 3");

    static TilesetTable changed(TilesetTable table, int first)
    {
        for (int t = first; t < table.tilesetCount(); t += 10)
            table = TestFiles::with(table, t, t % 255, "changed " + QByteArray::number(t));
        return table;
    }
};
