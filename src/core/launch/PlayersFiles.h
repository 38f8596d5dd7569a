#pragma once

#include "core/launch/ExtractionMarker.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// What the player owns in an extraction folder, and where it is kept between launches.
// An emulator writes into the folder a launch extracted (a battery save, a changed disk);
// before the folder goes, those files move to "Saves/<emulator>/<game file>/" in the
// program directory, and the game's next extraction takes them back. Files are reached
// through their folders' descriptors by their bytes, so a name that is not UTF-8 or a
// path longer than the system's limit moves like any other, and a link is never followed.

namespace zanku {

// Every regular file under the folder but the marker (links neither listed nor followed),
// by path relative to it with "/", as the file system's bytes.
QHash<QByteArray, ExtractionMarker::Stamp> FilesIn(const QString &folder);

// One folder name standing for any text, and never for another one: "%", "/" and "\"
// escaped as %25, %2F and %5C, "." and ".." and the empty text escaped whole, and a name
// longer than a file system holds shortened, with a hash of the whole.
QString SavesName(const QString &text);
// Where the player's files of a game are kept.
QString SavesFolder(const QString &programDir, const QString &emulator, const QString &gameFile);
// Moves the folders kept under the names of earlier versions (every "/" and "\" an
// underscore) to their names now, knowing every game File of the emulator: a name that
// is another game's own now, or that two games once shared, stays as it is.
void MigrateSavesNames(const QString &programDir, const QString &emulator,
                       const QStringList &gameFiles);
// Whether the emulator has a folder of kept saves under the name an earlier version gave
// it: only then is a list of its games' files worth making for MigrateSavesNames.
bool HasOldSavesFolder(const QString &programDir, const QString &emulator);

struct KeepResult {
    int kept = 0;
    QStringList waiting; // files that could not be kept, each with why; they stay where they are
    bool ok() const { return waiting.isEmpty(); }
};

// Moves every file of the folder that is the player's into `saves`, under the same path:
// whatever the extraction did not write, or has changed since, and whatever was brought
// back from there. A file is gone from the folder only once its copy is complete and on
// disk. A kept file the emulator deleted while it ran is deleted from `saves` too. The
// marker says Keeping from then on, so a clean-up cut short starts again safely.
KeepResult KeepPlayersFiles(const QString &folder, ExtractionMarker &marker, const QString &saves);

// Brings the kept files back into the folder, over an extracted file of the same path:
// moved where both lie on one file system, else copied with their holes. Returns the
// paths brought back. Without `replace`, only what the folder lacks comes back.
QSet<QByteArray> RestoreKeptFiles(const QString &saves, const QString &folder, bool replace = true);

} // namespace zanku
