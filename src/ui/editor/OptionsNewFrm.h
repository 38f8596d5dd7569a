#pragma once

#include "ui/editor/DirFrm.h"
#include "core/editor/EditorRecords.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class OptionsFrm;

// The record editor: one row of the editor's grid, an emulator or a game, in fields
// T0 to T5. It writes the fields back into that row on an accepted OK. While it is open
// the editor window is disabled.
class OptionsNewFrm : public QWidget {
    Q_OBJECT

public:
    // Edits `row` of `editor`'s grid, in the editor's mode.
    OptionsNewFrm(OptionsFrm *editor, int row);

    EditorMode mode() const { return mode_; }
    int editedRow() const { return row_; }

    // In emulator mode, the emulator's directory (grid column 2), which has no field of
    // its own; the chooser reads it to start there and sets it with the program.
    QString emupath;

    QLineEdit *T0 = nullptr;
    QLineEdit *T1 = nullptr;
    QLineEdit *T2 = nullptr;
    QLineEdit *T3 = nullptr;
    QLineEdit *T4 = nullptr;
    QComboBox *T5 = nullptr;

    // The chooser tells the record editor that it has closed.
    void chooserClosed();
    DirFrm *chooser() const { return chooser_; }

    void bringForward();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void OK_Click();
    void Cancel_Click();
    void Form_Unload();
    void DirT1_Click();
    void DirT2_Click();
    void DirT3_Click();

    void showChooser(int target);
    GridRow fieldsAsRow() const;

    OptionsFrm *editor_;
    int row_;
    EditorMode mode_;
    bool Confirmed = false;

    QLabel *CTitle = nullptr;
    QLabel *C[5] = {};
    QPushButton *DirT1 = nullptr;
    QPushButton *DirT2 = nullptr;
    QPushButton *DirT3 = nullptr;
    QPushButton *Ok = nullptr;
    QPushButton *Cancel = nullptr;
    QPointer<DirFrm> chooser_;
};
