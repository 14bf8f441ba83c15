// Any text as hmkset's JSON.
#include "fuzzcheck.h"
#include "jsonbuild.h"
#include "jsondump.h"

void fuzzOne(const QByteArray &input)
{
    const BuildResult built = buildTilesets(input);
    if (!built.ok()) { // one line of a terminal, after the file name; nothing built
        CHECK(built.tilesets.isNull() && !built.error.isEmpty());
        CHECK(!built.error.contains(u'\n') && !built.error.contains(u'\r'));
        return;
    }
    const QByteArray dumped = dumpJson(built.tilesets);
    const BuildResult rebuilt = buildTilesets(dumped);
    CHECK(rebuilt.ok() && rebuilt.tilesets == built.tilesets);
    CHECK(dumpJson(rebuilt.tilesets) == dumped);
}
