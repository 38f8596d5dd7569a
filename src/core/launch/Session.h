#pragma once

#include <QtGlobal>

namespace zanku {

// An emulator a launch started, named by the leader of the session it was started in:
// the session lives while any process of it runs, so a wrapper script that starts the
// real emulator in the background and ends at once still counts as running.
struct Session {
    qint64 pid = 0;
    quint64 startTime = 0; // in the system's own count: with the number, it names the leader

    friend bool operator==(const Session &, const Session &) = default;
};

// Whether any process of the session still runs. A session outlives its leader while
// its other processes run, and its number is not given to another process meanwhile.
bool SessionRunning(const Session &session);

} // namespace zanku
