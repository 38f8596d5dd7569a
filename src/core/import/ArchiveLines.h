#pragma once

#include "core/records/Records.h"

#include <QString>

#include <vector>

// ROM-list lines written before archives beside the games were understood (by the import
// of old, or by hand): a File that is itself a ".7z" or ".rar" archive, which the emulator
// would get as it is. Each can name the game inside instead, as the import now does, so
// that the launch extracts it and keeps its saves.
struct ArchiveLineFix {
    int row = 0;  // in the list given
    QString file; // the File that reaches the same archive's game
};

// The lines of `games` (the ROM list of `emulator`) that can be fixed so: the archive is
// there and readable, its game member is found, and the catalogue, looking for the new
// File, reaches that very archive.
std::vector<ArchiveLineFix> ArchiveLineFixes(const EmulatorRecord &emulator,
                                             const QString &programDir,
                                             const std::vector<GameRecord> &games);
