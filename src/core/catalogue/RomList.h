#pragma once

#include "core/common/AppState.h"

#include <QString>
#include <QStringList>

#include <vector>

// A ROM list file, "<emulator name>.rom": one game a line,
// Name=File=DestinationDir=Options=Type. Type takes everything after the fourth "=".

inline constexpr auto RomListExtension = ".rom";

// The ROM list file name of an emulator (without directory).
QString RomListFileName(const QString &emulatorName);

// Splits one line at its first four "="; missing fields are empty. EmulatorIndex and
// Zipped are left at their defaults.
GameRecord ParseRomLine(const QString &line);

// The line WriteRomList writes for a game: its five fields joined by "=".
QString FormatRomLine(const GameRecord &game);

// A file name without its last extension: the last "." not counting the final
// character ends it. "puzzle.nes" -> "puzzle", "a.b.c" -> "a.b", ".nes" -> "",
// "puzzle." and "puzzle" stay unchanged.
QString StripExtension(const QString &fileName);

// Where a game's archive lies: ZippedRomPath + separator + base name + ".zip".
QString ArchivePathFor(const QString &zippedRomPath, const QString &file, QChar separator);

// Replaces the ROM list of this emulator in ProgramDir with these games, in this
// order. On failure the old file stays whole, an "Error" box says why, and the result
// is false.
bool WriteRomList(const QString &emulatorName, const std::vector<GameRecord> &games);

// Reads the games of a ROM list file as they stand (no presence test), blank lines
// skipped. A missing file is an empty list; an unreadable one says so in an "Error"
// box and is an empty list too.
std::vector<GameRecord> ReadRomList(const QString &path);
