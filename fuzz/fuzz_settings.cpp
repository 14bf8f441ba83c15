// Any bytes as hmktse.ini, read over default settings.
#include "fuzzcheck.h"
#include "settingsfile.h"

void fuzzOne(const QByteArray &input)
{
    EditorSettings settings;
    readSettingsFile(scratchFile(QStringLiteral("hmktse.ini"), input), settings);
    for (int value : {settings.windowLeft, settings.windowTop, settings.windowWidth,
                      settings.windowHeight, settings.sizerLeft, settings.showDescriptions,
                      settings.openLastFileOnStartup, settings.selectedEntry})
        CHECK(value >= -32768 && value <= 32767);
    // Lines end at CR and LF, so no value can hold one: what is written reads back the same.
    const QString rewritten = scratchFile(QStringLiteral("rewritten.ini"), {});
    CHECK(writeSettingsFile(rewritten, settings));
    EditorSettings reread;
    CHECK(readSettingsFile(rewritten, reread) && reread == settings);
}
