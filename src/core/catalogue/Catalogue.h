#pragma once

#include "core/catalogue/GameTable.h"
#include "core/records/Records.h"

#include <QStringList>

#include <vector>

// Appends to `games` the games of every emulator's ROM list whose file, directory or
// archive is present, in emulator order and in the order of each list; `emulators` and
// the games' EmulatorIndex count slots from 1, as the library's tables do. The lists are
// read from the program directory. Returns the problems, an "Error" box each: a missing
// directory or list.
QStringList BuildCatalogue(const std::vector<EmulatorRecord> &emulators, const QString &programDir,
                           GameTable &games);

// "Emulator <name> Not configured properly!! Path Not Found!", and with the Games
// Directory it looked for (absolute, or empty when none is set), a line that says what is
// wrong with it.
QString NotConfiguredText(const QString &emulatorName);
QString NotConfiguredText(const QString &emulatorName, const QString &gamesDirectory);

// The count panel's text: "Games  ( 12 Roms )" (a blank stands in the sign position).
QString GameCountText(int gameCount);
// While rows are hidden: "Games  ( 3 of 12 Roms )".
QString GameCountText(int shown, int gameCount);
