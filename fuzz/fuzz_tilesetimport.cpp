// Import mode. Byte 0: target tileset (bits 0-1, 3 is out of range) and the chooser's
// answer (bits 2-7, minus one: -1 cancels); byte 1: the document's entries per tileset
// (0 counts as 1); the rest is the file.
#include "fuzzcheck.h"
#include "loadermodel.h"
#include "priordocument.h"
#include "tilesetfile.h"

#include <QBuffer>

#include <algorithm>
#include <optional>

namespace {

constexpr int DocumentTilesets = 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int target = data[0] & 3;
    const int answer = (data[0] >> 2) - 1;
    const int entryCount = std::max<int>(1, data[1]);
    const QByteArray file = fuzzInput(data + 2, size - 2);

    const Document prior = priorDocument(DocumentTilesets, entryCount, false);
    Document document = prior;
    std::optional<TilesetTable> offered;
    int offers = 0;
    LoadHooks hooks;
    hooks.progress.pumpEvents = [] {};
    hooks.chooseTileset = [&](const TilesetTable &pending) {
        ++offers;
        offered = pending;
        return answer;
    };
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    const LoadError error = loadTilesetDevice(document, buffer, file.size(), target, hooks);

    const bool targetExists = target < DocumentTilesets;
    CHECK(error == (targetExists ? expectedLoadError(file, entryCount) : LoadError::LoadFailed));
    if (error != LoadError::None) {
        CHECK(!document.loadSucceeded);
        CHECK(offers == 0);
        CHECK(sameDocument(document, prior));
        return 0;
    }

    CHECK(document.loadSucceeded);
    CHECK(offers == 1);
    CHECK(offered->entryCount() == entryCount && offered->tilesetCount() == uchar(file[0]));
    CHECK(*offered == expectedTable(file));
    if (answer < 0 || answer >= offered->tilesetCount()) {
        // Cancelled, or an answer naming no tileset: nothing changes.
        CHECK(sameDocument(document, prior));
        return 0;
    }
    CHECK(document.changesMade);
    CHECK(document.tilesets.tilesetCount() == DocumentTilesets);
    CHECK(document.tilesets.entryCount() == entryCount);
    for (int k = 0; k < DocumentTilesets; ++k) {
        const QByteArrayView expected =
            k == target ? offered->record(answer) : prior.tilesets.record(k);
        CHECK(document.tilesets.record(k) == expected);
    }
    Document unchanged = document;
    unchanged.tilesets = prior.tilesets;
    unchanged.changesMade = prior.changesMade;
    CHECK(sameDocument(unchanged, prior));
    return 0;
}
