#pragma once

#include "core/common/AppState.h"

#include <QStringList>

#include <vector>

// "Zanku.ini": the emulators, seven lines each: "[Name]", Program, Path,
// ZippedRomPath, SnapshotPath, Options, ";".

inline constexpr auto ConfigFileName = "Zanku.ini";

struct ParsedConfig {
    std::vector<EmulatorRecord> emulators; // in file order, from index 0
    bool pastVersion = false;              // written by a past version of the program
};

// Reads the lines of "Zanku.ini". Tolerant: anything not starting with "[" after a
// valid record is skipped; a file that ends inside a record leaves the missing values
// empty; a lone "[" is an empty name.
ParsedConfig ParseConfig(const QStringList &lines);

// The lines that WriteConfig puts in the file for these emulators.
QStringList FormatConfig(const std::vector<EmulatorRecord> &emulators);

// Loads "Zanku.ini" from ProgramDir into App().Emulators and EmulatorCount and leaves
// ProgramDir current. A file of a past version shows its message and ends the program.
void ReadConfig();

// Replaces "Zanku.ini" in ProgramDir with these emulators, in this order. On failure the
// old file stays whole, an "Error" box says why, and the result is false.
bool WriteConfig(const std::vector<EmulatorRecord> &emulators);
