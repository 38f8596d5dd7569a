#pragma once

#include "core/editor/EditorRenames.h"
#include "core/library/SavesRename.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// Before a Save of the emulator list: asks about each rename that meets a ROM list or kept
// saves of its new name. Nothing when the player cancels the Save, else how the saves of
// each renamed emulator (by its old name) meet those there. The boxes carry `caption`.
std::optional<QHash<QString, zanku::SavesCollision>>
AskAboutRenames(const QString &programDir, const std::vector<Rename> &renames,
                const QString &caption);
