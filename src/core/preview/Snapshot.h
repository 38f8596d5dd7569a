#pragma once

#include <QString>

// The snapshot of a game: the first ordinary, visible file of snapshot path + separator
// + base name of the game file + ".jpg", ".gif" or ".bmp", resolved against the
// emulator's directory. Letter case does not matter, as it never did on Windows; a name
// in the exact case comes first. Empty when there is none.
QString FindSnapshot(const QString &snapshotPath, const QString &gameFile,
                     const QString &emulatorDir);
