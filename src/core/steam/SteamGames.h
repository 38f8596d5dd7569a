#pragma once

#include "core/records/GameKey.h"
#include "core/steam/SteamShortcuts.h"

#include <QList>
#include <QStringList>

namespace zanku {

class Library;

// How Steam starts this program, first word the program: the program's own file, or
// "flatpak run <id>" inside a Flatpak (FLATPAK_ID), or the portable bundle's launcher
// that ZANKU_BUNDLE names, since the file running inside either is not one Steam can start.
QStringList ZankuCommand();

// The shortcut of each game: `command` with "--library <program directory> --launch
// <emulator> <name>", and the game's cover, title screen and snapshot. Games the library
// no longer lists are left out.
QList<SteamShortcut> SteamShortcutsFor(const Library &library, const QList<GameKey> &games,
                                       const QStringList &command);

} // namespace zanku
