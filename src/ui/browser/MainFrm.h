#pragma once

#include "core/editor/EditorRecords.h"

#include <QMainWindow>
#include <QModelIndex>
#include <QPointer>

class AboutFrm;
class FindBar;
class GamepadInput;
class GameListModel;
class ImportFrm;
class OptionsFrm;
class SnapshotFrame;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace zanku {
class GameFindModel;
class Library;
} // namespace zanku

// The start-up window: every available game of every emulator in one grid, the
// snapshot of the selected game, the buttons, the menus and the status bar.
class MainFrm : public QMainWindow {
    Q_OBJECT
public:
    // A view of `library`, which must outlive it.
    explicit MainFrm(zanku::Library &library, QWidget *parent = nullptr);

    // Loads the configuration and the catalogue; the window is shown after it returns.
    // Loading may end the program (a configuration file of a past version).
    void Form_Load();

    GameListModel *model() const { return model_; }        // every game
    zanku::GameFindModel *shown() const { return shown_; } // the rows the grid shows
    QString statusText() const;                            // panel 1
    void setStatusText(const QString &text);

    // The configuration editor and the import window while they are open.
    OptionsFrm *editor() const;
    ImportFrm *importer() const;

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

    void Form_Unload();
    void Exit_Click();
    void AboutM_Click();
    void ENewM_Click();
    void ERomM_Click();
    void ImportM_Click();
    void Expand_Click();
    void Launch_Click();
    void Lista_Click(const QModelIndex &index);
    void Lista_HeaderClick(int column);
    void Lista_DblClick(const QModelIndex &index);
    void Lista_RowColChange();

    void showEditor(EditorMode mode);
    void catalogueChanged();
    int highlightedRow() const;
    QStringList keyOf(int row) const; // emulator, name and file of the row's game
    void launchCurrentRow();
    void findChanged(const QString &text);
    void buildPlayedMenus(QMenu *fileMenu, QAction *before);
    void refillRecent();
    void showRowMenu(const QPoint &at);
    void toggleFavourite();
    void showFavouritesOnly(bool only);
    void selectionMoved();
    void findClosed();
    void ShowSelectedGame();
    bool mouseIsOverDataRow() const { return mouseRow_ > 0; }

    zanku::Library &library_;
    GameListModel *model_ = nullptr;
    zanku::GameFindModel *shown_ = nullptr;
    FindBar *Find = nullptr;
    QMenu *recentMenu_ = nullptr;
    QAction *favouritesOnly_ = nullptr;
    QTableView *Lista = nullptr;
    QPushButton *Launch = nullptr;
    QPushButton *Expand = nullptr;
    QPushButton *Exit = nullptr;
    SnapshotFrame *Frame1 = nullptr;
    QLabel *statusPanel1_ = nullptr;
    QLabel *statusPanel2_ = nullptr;
    QPointer<AboutFrm> about_;
    QPointer<OptionsFrm> editor_;
    QPointer<ImportFrm> import_;
    QPointer<QWidget> focusBeforeLaunch_;
    QStringList highlightedKey_;    // of the game highlighted before the catalogue changed
    int mouseRow_ = -1;             // grid row last under the mouse pointer: 0 titles, 1 up data
    bool previewedOnPress_ = false; // the current click's press already showed its row
    bool Expanded = false;
    bool unloaded_ = false;
};
