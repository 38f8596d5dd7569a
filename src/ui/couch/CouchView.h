#pragma once

#include "core/records/GameKey.h"

#include <QPointer>
#include <QWidget>

class CouchMenu;
class CouchPicture;
class GameDetailsPanel;
class GameListView;
class LaunchFailureStrip;
class LetterRow;
class QLabel;
class QMainWindow;

namespace zanku {
class Library;
}

// The full-screen view for a TV and a controller: the window's own game list (the covers
// or the list) large on the left, the chosen game's picture and details on the right, the
// buttons' meaning along the bottom; no menu bar, no desktop buttons, no status line. Text
// is at least a fortieth of the screen's height. Everything else is on one menu (Start).
//
// It lies over the window's content while shown and borrows the list and the launch
// failure strip from it, giving them back when it leaves. Esc from the keyboard leaves;
// a controller's B only closes what is open, so a stray press keeps the player here.
class CouchView : public QWidget {
    Q_OBJECT
public:
    CouchView(QMainWindow &window, GameListView &list, zanku::Library &library);

    void enter();
    void leave();
    bool active() const { return active_; }
    // The height the text is given on a screen this tall.
    static int textPixels(int screenHeight);

signals:
    void switchViewRequested();
    void leaveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void chooseFirst();
    void showGame(const zanku::GameKey &game, int slot);
    QString pictureOf(const zanku::GameKey &game, int slot) const;
    bool handleKey(QKeyEvent *key);
    void openFind();
    void closeLetters(bool keepFound);
    void askQuit();
    void backFromGame(bool running);

    QMainWindow &window_;
    GameListView &list_;
    zanku::Library &library_;
    QWidget *listPlace_ = nullptr; // where the list lies in the couch view
    CouchPicture *picture_ = nullptr;
    GameDetailsPanel *details_ = nullptr;
    LetterRow *letters_ = nullptr;
    QLabel *hints_ = nullptr;
    CouchMenu *menu_ = nullptr;
    LaunchFailureStrip *failure_ = nullptr; // the window's launch failure strip
    QPointer<QWidget> listHome_;            // the list's and the strip's place in the window
    QRect listGeometry_;
    bool active_ = false;
};
