// Load mode: any bytes as hmkset.dat over a document that already holds a table.
#include "loadermodel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = fuzzInput(data, size);
    const Document prior = priorDocument(2, 3);
    Document document = prior;
    int pumps = 0;
    const LoadError error = loadBytes(document, file, -1, {{{}, [&pumps] { ++pumps; }}, {}});
    CHECK(error == expectedLoadError(file, -1));
    CHECK(document.loadSucceeded == (error == LoadError::None));
    if (error != LoadError::None) {
        CHECK(document.tilesets == prior.tilesets && document.changesMade);
        return 0;
    }
    CHECK(pumps == data[0] * data[1]);
    CHECK(document.tilesets == expectedTable(file));

    // Saved as header and records; the rule holds for its own output, so it loads back.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CHECK(writeTilesetDevice(document.tilesets, out, {}));
    CHECK(out.data() == file.first(2) + QByteArray(3, '\0') + document.tilesets.bytes());
    Document again = prior;
    CHECK(loadBytes(again, out.data(), -1, {}) == LoadError::None);
    CHECK(again.tilesets == document.tilesets);
    return 0;
}
