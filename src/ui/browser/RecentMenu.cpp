#include "ui/browser/RecentMenu.h"

#include "core/gamedata/GameData.h"
#include "core/library/Library.h"
#include "ui/browser/GameMenu.h"

#include <limits>
#include <utility>
#include <vector>

namespace {
constexpr int RecentCount = 10;

// The games last played that the catalogue still lists, with their slots, newest first:
// at most `count`, asked of the history a few more at a time, since most are still listed.
std::vector<std::pair<zanku::PlayHistory::Game, int>> listedRecent(const zanku::Library &library,
                                                                   int count)
{
    std::vector<std::pair<zanku::PlayHistory::Game, int>> listed;
    size_t seen = 0; // each answer begins with the one before
    for (int asked = count;; asked = asked > std::numeric_limits<int>::max() / 4
                                         ? std::numeric_limits<int>::max()
                                         : asked * 4) {
        const std::vector<zanku::PlayHistory::Game> played =
            library.gameData().history().recent(asked);
        for (; seen < played.size(); ++seen) {
            if (const int slot = library.slotOf(library.gameData().shownKey(played[seen].key));
                slot != 0) {
                listed.emplace_back(played[seen], slot);
                if (listed.size() == size_t(count))
                    return listed;
            }
        }
        if (played.size() < size_t(asked))
            return listed;
    }
}
} // namespace

RecentMenu::RecentMenu(zanku::Library &library, QWidget *parent)
    : QMenu(tr("&Recently Played"), parent)
    , library_(library)
{
    setObjectName(QStringLiteral("RecentM"));
    connect(this, &QMenu::aboutToShow, this, &RecentMenu::refill);
    connect(&library_, &zanku::Library::historyChanged, this, &RecentMenu::grey);
    connect(&library_, &zanku::Library::catalogueChanged, this, &RecentMenu::grey);
    grey();
}

void RecentMenu::grey()
{
    menuAction()->setEnabled(!listedRecent(library_, 1).empty());
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
