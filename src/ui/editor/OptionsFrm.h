#pragma once

#include "core/editor/EditorRecords.h"
#include "ui/editor/OptionsNewFrm.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Edit Configuration": the emulator list or one emulator's ROM list in the grid `Grid`.
// Nothing reaches a file before Save; closing the window after a save reloads the
// configuration and the catalogue, and with them the main window's list.
class OptionsFrm : public QWidget {
    Q_OBJECT

public:
    explicit OptionsFrm(QWidget *mainWindow);

    // The mode fixed when the window loaded.
    EditorMode mode() const { return mode_; }

    // The menu asked for the editor again, in this mode: it comes to the front, and a
    // different mode is loaded only when nothing would be lost or the player agrees.
    void showAgain(EditorMode asked);

    bool hasUnsavedChanges() const;
    bool savedSinceLoad() const { return Saved; }

    // What the record editor uses: the rows (0 is the first data row) and the sort.
    int rowCount() const;
    GridRow rowCells(int row) const;
    void setRowCells(int row, const GridRow &cells);
    void removeGridRow(int row);
    void Ordina();

    // The record editor tells the editor that it has closed.
    void recordEditorClosed();
    OptionsNewFrm *recordEditor() const { return recordEditor_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Emulator_Click();
    void LoadRomList(const QString &emulatorName);
    void Aggiungi_Click();
    void Rimuovi_Click();
    void Grid_dblClick();
    void Salva_Click();
    void cancella_Click();
    void Form_Unload();

    void openRecordEditor(int row);
    void startOnFirstRow();
    void notePickFromList();
    void rememberIfUnreadable(const QString &path);
    void bringForward();
    std::vector<GridRow> allRows() const;
    QStringList configuredEmulators() const;

    EditorMode mode_ = EditorMode::Emulators;
    bool Saved = false;
    bool changed_ = false;         // the grid differs from what was loaded or last saved
    QString loadedEmulator_;       // whose ROM list the grid holds; empty before a pick
    QString unreadableFile_;       // the file the grid stands for, when it could not be read
    bool pickingFromList_ = false; // a click or Enter in the chooser's open list is under way

    QTableWidget *Grid = nullptr;
    QPushButton *Aggiungi = nullptr;
    QPushButton *Rimuovi = nullptr;
    QPushButton *Salva = nullptr;
    QPushButton *cancella = nullptr;
    QComboBox *Emulator = nullptr;
    QLabel *TRom = nullptr;
    QPointer<OptionsNewFrm> recordEditor_;
};

// Shows the configuration editor in the mode App().EditMode asks for, creating it as a
// window of `mainWindow`, or brings the open one to the front.
void ShowOptionsFrm(QWidget *mainWindow);

// The open configuration editor, or nullptr.
OptionsFrm *OptionsFrmWindow();
