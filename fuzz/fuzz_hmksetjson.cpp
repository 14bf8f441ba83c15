// Any text as hmkset's JSON.
#include "fuzzcheck.h"
#include "jsonbuild.h"
#include "jsondump.h"

using namespace Qt::StringLiterals;

namespace {

bool singleLine(QStringView text)
{
    return !text.contains(u'\n') && !text.contains(u'\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const BuildResult built = buildTilesets(fuzzInput(data, size));
    if (!built.ok()) {
        CHECK(built.tilesets.isNull());
        CHECK(!built.error.isEmpty());
        // Shown as one line of a terminal, after the file name.
        CHECK(singleLine(built.error));
        return 0;
    }
    CHECK(!built.tilesets.isNull());
    const QByteArray dumped = dumpJson(built.tilesets);
    const BuildResult rebuilt = buildTilesets(dumped);
    CHECK(rebuilt.ok());
    CHECK(rebuilt.tilesets == built.tilesets);
    CHECK(dumpJson(rebuilt.tilesets) == dumped);
    return 0;
}
