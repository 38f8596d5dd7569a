#pragma once

#include <QByteArray>
#include <QObject>

class CouchView;
class GameListView;
class GamepadInput;
class QAction;
class QMainWindow;
class QMenu;

namespace zanku {
class Library;
}

// The main window's View menu and what it switches: the list or the covers, which games
// are shown, and full screen, which is the couch view (for a TV and a controller). The
// window's controls are placed again through layoutChanged.
class ViewModes : public QObject {
    Q_OBJECT
public:
    ViewModes(QMainWindow &window, GameListView &list, zanku::Library &library);

    // Adds the "View" menu to the window's menu bar.
    void buildMenu();
    void showCovers(bool covers);
    // The window's place and size out of full screen, for the next run.
    QByteArray normalGeometry() const;
    void enterFullScreen();
    // The controllers' Back switches the couch view between the list and the covers.
    void useGamepad(GamepadInput &gamepad);
    // The couch view while it is shown; null otherwise.
    CouchView *couch() const;

signals:
    void layoutChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaveFullScreen();

    QMainWindow &window_;
    GameListView &list_;
    zanku::Library &library_;
    QAction *listView_ = nullptr;
    QAction *coverView_ = nullptr;
    QAction *fullScreen_ = nullptr;
    CouchView *couch_ = nullptr; // made the first time full screen is asked for
    QByteArray normalGeometry_;  // the window's place and size before full screen
};
