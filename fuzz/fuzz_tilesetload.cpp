// Load mode: any bytes as hmkset.dat over a document that already holds a table.
#include "fuzzcheck.h"
#include "loadermodel.h"
#include "priordocument.h"
#include "tilesetfile.h"

#include <QBuffer>

namespace {

QByteArray written(const TilesetTable &tilesets)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    CHECK(writeTilesetDevice(tilesets, out, {}));
    return out.data();
}

LoadError load(Document &document, const QByteArray &file, int &pumps)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    const LoadHooks hooks{{[](float) {}, [&pumps] { ++pumps; }}, {}};
    return loadTilesetDevice(document, buffer, file.size(), -1, hooks);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = fuzzInput(data, size);
    const Document prior = priorDocument(2, 3, true);
    Document document = prior;
    int pumps = 0;
    const LoadError error = load(document, file, pumps);

    CHECK(error == expectedLoadError(file, -1));
    // The size rule compares with the product of the counts, not with the records.
    const bool shorterThanProduct = size >= 2 && qint64(size) < qint64(data[0]) * data[1];
    CHECK((error == LoadError::IncorrectFilesize) == shorterThanProduct);
    if (error != LoadError::None) {
        CHECK(!document.loadSucceeded);
        CHECK(sameDocument(document, prior));
        return 0;
    }

    const TilesetTable &loaded = document.tilesets;
    CHECK(document.loadSucceeded);
    CHECK(loaded.tilesetCount() == data[0] && loaded.entryCount() == data[1]);
    CHECK(pumps == data[0] * data[1]);
    CHECK(allFieldsShaped(loaded));
    CHECK(loaded == expectedTable(file));

    const QByteArray saved = written(loaded);
    CHECK(saved ==
          QByteArray::fromRawData(file.constData(), 2) + QByteArray(3, '\0') + loaded.bytes());

    // The rule is idempotent: what the editor saves loads back unchanged.
    Document again = prior;
    int pumpsAgain = 0;
    CHECK(load(again, saved, pumpsAgain) == LoadError::None);
    CHECK(again.tilesets == loaded);
    return 0;
}
