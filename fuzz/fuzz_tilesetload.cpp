// Load: any bytes as hmkset.dat, read over a table that already holds something.
#include "loadermodel.h"

void fuzzOne(const QByteArray &file)
{
    TilesetTable table = TestFiles::numberedTable(2, 3);
    int pumps = 0;
    if (!readAsModelled(file, -1, {{}, [&pumps] { ++pumps; }}, table))
        return;
    CHECK(pumps == uchar(file[0]) * uchar(file[1]));

    // Saved as header, records and what followed them; the rule holds for its own output,
    // so it reads back.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CHECK(writeTilesetDevice(table, out, {}));
    CHECK(out.data() == file.first(2) + QByteArray(3, 0) + table.bytes() + table.trailingBytes());
    TilesetTable again = TestFiles::numberedTable(2, 3);
    CHECK(readAsModelled(out.data(), -1, {}, again) && again == table);
}
