#pragma once

#include "core/preview/Cover.h"
#include "core/records/Records.h"

#include <QString>

#include <optional>

namespace zanku {

// Where an emulator's things lie, as absolute paths, resolved once: its directory (a
// relative Path is taken from the program directory), its ROM list (in the program
// directory), and its archives and snapshots (relative ones taken from its directory).
// Nothing here depends on the process's working directory.
class EmulatorPlaces {
public:
    EmulatorPlaces(const EmulatorRecord &emulator, const QString &programDir);

    // The emulator's directory; empty when its Path is empty.
    const QString &directory() const { return directory_; }
    // "<Name>.rom" in the program directory.
    const QString &romList() const { return romList_; }
    // The zipped-game directory; the emulator's own when none is configured.
    const QString &zippedGames() const { return zippedGames_; }

    // The archive a game's file is looked for in: ZippedRomPath + separator + base name
    // + ".zip" (".7z", ".rar") from the emulator's directory (with no ZippedRomPath, beside
    // the games).
    QString archiveOf(const QString &gameFile, GameArchive archive = GameArchive::Zip) const;
    // The first of the game's archives that is a file, in the catalogue's order.
    std::optional<GameArchive> findArchive(const QString &gameFile) const;
    // A path of the game's (its File, its DestinationDir) from the emulator's directory.
    QString resolve(const QString &path) const;
    // The game's snapshot picture, or an empty text when it has none.
    // From its name and file, the snapshot first, then the artwork sets' screenshot.
    QString snapshotOf(const QString &gameFile, const QString &gameName = {}) const;
    // Where the game's cover is looked for: the snapshot directory from the emulator's
    // directory (empty when there is none to resolve it from: no cover is looked for).
    CoverPlace coverPlaceOf(const QString &gameFile, const QString &gameName) const;

private:
    EmulatorRecord emulator_;
    QString directory_;
    QString romList_;
    QString zippedGames_;
};

} // namespace zanku
