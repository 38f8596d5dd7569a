#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Launching a game: extracting a zipped game's archive, starting its emulator, and
// removing what the last launch extracted.

// Removes the directory the last zipped launch extracted into, with everything in it,
// when that extraction created it; then forgets it. Files still in use stay, silently.
void CleanupExtraction();

// What a launch shows on the main window while it works.
struct LaunchView {
    std::function<void(const QString &)> setStatusText;
    std::function<void(bool)> setInputEnabled;
};

// The emulator a grid row shows under the name `emulatorName`: the game's own slot while
// it still carries that name, else the first emulator of that name (the configuration
// may have been edited by hand since the catalogue was read); 0 when none is left. An
// empty name stands for the game's own emulator.
int EmulatorOfRow(int gameEmulatorIndex, const QString &emulatorName);

// Launches the game in catalogue slot `slot`, shown in the grid under `rowName` with the
// emulator `rowEmulator` (empty: the game's own). A row that no longer names that game,
// or names no game, launches nothing. The window is always enabled again and reads
// "Waiting for selection..." afterwards.
void LaunchGame(int slot, const QString &rowName, const LaunchView &view,
                const QString &rowEmulator = {});

// Starts a program without waiting for it and without keeping a handle on it. On
// failure, `error` says why.
bool StartEmulator(const QString &program, const QStringList &arguments, const QString &commandLine,
                   const QString &workingDirectory, QString *error);

// The snapshot of a game: the first ordinary, visible file of snapshot path + separator
// + base name of the game file + ".jpg", ".gif" or ".bmp", resolved against the
// emulator's directory. Letter case does not matter, as it never did on Windows; a name
// in the exact case comes first. Empty when there is none.
QString FindSnapshot(const QString &snapshotPath, const QString &gameFile,
                     const QString &emulatorDir);

// The emulator's directory as an absolute path: a relative one is taken from the
// program directory.
QString EmulatorDirectory(const QString &path);
