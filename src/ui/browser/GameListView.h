#pragma once

#include "core/records/GameKey.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class CoverView;
class FindBar;
class GameListModel;
class QAbstractItemView;
class QAction;
class QMenu;
class QStackedLayout;
class QTableView;

namespace zanku {
class GameFindModel;
class Library;
} // namespace zanku

// The game list of the main window: the grid `Lista` with every listed game, the find
// field and the favourites filter that narrow it, the first-start hint, the star before a
// favourite, the row menu and Ctrl+D. It speaks in games: it says which game is chosen,
// which one the player asked to launch, and what the count reads.
//
// One rule keeps it honest: after any change of the rows (a reload, a sort, the find
// field, the favourites, the history), the chosen game stays chosen, current and in view
// while it is shown; otherwise no row is current and no game is chosen. A change of the
// current row by the mouse, the keyboard or a controller chooses that game; while a key
// or a stick is held, the choice is told once the row has rested a moment.
class GameListView : public QWidget {
    Q_OBJECT
public:
    GameListView(zanku::Library &library, QWidget *parent);

    GameListModel *model() const { return model_; }
    zanku::GameFindModel *shown() const { return shown_; }
    // The game of the highlighted row; a null key when none is.
    zanku::GameKey currentGame() const;
    QAction *favouritesOnlyAction() const { return favouritesOnly_; }

    // The narrow list beside the picture, or the wide one with every column.
    void setExpanded(bool expanded);
    // Whether the player wants the Year or the Genre column (GameListModel's); it shows
    // while some game has a value for it.
    void setColumnWanted(int column, bool wanted);
    // The cover view in the list's place: the same rows, order, filters and chosen game.
    bool coversShown() const { return coversShown_; }
    void setCoversShown(bool covers);
    // Larger covers, for full screen.
    void setLargeCovers(bool large);
    // Whether the covers' last paint showed every tile's picture (none was still being
    // read): what a benchmark waits for.
    bool coversComplete() const;
    void openFind();
    // The find field, for typing into it by other means than the keyboard (the couch view's
    // letters).
    FindBar *findBar() const { return Find; }
    // The view shown now: the list or the covers.
    QAbstractItemView *activeView() const;
    // Enter, a double-click, the row menu: the highlighted game, if any.
    void launchCurrent();
    void toggleFavourite();
    // Shows all games, the favourites or one collection's (GameFindModel::Show); the chosen
    // game stays chosen, and comes back when a narrowing had hidden it.
    void showGames(int show, const QString &collection = {});
    // The commands for the chosen game, as the menu bar's "Game" menu and the row menu
    // show them.
    void fillGameMenu(QMenu &menu);

signals:
    // The game chosen now and its slot (a null key and 0: none); also when the same row is
    // clicked again.
    void currentGameChanged(const zanku::GameKey &game, int slot);
    void launchRequested(const zanku::GameKey &game);
    void countChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void rowsChanged(const zanku::GameKey &keep, bool reread = false);
    void currentMoved();
    void tell();
    void sortByTitle(int column);
    void showRowMenu(QAbstractItemView *view, const QPoint &at);
    void showRowMenuAtCurrent();
    void findChanged(const QString &text);
    void findClosed();
    int highlightedRow() const;
    void watchView(QAbstractItemView *view);
    void fitColumns();
    void showDetailColumns();

    zanku::Library &library_;
    GameListModel *model_ = nullptr;
    zanku::GameFindModel *shown_ = nullptr;
    QTableView *Lista = nullptr;
    CoverView *Covers = nullptr;
    QStackedLayout *views_ = nullptr;
    bool coversShown_ = false;
    FindBar *Find = nullptr;
    QAction *favouritesOnly_ = nullptr;
    bool expanded_ = false;
    bool yearWanted_ = true, genreWanted_ = true;
    zanku::GameKey chosen_;     // the game told last
    zanku::GameKey beforeLoad_; // the game chosen when the catalogue began to change
    zanku::GameKey hidden_;     // the game chosen when the shown games left it out
    bool moving_ = false;       // the view itself is setting the current row
    bool byKeys_ = false;       // the last move came from a key or a controller
    bool toldOnPress_ = false;  // the current click's press already told its row
    QElapsedTimer lastKeyMove_;
    QTimer rest_; // a held key's moves are told once the row rests
};
