#pragma once

#include "core/library/Records.h"

#include <QStringList>

#include <vector>

// The games of every emulator's ROM list whose file, directory or archive is present.
struct Catalogue {
    std::vector<GameRecord> games; // in emulator order, then in the order of each list
    QStringList problems;          // an "Error" box each: a missing directory or list
};

// Reads the ROM lists of `emulators` (slot 0 empty, as the library's table) from the
// program directory. A game's EmulatorIndex is its emulator's slot.
Catalogue BuildCatalogue(const std::vector<EmulatorRecord> &emulators, const QString &programDir);

// The count panel's text: "Games  ( 12 Roms )" (a blank stands in the sign position).
QString GameCountText(int gameCount);
