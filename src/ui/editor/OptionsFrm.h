#pragma once

#include "core/editor/EditorRecords.h"
#include "core/files/TextFile.h"
#include "core/library/SavesRename.h"
#include "ui/editor/EditorGrid.h"
#include "ui/editor/OptionsNewFrm.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace zanku {
class Library;
}

// The caption of the editor and of the questions it asks.
QString WindowCaption();

// "Edit Configuration": the emulator list or one emulator's ROM list in the grid `Grid`.
// Nothing reaches a file before Save, and a Save never writes over a file that changed
// since it was read; closing the window after a save reloads the library, and with it
// the main window's list.
class OptionsFrm : public QWidget {
    Q_OBJECT

public:
    OptionsFrm(zanku::Library &library, EditorMode mode, QWidget *mainWindow);

    // The mode the window edits in.
    EditorMode mode() const { return mode_; }

    // The menu asked for the editor again, in this mode: it comes to the front, and a
    // different mode is loaded only when nothing would be lost or the player agrees.
    void showAgain(EditorMode asked);

    bool hasUnsavedChanges() const;

    // The rows of the grid (0 is the first data row), in the mode's column order.
    int rowCount() const { return Grid->rowCount(); }
    GridRow rowCells(int row) const { return Grid->rowCells(row); }

    OptionsNewFrm *recordEditor() const { return recordEditor_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Emulator_Click(int index);
    void LoadRomList(const QString &emulatorName);
    void Aggiungi_Click();
    void Rimuovi_Click();
    void Grid_dblClick();
    void Salva_Click();
    void Form_Unload();

    bool askToDrop(const QString &question);
    void takeRead(TextReadResult::Status status, const FileVersion &version, const QString &error);
    void afterEmulatorsSaved(const std::vector<EmulatorRecord> &emulators,
                             const QHash<QString, zanku::SavesCollision> &saves);
    void romListChanged(const QString &emulatorName);
    void openRecordEditor(int row);
    void recordEditorFinished(int row, bool confirmed, const GridRow &fields);
    void showCount();
    void bringForward();
    QString shownFile() const;
    QString shownList() const; // "the emulator list" or "the ROM list of ..."

    zanku::Library &library_;
    EditorMode mode_;
    bool Saved = false;
    bool changed_ = false;    // the grid differs from what was loaded or last saved
    bool saving_ = false;     // a Save of this window is under way
    QString loadedEmulator_;  // whose ROM list the grid holds; empty before a pick
    QStringList configured_;  // the emulators the chooser offers
    bool unreadable_ = false; // the file the grid stands for could not be read
    FileVersion readAs_;      // what that file was read as, for the next Save
    int pendingNewRow_ = -1;  // the row Add New appended, until its record editor closes

    EditorGrid *Grid = nullptr;
    QPushButton *Aggiungi = nullptr;
    QPushButton *Rimuovi = nullptr;
    QPushButton *Salva = nullptr;
    QPushButton *cancella = nullptr;
    QComboBox *Emulator = nullptr;
    QLabel *TRom = nullptr;
    QPointer<OptionsNewFrm> recordEditor_;
};
