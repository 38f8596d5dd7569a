#pragma once

#include <QString>

// A deterministic "Zanku.played" of `games` games written into `programDir`: names of three
// words and a number (one word in eighteen accented), twenty emulators named
// `emulatorPrefix` 0 to 19, dates over three years, one game in ten a favourite. Each game
// is launched once, or, with `launchesVary`, 0 to 3 times. False when it cannot be saved.
bool WriteHistoryFixture(const QString &programDir, int games, const QString &emulatorPrefix,
                         bool launchesVary);
