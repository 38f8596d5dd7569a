#pragma once

#include <QString>
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

// This Zanku, named as a session's leader is, so another Zanku can tell it still runs.
Session ThisProcess();
// Whether the process named so runs (never a zombie).
bool Alive(const Session &process);
// Seconds since 1970 when the process named so started; 0 when unknown.
qint64 StartedAt(const Session &process);

// Every emulator of a zipped launch is started with its folder's token in this variable.
// Any process that inherits it (a wrapper's detached child, a daemon, whatever session it
// moves to) keeps the folder in use, and it is there from the spawn on, before any record.
inline constexpr auto LaunchTagVariable = "ZANKU_EXTRACTION";
// Whether a process started with this tag runs.
bool TaggedProcessRunning(const QString &tag);

} // namespace zanku
