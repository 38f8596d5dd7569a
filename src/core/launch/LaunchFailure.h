#pragma once

#include "core/records/GameKey.h"

#include <QString>

namespace zanku {

// Why a launch went wrong, as the player is told: the game, the emulator started for it,
// what happened in words, the last line it printed and where all of its output is.
struct LaunchFailure {
    GameKey key;
    QString emulator;
    QString reason;      // "could not be started: …", "it ended with status 3", …
    QString lastLine;    // empty when it printed nothing
    QString log;         // its output; empty when none was kept
    bool played = false; // it ran long enough to count as played
};

} // namespace zanku
