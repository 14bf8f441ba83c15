#pragma once

#include <QString>

// Values of hmktse.ini; positions and sizes are in twips.
struct EditorSettings
{
    QString LastOpened;
    int WindowLeft = 0;
    int WindowTop = 0;
    int WindowWidth = 0;
    int WindowHeight = 0;
    int SizerLeft = 0;
    int ShowDescriptions = 0;
    int OpenLastFileOnStartup = 0;
    int SelectedEntry = 0;

    bool operator==(const EditorSettings &) const = default;
};

// Reads the file into settings (keys not in the file keep the values passed in).
// Returns false when the file could not be read completely: it cannot be opened, or a value
// does not fit its 16-bit field (that key then keeps the value it had; reading goes on).
bool ReadSettings(const QString &path, EditorSettings &settings);

// Deletes an existing file and writes the ten lines anew; false when it cannot be written.
bool WriteSettings(const QString &path, const EditorSettings &settings);
