#pragma once

#include "core/editor/EditorRecords.h"
#include "core/records/GameKey.h"

#include <QMainWindow>
#include <QPointer>

class AboutFrm;
class GamepadInput;
class GameListModel;
class GameListView;
class ImportFrm;
class LaunchFailureStrip;
class OptionsFrm;
class SnapshotFrame;
class ViewModes;
class QLabel;
class QMenu;
class QPushButton;

namespace zanku {
class GameFindModel;
class Library;
} // namespace zanku

// The start-up window: the game list, the snapshot of the chosen game, the buttons, the
// menus and the status bar, wired to the library and to the windows it opens.
class MainFrm : public QMainWindow {
    Q_OBJECT
public:
    // A view of `library`, which must outlive it.
    explicit MainFrm(zanku::Library &library, QWidget *parent = nullptr);

    // Loads the configuration and the catalogue; the window is shown after it returns.
    // Loading may end the program (a configuration file of a past version).
    void Form_Load();
    // Shows the window as the player left it last time (place, size, maximised, view), or
    // at its design size in the middle of the screen the first time; in full screen (the
    // couch view) when asked.
    void showAsRemembered(bool fullScreen = false);

    GameListModel *model() const;        // every game
    zanku::GameFindModel *shown() const; // the rows the grid shows
    QString statusText() const;          // panel 1
    void setStatusText(const QString &text);

    // The configuration editor while it is open.
    OptionsFrm *editor() const;

    // Ends the program as soon as this window is closed: the event loop stops at once
    // and every other window goes with this one, without being asked to close (so an
    // open editor neither reloads nor holds the program up).
    void endProgramWhenUnloaded();

    // Lets the controllers work this window: Back clicks ">>" while it is the active
    // window, and they are let go of while a launched emulator runs.
    void useGamepad(GamepadInput &gamepad);

signals:
    // The window was closed; the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void setListWidth(bool expanded);
    void placeControls();
    void remember() const;

    void Form_Unload();
    void AboutM_Click();
    void ImportM_Click();
    void Expand_Click();
    void showEditor(EditorMode mode);
    void ShowSelectedGame(const zanku::GameKey &game, int slot);

    zanku::Library &library_;
    QWidget *client_ = nullptr;
    GameListView *list_ = nullptr;
    ViewModes *viewModes_ = nullptr;
    QPushButton *Launch = nullptr;
    QPushButton *Expand = nullptr;
    QPushButton *Exit = nullptr;
    SnapshotFrame *Frame1 = nullptr;
    LaunchFailureStrip *failure_ = nullptr;
    QLabel *statusPanel1_ = nullptr;
    QLabel *statusPanel2_ = nullptr;
    QPointer<AboutFrm> about_;
    QPointer<OptionsFrm> editor_;
    QPointer<ImportFrm> import_;
    QPointer<QWidget> focusBeforeLaunch_;
    bool Expanded = false;
    bool unloaded_ = false;
};
