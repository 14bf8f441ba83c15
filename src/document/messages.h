#pragma once

#include "tilesettable.h"

#include <QString>
#include <QStringView>

// The texts the editor shows, shared by the window and the hmkset companion.
namespace Messages {

inline constexpr QStringView ErrorTitle = u"Error";
inline constexpr QStringView IncorrectFilesize = u"Error: Incorrect filesize";
inline constexpr QStringView IncompatibleEntries = u"Incompatible amount of entries.";
inline constexpr QStringView IncompatibleEntriesTitle = u"Error importing tileset";
inline constexpr QStringView ErrorLoading = u"Error while loading!";
inline constexpr QStringView ErrorSaving = u"Error while saving!";

// Why a command that would add a tileset to a full file does nothing; doing: "inserting".
inline QString tooManyTilesets(QStringView doing)
{
    return QStringLiteral("A tileset file holds at most %1 tilesets; delete one before %2 another.")
        .arg(MaximumCount)
        .arg(doing);
}

} // namespace Messages
