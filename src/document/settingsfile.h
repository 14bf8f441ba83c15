#pragma once

#include <QString>
#include <QStringView>

// Values of hmktse.ini; positions and sizes are in twips.
struct EditorSettings
{
    // What LastOpened holds when the editor closed with no document open.
    static constexpr QStringView NoDocument = u"n/a";

    QString lastOpened;
    int windowLeft = 0;
    int windowTop = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int sizerLeft = 0;
    int showDescriptions = 0;
    int openLastFileOnStartup = 0;
    int selectedEntry = 0;

    bool operator==(const EditorSettings &) const = default;
};

// Reads the file into settings (keys not in the file keep the values passed in).
// Returns false when the file could not be read completely: it cannot be opened, it is
// larger than 64 KB (its lines from there on are not read), or a value does not fit its
// 16-bit field (that key then keeps the value it had; reading goes on).
bool readSettingsFile(const QString &path, EditorSettings &settings);

// Deletes an existing file and writes the ten lines anew, numbers beyond 16 bits at the
// nearest end of the range; false when it cannot be written.
bool writeSettingsFile(const QString &path, const EditorSettings &settings);
