#pragma once

#include <QString>

// `zanku --install-desktop-entry`: puts Zanku into the player's application menu from
// where it runs now, for a copy that was never installed (the portable bundle, whose
// launcher ZANKU_BUNDLE names, or the program file itself). The entry is
// ~/.local/share/applications/io.github.zanku.Zanku.desktop (XDG_DATA_HOME), written
// whole or not at all; the bundle's icon is named by its path.
struct DesktopEntryResult {
    bool ok = false;
    QString message; // the file written, or why not
};
DesktopEntryResult InstallDesktopEntry();

// A program path as a desktop entry's Exec line quotes it.
QString DesktopExecQuoted(const QString &program);
