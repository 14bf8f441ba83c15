#pragma once

#include <QStringView>

// The texts the editor shows, shared by the window and the hmkset companion.
namespace Messages {

inline constexpr QStringView ErrorTitle = u"Error";
inline constexpr QStringView IncorrectFilesize = u"Error: Incorrect filesize";
inline constexpr QStringView IncompatibleEntries = u"Incompatible amount of entries.";
inline constexpr QStringView IncompatibleEntriesTitle = u"Error importing tileset";
inline constexpr QStringView ErrorLoading = u"Error while loading!";
inline constexpr QStringView ErrorSaving = u"Error while saving!";

} // namespace Messages
