// What was played, in the main window: File > "Recently Played", the list's context menu
// with the favourites, Ctrl+D, and the star before a favourite's name.

#include "core/catalogue/GameFindModel.h"
#include "core/library/Library.h"
#include "ui/browser/FavouriteDelegate.h"
#include "ui/browser/MainFrm.h"
#include "ui/browser/SnapshotFrame.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include <algorithm>
#include <limits>

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
        const std::vector<zanku::PlayHistory::Game> played = library.history().recent(asked);
        for (; seen < played.size(); ++seen) {
            if (const int slot = library.slotOf(played[seen]); slot != 0) {
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

void MainFrm::buildPlayedMenus(QMenu *fileMenu, QAction *before)
{
    recentMenu_ = new QMenu(QStringLiteral("Recently Played"), fileMenu);
    recentMenu_->setObjectName(QStringLiteral("RecentM"));
    fileMenu->insertMenu(before, recentMenu_);
    fileMenu->insertSeparator(before);
    // Filled as it opens; greyed while no game it would list is still listed.
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainFrm::refillRecent);
    const auto grey = [this] {
        recentMenu_->menuAction()->setEnabled(!listedRecent(library_, 1).empty());
    };
    connect(&library_, &zanku::Library::historyChanged, this, grey);
    connect(&library_, &zanku::Library::catalogueChanged, this, grey);
    grey();

    favouritesOnly_ = new QAction(QStringLiteral("Show Favourites Only"), this);
    favouritesOnly_->setObjectName(QStringLiteral("FavouritesOnlyM"));
    favouritesOnly_->setCheckable(true);
    connect(favouritesOnly_, &QAction::toggled, this, &MainFrm::showFavouritesOnly);
    connect(&library_, &zanku::Library::historyChanged, this,
            [this] { statusPanel2_->setText(shown_->countText()); });

    Lista->setItemDelegate(new FavouriteDelegate(Lista));
    Lista->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Lista, &QWidget::customContextMenuRequested, this, &MainFrm::showRowMenu);
    auto *toggle = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connect(toggle, &QShortcut::activated, this, &MainFrm::toggleFavourite);
}

void MainFrm::refillRecent()
{
    // The last games played that the catalogue still lists, newest first.
    recentMenu_->clear();
    for (const auto &[game, slot] : listedRecent(library_, RecentCount)) {
        QAction *launch =
            recentMenu_->addAction(QStringLiteral("%1 (%2)").arg(game.name, game.emulator), this,
                                   [this, slot = slot, name = game.name, emulator = game.emulator] {
                                       library_.LaunchGame(slot, name, emulator);
                                   });
        launch->setData(slot);
    }
}

void MainFrm::showRowMenu(const QPoint &at)
{
    const QModelIndex index = Lista->indexAt(at);
    QMenu menu(this);
    if (index.isValid() && library_.EmulatorCount() != 0) {
        // The row clicked is the one the commands act on, chosen as a click chooses it.
        Lista->setCurrentIndex(shown_->index(index.row(), 0));
        selectionMoved();
        menu.addAction(QStringLiteral("Launch"), this, &MainFrm::launchCurrentRow);
        const bool favourite =
            index.siblingAtColumn(0).data(zanku::GameFindModel::FavouriteRole).toBool();
        menu.addAction(favourite ? QStringLiteral("Remove from Favourites")
                                 : QStringLiteral("Add to Favourites"),
                       this, &MainFrm::toggleFavourite);
        menu.addSeparator();
    }
    menu.addAction(favouritesOnly_);
    menu.exec(Lista->viewport()->mapToGlobal(at));
}

void MainFrm::toggleFavourite()
{
    const int row = highlightedRow();
    const int slot = shown_->slotAt(row);
    if (slot == 0)
        return;
    const bool favourite = shown_->index(row, 0).data(zanku::GameFindModel::FavouriteRole).toBool();
    library_.setFavourite(slot, shown_->cell(row, 2), !favourite);
}

void MainFrm::showFavouritesOnly(bool only)
{
    const int slot = shown_->slotAt(highlightedRow());
    shown_->setFavouritesOnly(only);
    statusPanel2_->setText(shown_->countText());
    // The game chosen stays chosen when it is shown.
    for (int row = 0; slot != 0 && row < shown_->rowCount(); ++row) {
        if (shown_->slotAt(row) == slot) {
            Lista->setCurrentIndex(shown_->index(row, 0));
            Lista->scrollTo(shown_->index(row, 0));
            return;
        }
    }
    Lista->setCurrentIndex(QModelIndex());
    Launch->setEnabled(false);
    Frame1->showTitle();
}
