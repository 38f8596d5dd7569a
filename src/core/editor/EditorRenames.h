#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// What a Save of the emulator list renames: an emulator's ROM list, kept saves and history
// follow its new name.

using Rename = std::pair<QString, QString>; // from, to

// The rows that were loaded under one name and now hold another, unless another row took
// the old name meanwhile. `loaded` and `names` go by row; a row added since has no loaded
// name.
std::vector<Rename> RenamedEmulators(const QStringList &loaded, const QStringList &names);

// Whether the renamed emulator's ROM list would meet one already there under its new name,
// in `programDir`: its games would then be those of that list.
bool RomListInTheWay(const QString &programDir, const Rename &rename);
// What the editor asks then.
QString RenameQuestion(const Rename &rename);
// What the editor asks when saves are kept under the new name already (an emulator of that
// name removed earlier): Yes merges them, No sets those there aside, Cancel saves nothing.
QString SavesQuestion(const Rename &rename);
