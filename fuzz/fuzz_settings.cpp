// Any bytes as hmktse.ini, read over default settings.
#include "fuzzcheck.h"
#include "scratchfile.h"
#include "settingsfile.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

bool fitsShort(int value)
{
    return value >= -32768 && value <= 32767;
}

std::array<int, 8> numbers(const EditorSettings &s)
{
    return {s.windowLeft, s.windowTop,        s.windowWidth,           s.windowHeight,
            s.sizerLeft,  s.showDescriptions, s.openLastFileOnStartup, s.selectedEntry};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString input = scratchPath(u"hmktse.ini"_s);
    static const QString output = scratchPath(u"rewritten.ini"_s);
    CHECK(writeScratch(input, fuzzInput(data, size)));

    EditorSettings settings;
    readSettingsFile(input, settings);
    for (int value : numbers(settings))
        CHECK(fitsShort(value));
    // Lines end at CR and LF, so no value read can hold one; writeSettingsFile relies on it.
    CHECK(!settings.lastOpened.contains(u'\r') && !settings.lastOpened.contains(u'\n'));

    CHECK(writeSettingsFile(output, settings));
    EditorSettings reread;
    CHECK(readSettingsFile(output, reread));
    CHECK(reread == settings);
    return 0;
}
