#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class OptionsNewFrm;

// "Choose Emulator Directory": drive, directory and file lists from which the player
// picks the emulator's program or one of its directories for the record editor. Which
// field the choice fills is App().DirTarget: 1 the program (and the emulator's
// directory), 2 the zipped ROM directory, 3 the snapshot directory.
class DirFrm : public QWidget {
    Q_OBJECT

public:
    // The chooser is a window of the record editor and closes with it.
    explicit DirFrm(OptionsNewFrm *recordEditor);

    // The directory opened in the directory list (absolute, with "/").
    QString currentDirectory() const { return directory_; }

    // The highlighted file's name, without directory; empty when none is highlighted.
    QString selectedFile() const;

    // Opens a directory in the lists, as a double-click on it does. A directory that
    // does not exist or cannot be read leaves the lists as they were.
    bool openDirectory(const QString &path);

    QComboBox *Drive1 = nullptr;
    QListWidget *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    QLineEdit *FileC = nullptr;
    QPushButton *OK = nullptr;
    QPushButton *Cancel = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Drive1_Change(int index);
    void Dir1_DblClick(QListWidgetItem *item);
    void Dir1_Change();
    void File1_DblClick();
    void OK_Click();
    void Cancel_Click();
    void applyChoice();

    void fillDrives();
    void showDriveOf(const QString &directory);

    OptionsNewFrm *recordEditor_;
    QString directory_;
    int driveIndex_ = -1;
};
