// Load: any bytes as hmkset.dat, read over a table that already holds something.
#include "loadermodel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = fuzzInput(data, size);
    const TilesetTable prior = priorTable(2, 3);
    TilesetTable table = prior;
    int pumps = 0;
    const LoadError error = readBytes(file, -1, {{}, [&pumps] { ++pumps; }}, table);
    CHECK(error == expectedLoadError(file, -1));
    if (error != LoadError::None) {
        CHECK(table == prior);
        return 0;
    }
    CHECK(pumps == data[0] * data[1]);
    CHECK(table == expectedTable(file));

    // Saved as header and records; the rule holds for its own output, so it reads back.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CHECK(writeTilesetDevice(table, out, {}));
    CHECK(out.data() == file.first(2) + QByteArray(3, '\0') + table.bytes());
    TilesetTable again = prior;
    CHECK(readBytes(out.data(), -1, {}, again) == LoadError::None);
    CHECK(again == table);
    return 0;
}
