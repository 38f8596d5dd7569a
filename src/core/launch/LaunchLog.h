#pragma once

#include <QString>

namespace zanku {

// What the emulators printed, one file per emulator in the user's cache folder
// ("<folder>/<emulator>.log"): each launch's output after a header line of its own, the
// newest last. Once the file passes LaunchLogMaxBytes the older launches are dropped
// first; a single launch that printed more keeps its last lines.
constexpr qint64 LaunchLogMaxBytes = 256 * 1024;

// The emulator's log in `folder`: its name with "/" (which a file name cannot hold) and
// a leading dot (which would hide it) made underscores.
QString LaunchLogPath(const QString &folder, const QString &emulator);

// Before a launch: the log bounded, then the launch's header ("=== Zanku: <when>, <game>")
// added. Returns where this launch's output begins; -1 when the log cannot be written (the
// output is then dropped, and the launch goes on). Without `bound` it only grows: another
// launch still writes to it.
qint64 BeginLaunchLog(const QString &path, const QString &game, bool bound = true);

// A line of the program's own, after what the emulator printed.
void AddToLaunchLog(const QString &path, const QString &line);

// After the emulator ended: the log bounded again. Replaced in one step, so a reader never
// sees it cut; output still being written by a process it started is then lost.
void BoundLaunchLog(const QString &path);

// The last line with anything but spaces that the launch whose output begins at `from`
// printed; empty when it printed none. Control characters are dropped; a very long line
// keeps its end.
QString LastLaunchLogLine(const QString &path, qint64 from);

} // namespace zanku
