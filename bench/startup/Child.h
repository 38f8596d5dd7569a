#pragma once

#include <QString>
#include <QStringList>

// One start of a program to its main window's first paint, as the player starts it: a
// fresh process on the display, with the first-paint watch preloaded.
struct StartFigures {
    bool painted = false; // false: it ended otherwise, or did not paint in time
    double cpuMs = 0;     // user and system time of all its threads (wait4)
    double wallMs = 0;    // from the start of the process to its end at the paint
    double peakMB = 0;    // its peak resident memory (VmHWM at the paint), 10^6 bytes
};

// Starts `program` with `arguments` and `environment` added to this process's own, and
// waits at most `patienceMs` for it to end (then it is killed).
StartFigures StartToFirstPaint(const QString &program, const QStringList &arguments,
                               const QStringList &environment, int patienceMs);

// An X server of its own for the children (Xvfb): its display name, empty when it could
// not start. Ends with the process that asked.
QString StartDisplay();
