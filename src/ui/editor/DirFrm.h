#pragma once

#include <QFileDialog>
#include <QString>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Choose Emulator Directory": drive, directory and file lists from which the player
// picks the emulator's program or one of its directories for the record editor. Its OK
// says which field the choice is for: the program (and with it, for an emulator that
// keeps its games beside it, the Games Directory), the Games Directory, the zipped ROM
// directory or the snapshot directory. "Browse..." picks the same through the desktop's
// own file dialog.
class DirFrm : public QWidget {
    Q_OBJECT

public:
    enum Target { Program = 1, ZippedRoms = 2, Snapshots = 3, GamesDirectory = 4 };

    // Opens at `start`, or at `fallback` when that cannot be read; a window of the record
    // editor, it closes with it.
    DirFrm(Target target, const QString &start, const QString &fallback, QWidget *recordEditor);

    // A directory's chooser lists all its files, so that the player sees the games there;
    // the program's lists only programs.
    void setTarget(Target target);

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
    QPushButton *Browse = nullptr;

    // How "Browse..." opens its dialog: the platform's own unless told otherwise.
    QFileDialog::Options browseOptions;

signals:
    // OK: the highlighted file (empty when none) and the directory opened, for `target`.
    void chosen(DirFrm::Target target, const QString &file, const QString &directory);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load(const QString &start);
    void Drive1_Change(int index);
    void Dir1_DblClick(QListWidgetItem *item);
    void Dir1_Change();
    void File1_DblClick();
    void OK_Click();
    void Cancel_Click();
    void Browse_Click();
    // What OK and "Browse..." both do with a choice: hand it to the record editor, close.
    void choose(Target target, const QString &file, const QString &directory);

    void fillDrives();
    void showDriveOf(const QString &directory);

    Target target_;
    QString fallback_; // where a drive's lists open when the program directory is not on it
    QString directory_;
    int driveIndex_ = -1;
};
