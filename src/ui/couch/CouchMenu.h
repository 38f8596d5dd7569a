#pragma once

#include <QMenu>

class GameListView;

namespace zanku {
class Library;
}

// The couch view's one menu, on a controller's Start (or Y) button: the chosen game's
// commands as the desktop's "Game" menu has them (launch, Launch With, favourite,
// collections), then what the desktop's menu bar and buttons do from the sofa: the
// favourites only, the list or the covers, find, leaving the couch view and quitting.
class CouchMenu : public QMenu {
    Q_OBJECT
public:
    CouchMenu(zanku::Library &library, GameListView &list, QWidget *parent);

    // Made afresh for the game chosen now, then shown in the middle of `over`.
    void popupOver(QWidget *over);

signals:
    void findRequested();
    void switchViewRequested();
    void leaveRequested();
    void quitRequested();

private:
    void fill();

    zanku::Library &library_;
    GameListView &list_;
};
