#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace zanku {

// The folder a zipped launch extracts its game into, and what in it is the player's.
// The extraction writes a marker file into the folder: a random token (which the journal
// keeps too, so only a folder the program made is ever removed), the emulator and the
// game, and every file it wrote with its size and modification time. Whatever else lies
// in the folder when it is removed, or has changed since, the emulator wrote: a battery
// save, a changed disk. It is kept in "Saves/<emulator>/<game file>/" in the program
// directory and copied back at the game's next extraction.
struct ExtractionMarker {
    QString token;
    QString emulator;
    QString gameFile;
    QHash<QString, QPair<qint64, qint64>> files; // relative path: size, modified (ms)
};

inline constexpr auto MarkerName = ".zanku-extraction";

// A new random token.
QString NewToken();

// Writes the marker, listing every file now in the folder (into `marker` too); false
// when it cannot.
bool WriteMarker(const QString &folder, ExtractionMarker &marker);
// The folder's marker; none when it has none or it cannot be read.
std::optional<ExtractionMarker> ReadMarker(const QString &folder);

// Where the player's files of a game are kept.
QString SavesFolder(const QString &programDir, const QString &emulator, const QString &gameFile);

// Moves every file of the folder that the marker does not list as it is (links are not
// followed) into `saves`, under the same path, replacing an older copy there. Returns how
// many it kept.
int KeepPlayersFiles(const QString &folder, const ExtractionMarker &marker, const QString &saves);

// Copies the kept files back into the folder, over an extracted file of the same path.
void RestoreKeptFiles(const QString &saves, const QString &folder);

} // namespace zanku
