#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zanku {

// A game as Steam lists a non-Steam shortcut: how it starts and the pictures it shows.
struct SteamShortcut {
    QString appName;       // the name Steam lists it by
    QString exe;           // the program, quoted, as Steam keeps it
    QString startDir;      // quoted as well
    QString launchOptions; // the arguments after the program
    QString cover;         // pictures for Steam's grid (any format); empty when none
    QString titleScreen;
    QString snapshot;
};

// The number Steam gives a non-Steam shortcut, and names its grid pictures by: the CRC-32
// of its Exe and AppName fields one after the other, its top bit set. The file holds it as
// a signed number.
quint32 SteamAppId(const QString &exe, const QString &appName);

// What adding shortcuts did: counted over every Steam user.
struct SteamResult {
    int added = 0;
    int updated = 0;
    QStringList users;    // the users whose shortcuts were written
    QStringList problems; // each a sentence: what was left untouched, and why
};

// Every Steam user's shortcut list under this home folder: ".local/share/Steam" and
// ".steam/steam" (one, when one leads to the other), "userdata/<id>/config/shortcuts.vdf",
// whether the file is there yet or not.
QStringList SteamShortcutFiles(const QString &home);

// Whether Steam runs for this user: it keeps its shortcuts in memory and would write
// them over any change made meanwhile.
bool SteamRunning();

// Adds each shortcut to every user's list, or updates the one added before (the same
// number, or the same program and options): every other shortcut kept byte for byte,
// the old list kept beside it as "shortcuts.vdf.bak", and the pictures put into the
// user's "grid" folder as PNG. Nothing is written while Steam runs, nor into a list that
// cannot be read; the problems say so.
SteamResult AddSteamShortcuts(const QString &home, const QList<SteamShortcut> &shortcuts);

} // namespace zanku
