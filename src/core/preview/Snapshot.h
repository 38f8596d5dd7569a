#pragma once

#include <QString>

// The snapshot of a game: the first ordinary, visible file of snapshot path + separator
// + base name of the game file + ".jpg", ".gif", ".bmp", ".png" or ".webp", resolved
// against the emulator's directory. Letter case does not matter, as it never did on
// Windows; a name in the exact case comes first. Empty when there is none.
QString FindSnapshot(const QString &snapshotPath, const QString &gameFile,
                     const QString &emulatorDir);

// A game's name as the thumbnail sets players already have name their files: each of
// & * / : ` < > ? \ | " an underscore.
QString ThumbnailLabel(const QString &gameName);

// The game's screenshot from the artwork sets players keep in the snapshot directory,
// when the snapshot itself is missing: "Named_Snaps/<label>.png" (the label of its name,
// then of its file's base name), then "screenshots/<file's base name>.png" or ".jpg".
// Empty when there is none.
QString FindArtworkSnapshot(const QString &snapshotPath, const QString &gameName,
                            const QString &gameFile, const QString &emulatorDir);
