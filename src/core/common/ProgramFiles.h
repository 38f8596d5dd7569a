#pragma once

#include <QStringList>

// The program's own files, named once: those it keeps in the program directory beside the
// emulators' lists, and the marker it leaves in every folder an extraction fills. Whatever
// is named here the import never offers as a game.
namespace zanku::own {

inline constexpr auto Config = "Zanku.ini";              // the emulators
inline constexpr auto RomListExtension = ".rom";         // "<emulator>.rom": its games
inline constexpr auto History = "Zanku.played";          // what was played, the stars
inline constexpr auto Choices = "Zanku.choices";         // collections, emulators chosen
inline constexpr auto Journal = "Zanku.extract";         // the extractions under way
inline constexpr auto Saves = "Saves";                   // what emulators wrote, between launches
inline constexpr auto Mappings = "gamecontrollerdb.txt"; // the player's controller mappings
inline constexpr auto LockSuffix = ".lock";              // beside a file several Zanku share
inline constexpr auto Marker = ".zanku-extraction";      // in each extraction folder

// The names of the program directory that are the program's own, their locks included
// (the ROM lists apart: they go by the emulators' names).
inline QStringList OwnNames()
{
    QStringList names{QLatin1String(Config), QLatin1String(Saves), QLatin1String(Mappings)};
    for (const char *shared : {History, Choices, Journal})
        names << QLatin1String(shared) << QLatin1String(shared) + QLatin1String(LockSuffix);
    return names;
}

} // namespace zanku::own
