#pragma once

#include "core/common/ProgramFiles.h"

#include "core/catalogue/ListRead.h"
#include "core/records/Records.h"

#include <QStringList>

#include <vector>

// "Zanku.ini": the emulators, seven lines each: "[Name]", then the other fields in the
// order of EmulatorFields (Program, Path, ZippedRomPath, SnapshotPath, Options), then ";".

inline constexpr auto ConfigFileName = zanku::own::Config;

struct ParsedConfig {
    std::vector<EmulatorRecord> emulators; // in file order, from index 0
    bool pastVersion = false;              // written by a past version of the program
};

// Reads the lines of "Zanku.ini". Tolerant: anything not starting with "[" after a
// valid record is skipped; a file that ends inside a record leaves the missing values
// empty; a lone "[" is an empty name.
ParsedConfig ParseConfig(const QStringList &lines);

// The lines "Zanku.ini" holds for these emulators, in this order.
QStringList FormatConfig(const std::vector<EmulatorRecord> &emulators);

inline constexpr auto PastVersionText =
    "Zanku.ini belongs to a past version, please delete it and reconfigure emulators!";

// Reads "Zanku.ini" at `path`; a file of a past version comes back with no records.
zanku::ListRead<EmulatorRecord> ReadConfigFile(const QString &path);
