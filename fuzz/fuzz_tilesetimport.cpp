// Import mode. Byte 0: the target tileset (bits 0-1, 3 is out of range) and the chooser's
// answer (bits 2-7, minus one: -1 cancels); byte 1: the document's entries per tileset
// (0 counts as 1); the rest is the file.
#include "loadermodel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int target = data[0] & 3;
    const int answer = (data[0] >> 2) - 1;
    const int entryCount = std::max<int>(1, data[1]);
    const QByteArray file = fuzzInput(data + 2, size - 2);
    const Document prior = priorDocument(3, entryCount);
    Document document = prior;
    document.changesMade = false;
    int offers = 0;
    LoadHooks hooks;
    hooks.chooseTileset = [&](const TilesetTable &pending) {
        ++offers;
        CHECK(pending == expectedTable(file));
        return answer;
    };
    const LoadError error = loadBytes(document, file, target, hooks);
    CHECK(error == (target < 3 ? expectedLoadError(file, entryCount) : LoadError::LoadFailed));
    CHECK(offers == (error == LoadError::None));
    // Only a choice of one of the file's tilesets changes the document: the target record.
    TilesetTable expected = prior.tilesets;
    const bool chosen = error == LoadError::None && answer >= 0 && answer < uchar(file[0]);
    if (chosen)
        expected.copyTileset(expectedTable(file), answer, target);
    CHECK(document.tilesets == expected);
    CHECK(document.changesMade == chosen);
    return 0;
}
