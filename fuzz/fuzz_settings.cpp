// Any bytes as hmktse.ini, read over default settings.
#include "fuzzcheck.h"
#include "settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    EditorSettings settings;
    readSettingsFile(scratchFile(QStringLiteral("hmktse.ini"), fuzzInput(data, size)), settings);
    for (int value : {settings.windowLeft, settings.windowTop, settings.windowWidth,
                      settings.windowHeight, settings.sizerLeft, settings.showDescriptions,
                      settings.openLastFileOnStartup, settings.selectedEntry})
        CHECK(value >= -32768 && value <= 32767);
    // Lines end at CR and LF, so no value can hold one: what is written reads back the same.
    const QString rewritten = scratchFile(QStringLiteral("rewritten.ini"), {});
    CHECK(writeSettingsFile(rewritten, settings));
    EditorSettings reread;
    CHECK(readSettingsFile(rewritten, reread));
    CHECK(reread == settings);
    return 0;
}
