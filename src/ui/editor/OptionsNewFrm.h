#pragma once

#include "core/editor/EditorRecords.h"
#include "ui/editor/DirFrm.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The record editor: one row of the editor's grid, an emulator or a game, in fields
// T0 to T5. It says when it closes whether the player confirmed the fields, and what
// they hold; the editor window that opened it applies them.
class OptionsNewFrm : public QWidget {
    Q_OBJECT

public:
    // Edits `cells` (a row in the mode's column order) as a window of `editor`. The
    // chooser starts in `programDir` when the emulator has no directory yet.
    OptionsNewFrm(EditorMode mode, const GridRow &cells, const QString &programDir,
                  QWidget *editor);

    EditorMode mode() const { return mode_; }

    // In emulator mode, the Games Directory: the emulator's directory (grid column 2),
    // where its games lie. The program's chooser starts there and may set it.
    QLineEdit *emupath = nullptr;

    QLineEdit *T0 = nullptr;
    QLineEdit *T1 = nullptr;
    QLineEdit *T2 = nullptr;
    QLineEdit *T3 = nullptr;
    QLineEdit *T4 = nullptr;
    QComboBox *T5 = nullptr;

    DirFrm *chooser() const { return chooser_; }
    void bringForward();

signals:
    // The dialog has closed: `confirmed` after an accepted OK, with the fields as a row.
    void finished(bool confirmed, const GridRow &fields);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load(const GridRow &cells);
    void OK_Click();
    void Cancel_Click();
    void Form_Unload();
    void showChooser(DirFrm::Target target);
    void applyChoice(DirFrm::Target target, const QString &file, const QString &directory);
    void gamesDirectoryChanged();
    GridRow fieldsAsRow() const;

    EditorMode mode_;
    QString programDir_;
    bool Confirmed = false;

    QLabel *CTitle = nullptr;
    QLabel *C[5] = {};
    QPushButton *DirT1 = nullptr;
    QPushButton *DirT2 = nullptr;
    QPushButton *DirT3 = nullptr;
    QPushButton *DirEmupath = nullptr;
    QLabel *CEmupath = nullptr;
    QString gamesDirectoryBefore_; // what the program was last found from
    QPushButton *Ok = nullptr;
    QPushButton *Cancel = nullptr;
    QPointer<DirFrm> chooser_;
};
