#include "ui/browser/RecentMenu.h"

#include "core/gamedata/GameData.h"
#include "core/library/Library.h"
#include "ui/browser/GameMenu.h"

#include <utility>
#include <vector>

namespace {
constexpr int RecentCount = 10;

// The games last played that the catalogue still lists, with their slots, newest first:
// at most `count`, found in one pass over the history.
std::vector<std::pair<zanku::PlayHistory::Game, int>> listedRecent(const zanku::Library &library,
                                                                   int count)
{
    std::vector<std::pair<zanku::PlayHistory::Game, int>> listed;
    const zanku::GameData &data = library.gameData();
    data.history().visitRecent([&](const zanku::PlayHistory::Game &game) {
        if (const int slot = library.slotOf(data.shownKey(game.key)); slot != 0)
            listed.emplace_back(game, slot);
        return listed.size() < size_t(count);
    });
    return listed;
}

// Whether any game played is still listed, looked up from the smaller side: a few games
// listed beside a long history are asked of it by key, and the other way round.
bool anyListedPlayed(const zanku::Library &library)
{
    const zanku::GameData &data = library.gameData();
    if (library.GameCount() > data.history().count())
        return !listedRecent(library, 1).empty();
    for (int slot = 1; slot <= library.GameCount(); ++slot) {
        const std::optional<zanku::PlayHistory::Game> game = data.played(library.keyOf(slot));
        if (game && game->lastPlayed.isValid())
            return true;
    }
    return false;
}
} // namespace

RecentMenu::RecentMenu(zanku::Library &library, QMenu *parent)
    : QMenu(tr("&Recently Played"), parent)
    , library_(library)
{
    setObjectName(QStringLiteral("RecentM"));
    connect(this, &QMenu::aboutToShow, this, &RecentMenu::refill);
    // Greyed or not is seen only in the open File menu: worked out as it opens, once after
    // each change, so neither the start-up nor a launch walks the history for it.
    const auto stale = [this] { stale_ = true; };
    connect(&library_, &zanku::Library::historyChanged, this, stale);
    connect(&library_, &zanku::Library::catalogueChanged, this, stale);
    connect(parent, &QMenu::aboutToShow, this, [this] {
        if (std::exchange(stale_, false))
            menuAction()->setEnabled(anyListedPlayed(library_));
    });
}

void RecentMenu::refill()
{
    clear();
    for (const auto &[game, slot] : listedRecent(library_, RecentCount)) {
        QAction *launch =
            addAction(MenuText(QStringLiteral("%1 (%2)").arg(game.key.name, game.key.emulator)),
                      this, [this, key = library_.keyOf(slot)] { library_.LaunchGame(key); });
        launch->setData(slot);
    }
}
