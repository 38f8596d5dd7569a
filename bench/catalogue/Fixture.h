#pragma once

#include "core/records/Records.h"

#include <QString>

#include <vector>

// A generated library: emulators with their directories, archive directories, ROM
// lists and "Zanku.ini", always the same for the same sizes.
struct FixtureGame {
    GameRecord record;
    QString filePath;    // where the game file would be (absolute)
    QString archivePath; // where its archive would be (absolute)
};

struct Fixture {
    QString root;       // everything lives below this directory
    QString programDir; // "Zanku.ini" and the ROM lists
    std::vector<EmulatorRecord> emulators;
    std::vector<FixtureGame> games; // every ROM list line, in emulator and line order
    int presentFiles = 0;           // lines whose game file exists
    int archivesOnly = 0;           // lines found only as an archive
    int missing = 0;                // lines with neither
};

// Builds the library below `root` (which must exist and be empty): `emulatorCount`
// emulators sharing `lineCount` lines, half present as files, a quarter only as
// archives, a quarter missing. Returns false with a reason in `error` on failure.
bool BuildFixture(const QString &root, int emulatorCount, int lineCount, Fixture &fixture,
                  QString &error);
