#pragma once

#include <QMainWindow>
#include <QModelIndex>
#include <QPointF>

class GameListModel;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

// The start-up window: every available game of every emulator in one grid, the
// snapshot of the selected game, the buttons, the menus and the status bar.
class MainFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrm(QWidget *parent = nullptr);
    ~MainFrm() override;

    // Records the program directory and loads the configuration and the catalogue; the
    // window is shown after it returns. Loading may end the program (a configuration
    // file of a past version).
    void Form_Load();

    GameListModel *model() const { return model_; }
    QString statusText() const;    // panel 1
    QString gameCountText() const; // panel 2
    void setStatusText(const QString &text);

    // Ends the program as soon as this window is closed: the event loop stops at once
    // and every other window goes with this one, without being asked to close (so an
    // open editor neither reloads nor holds the program up).
    void endProgramWhenUnloaded();

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

    void launchCurrentRow();
    void ShowSelectedGame();
    void showSnapshot(const QString &picturePath);
    bool mouseIsOverDataRow() const { return mouseRow_ > 0; }

    GameListModel *model_ = nullptr;
    QTableView *Lista = nullptr;
    QPushButton *Launch = nullptr;
    QPushButton *Expand = nullptr;
    QPushButton *Exit = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Snap = nullptr;
    QLabel *Title = nullptr;
    QLabel *NotPic = nullptr;
    QLabel *statusPanel1_ = nullptr;
    QLabel *statusPanel2_ = nullptr;
    QWidget *about_ = nullptr;
    int SavedSnapWidth = 0; // the picture box's design size, in twips
    int SavedSnapHeight = 0;
    QPointF snapPosition_;          // the picture box's position in its frame, in twips
    int mouseRow_ = -1;             // grid row last under the mouse pointer: 0 titles, 1 up data
    bool previewedOnPress_ = false; // the current click's press already showed its row
    bool Expanded = false;
    bool unloaded_ = false;
};
