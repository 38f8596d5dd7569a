#pragma once

#include "core/records/GameKey.h"

#include <QList>

class QMenu;

namespace zanku {
class GameFindModel;
class Library;
} // namespace zanku

// Puts these games into Steam as non-Steam shortcuts for every Steam user of the home
// folder, and sums up in one box what was added, updated and left alone.
void AddGamesToSteam(zanku::Library &library, const QList<zanku::GameKey> &games);

// The same for every game the list shows now, once the player has agreed to the number.
void AddShownGamesToSteam(zanku::Library &library, const zanku::GameFindModel &shown);
// The File menu's item that does it.
void AddShownGamesItem(QMenu &menu, zanku::Library &library, const zanku::GameFindModel &shown);
