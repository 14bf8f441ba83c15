// Import. Byte 0: the target tileset (bits 0-1, modulo 3) and the user's choice (bits 2-7,
// minus one: -1 cancels); byte 1: the document's entries per tileset (0 counts as 1); the
// rest is the other file.
#include "loadermodel.h"
#include "tableedits.h"

void fuzzOne(const QByteArray &input)
{
    if (input.size() < 2)
        return;
    const int target = (uchar(input[0]) & 3) % 3;
    const int answer = (uchar(input[0]) >> 2) - 1;
    const int entryCount = std::max<int>(1, uchar(input[1]));
    const TilesetTable prior = TestFiles::numberedTable(3, entryCount);
    TilesetTable pending = prior;
    if (!readAsModelled(input.sliced(2), entryCount, {}, pending) || answer < 0 ||
        answer >= pending.tilesetCount())
        return;
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
}
