#pragma once

#include "core/import/ImportCandidate.h"
#include "core/records/Records.h"

#include <QSet>
#include <QString>

#include <vector>

// The extensions the Files of `listed` use, in lower case, without the dot; "" for a
// File without one.
QSet<QString> ListedExtensions(const std::vector<GameRecord> &listed);

// Whether the table checks a candidate before the player does. Not one that cannot be
// listed, nor a file the emulator writes beside its games (saves, states, configuration,
// logs, pictures) or a folder it keeps them in; nor, when the list already has games
// (`listedExtensions` not empty), a file of an extension none of them uses.
bool ImportPreChecked(const ImportCandidate &candidate, const QSet<QString> &listedExtensions);
