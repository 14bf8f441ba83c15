// Import. Byte 0: the target tileset (bits 0-1, modulo 3) and the user's choice (bits 2-7,
// minus one: -1 cancels); byte 1: the document's entries per tileset (0 counts as 1); the
// rest is the other file.
#include "loadermodel.h"
#include "tableedits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int target = (data[0] & 3) % 3;
    const int answer = (data[0] >> 2) - 1;
    const int entryCount = std::max<int>(1, data[1]);
    const QByteArray file = fuzzInput(data + 2, size - 2);
    const TilesetTable prior = priorTable(3, entryCount);
    TilesetTable pending = prior;
    const LoadError error = readBytes(file, entryCount, {}, pending);
    CHECK(error == expectedLoadError(file, entryCount));
    if (error != LoadError::None) {
        CHECK(pending == prior); // a refused file leaves what the reader was given
        return 0;
    }
    CHECK(pending == expectedTable(file));
    if (answer < 0 || answer >= pending.tilesetCount())
        return 0;
    // Only the target record changes, to the chosen one, and undoing puts it back.
    TilesetTable document = prior;
    const TableEdit edit = importTilesetEdit(document, pending, answer, target);
    edit.redo(document);
    TilesetTable expected = prior;
    expected.replaceBytes(expected.nameOffset(target), expected.recordSize(),
                          pending.record(answer));
    CHECK(document == expected);
    edit.undo(document);
    CHECK(document == prior);
    return 0;
}
