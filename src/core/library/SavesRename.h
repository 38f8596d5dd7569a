#pragma once

#include <QString>
#include <QStringList>

namespace zanku {

// What becomes of "Saves/<new name>" when an emulator is renamed onto a name whose kept
// saves are there already (an emulator of that name removed earlier).
enum class SavesCollision {
    Merge,    // the renamed emulator's saves go in beside them; of a file in both, the
              // renamed emulator's is the game's, the other set aside as "<name> (old)"
    SetAside, // the folder there is renamed "<new name> (old)" (or "(old 2)" ...) first
};

// Whether renaming `from` to `to` meets kept saves under the new name.
bool SavesCollide(const QString &programDir, const QString &from, const QString &to);

// Moves "Saves/<from>" to "Saves/<to>" of the program directory, as `collision` says when
// both are there. Nothing is ever written over; says what could not be moved.
QStringList RenameSaves(const QString &programDir, const QString &from, const QString &to,
                        SavesCollision collision);

} // namespace zanku
