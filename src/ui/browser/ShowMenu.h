#pragma once

#include <QMenu>

class GameListView;

namespace zanku {
class Library;
}

// View > "Show": which games the list and the covers show — "All Games", "Favourites" or
// one collection — and the shown collection renamed or deleted. Made afresh each time it
// opens, so collections made meanwhile (here or by another Zanku) are there.
class ShowMenu : public QMenu {
    Q_OBJECT
public:
    ShowMenu(zanku::Library &library, GameListView &list, QWidget *parent);

private:
    void refill();
    void renameShown();
    void deleteShown();

    zanku::Library &library_;
    GameListView &list_;
};
