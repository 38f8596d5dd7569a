#pragma once

#include "core/records/GameKey.h"

#include <QTextBrowser>

class GameListView;

namespace zanku {
class Library;
}

// The chosen game's details under its picture: title, year, developer, publisher, genre,
// players, rating and description, as other programs' files give them; for a game they do
// not describe, its type and file. A game with no picture at all says where one is looked
// for. It follows the list's highlight as the picture does; its text can be selected.
//
// Its first paint starts the reading of the details: nothing of theirs holds up the window.
class GameDetailsPanel : public QTextBrowser {
    Q_OBJECT
public:
    GameDetailsPanel(zanku::Library &library, GameListView &list, QWidget *parent);

    // Shows this game's details; a null key shows none.
    void showGame(const zanku::GameKey &game, int slot);

protected:
    bool viewportEvent(QEvent *event) override;

private:
    QString factsOf(int slot) const;
    QString pictureHint(const zanku::GameKey &game, int slot) const;

    zanku::Library &library_;
    zanku::GameKey game_;
    bool painted_ = false;
};
