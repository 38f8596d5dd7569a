#include "ui/editor/OptionsFrm.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/common/CoreText.h"
#include "core/editor/EditorRenames.h"
#include "core/library/Library.h"
#include "ui/common/Layout.h"
#include "ui/common/Messages.h"
#include "ui/common/Twips.h"
#include "ui/editor/ArchiveLinesOffer.h"
#include "ui/editor/RenameQuestions.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

QString WindowCaption()
{
    return OptionsFrm::tr("Edit Configuration");
}

OptionsFrm::OptionsFrm(zanku::Library &library, EditorMode mode, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window)
    , library_(library)
    , mode_(mode)
{
    setObjectName(QStringLiteral("OptionsFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(WindowCaption());
    setFixedSize(Twips(9615), Twips(6225));
    setFont(ArialFont(9.75));

    buildControls();
    Emulator->installEventFilter(this); // the wheel over the closed chooser is dropped

    // The import may add to the list shown.
    connect(&library_, &zanku::Library::romListChanged, this, &OptionsFrm::romListChanged);
    Form_Load();
}

// The controls, laid out in twips where players know them.
void OptionsFrm::buildControls()
{
    Grid = new EditorGrid(this);
    const auto button = [this](const char *name, const QString &text, QRect twips) {
        auto *made = new QPushButton(text, this);
        made->setObjectName(QLatin1String(name));
        PlaceTwips(made, twips.x(), twips.y(), twips.width(), twips.height());
        return made;
    };
    Aggiungi = button("Aggiungi", tr("&Add New"), {240, 5280, 2295, 375});
    Rimuovi = button("Rimuovi", tr("&Remove"), {240, 5760, 2295, 375});
    Salva = button("Salva", tr("&Save"), {6720, 5400, 1335, 495});
    Salva->setFont(ArialFont(12, true));
    cancella = button("cancella", tr("&Back"), {8160, 5400, 1215, 495});

    Emulator = new QComboBox(this);
    Emulator->setObjectName(QStringLiteral("Emulator"));
    Emulator->setEditable(true);
    Emulator->setInsertPolicy(QComboBox::NoInsert);
    Emulator->setCompleter(nullptr); // the text stays as typed
    PlaceTwips(Emulator, 2880, 120, 3855, 360);

    TRom = new QLabel(this);
    TRom->setObjectName(QStringLiteral("TRom"));
    PlaceTwips(TRom, 6960, 240, 2295, 255);

    const QList<QWidget *> tabOrder = {Grid, Aggiungi, Rimuovi, Salva, cancella, Emulator};
    for (qsizetype next = 1; next < tabOrder.size(); ++next)
        setTabOrder(tabOrder[next - 1], tabOrder[next]);

    connect(Aggiungi, &QPushButton::clicked, this, &OptionsFrm::Aggiungi_Click);
    connect(Rimuovi, &QPushButton::clicked, this, &OptionsFrm::Rimuovi_Click);
    connect(Salva, &QPushButton::clicked, this, &OptionsFrm::Salva_Click);
    connect(cancella, &QPushButton::clicked, this, &QWidget::close);
    connect(Emulator, &QComboBox::activated, this, &OptionsFrm::Emulator_Click);
    connect(Grid, &EditorGrid::editRequested, this, &OptionsFrm::Grid_dblClick);
}

void OptionsFrm::Form_Load()
{
    pendingNewRow_ = -1;
    changed_ = false;
    loadedEmulator_.clear();
    // Start from the file as it is now, not as the main window last loaded it.
    const zanku::ConfigRead config = library_.readConfigWithoutLoading();
    takeRead(config.status, config.version, config.error);
    Grid->setColumns(mode_);
    const bool roms = mode_ == EditorMode::Roms;
    Aggiungi->setEnabled(!roms);
    Rimuovi->setEnabled(!roms);
    Emulator->setVisible(roms);
    TRom->setVisible(roms);
    TRom->clear();
    Emulator->clear();
    if (roms) {
        configured_.clear();
        for (const EmulatorRecord &emulator : config.records)
            configured_.append(emulator.Name);
        Emulator->addItems(configured_);
        Emulator->setCurrentIndex(-1);
        Emulator->setEditText(tr("Choose an Emulator"));
        unreadable_ = false; // until a list is picked, there is nothing to save over
    } else {
        Grid->load(RowsOf(config.records));
    }
}

QString OptionsFrm::shownFile() const
{
    const QString name = mode_ == EditorMode::Roms ? RomListFileName(loadedEmulator_)
                                                   : QString::fromLatin1(ConfigFileName);
    return QDir(library_.programDir()).filePath(name);
}

void OptionsFrm::takeRead(TextReadResult::Status status, const FileVersion &version,
                          const QString &error)
{
    readAs_ = version;
    // A file there but unreadable must not be saved over: the grid does not show it.
    unreadable_ = status == TextReadResult::Unreadable;
    if (unreadable_)
        ShowMessage(tr("Error"), ReadErrorText(shownFile(), error));
}

QString OptionsFrm::shownList() const
{
    return mode_ == EditorMode::Roms ? tr("the ROM list of %1").arg(Quoted(loadedEmulator_))
                                     : tr("the emulator list");
}

bool OptionsFrm::askToDrop(const QString &question)
{
    return !hasUnsavedChanges() ||
           ShowMessage(WindowCaption(), question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void OptionsFrm::Emulator_Click(int index)
{
    // A pick from the list, with the mouse or the arrow keys, loads that emulator's list;
    // edits on screen are dropped only when the player says so.
    const QString name = Emulator->itemText(index);
    if (!askToDrop(tr("There are unsaved changes to the ROM list of %1.\nDrop them "
                      "and show the list of %2?")
                       .arg(Quoted(loadedEmulator_), Quoted(name)))) {
        const int loaded = Emulator->findText(loadedEmulator_);
        Emulator->setCurrentIndex(loaded);
        if (loaded < 0)
            Emulator->setEditText(tr("Choose an Emulator"));
        return;
    }
    if (name.isEmpty()) {
        Emulator->setEditText(tr("Choose an Emulator"));
        return;
    }
    LoadRomList(name);
    Aggiungi->setEnabled(true);
    Rimuovi->setEnabled(true);
}

void OptionsFrm::LoadRomList(const QString &emulatorName)
{
    const zanku::RomListRead read = library_.readRomList(emulatorName);
    loadedEmulator_ = emulatorName;
    takeRead(read.status, read.version, read.error);
    Grid->load(RowsOf(read.records));
    changed_ = false;
    for (int slot = 1; slot <= library_.EmulatorCount(); ++slot) {
        if (library_.emulator(slot).Name == emulatorName)
            changed_ = OfferArchiveLineFixes(WindowCaption(), *Grid, library_.emulator(slot),
                                             library_.programDir());
    }
    showCount();
}

void OptionsFrm::showCount()
{
    if (mode_ == EditorMode::Roms && !loadedEmulator_.isEmpty())
        TRom->setText(tr("Total Rom Listed :  %1").arg(zanku::LocalNumber(Grid->rowCount())));
}

void OptionsFrm::Aggiungi_Click()
{
    if (recordEditor_ != nullptr)
        return;
    const int row = Grid->rowCount();
    Grid->insertRow(row);
    // A new emulator passes its game where "%" stands: without it no game is started.
    EmulatorRecord fresh;
    fresh.Options = QStringLiteral("%");
    Grid->setRowCells(row, mode_ == EditorMode::Emulators ? EmulatorToRow(fresh) : GridRow());
    // An empty row is not a change until the record editor fills it.
    Grid->setCurrentCell(row, 0);
    pendingNewRow_ = row;
    openRecordEditor(row);
}

void OptionsFrm::Rimuovi_Click()
{
    const int current = Grid->currentRow();
    if (current < 0)
        return; // no data row is current
    Grid->removeRow(current);
    changed_ = true; // the grid keeps a current row: the next one, or the new last
    showCount();
}

void OptionsFrm::Grid_dblClick()
{
    if (Grid->rowCount() < 1 || recordEditor_ != nullptr)
        return; // no data row
    openRecordEditor(std::max(Grid->currentRow(), 0));
}

void OptionsFrm::openRecordEditor(int row)
{
    recordEditor_ = new OptionsNewFrm(mode_, Grid->rowCells(row), library_.programDir(), this);
    connect(recordEditor_, &OptionsNewFrm::finished, this,
            [this, row](bool confirmed, const GridRow &fields) {
                recordEditorFinished(row, confirmed, fields);
            });
    // The editor takes no input while a record is open; the record editor, a window of
    // its own, stays usable.
    setEnabled(false);
    recordEditor_->setEnabled(true);
    recordEditor_->bringForward();
}

void OptionsFrm::recordEditorFinished(int row, bool confirmed, const GridRow &fields)
{
    if (confirmed)
        changed_ = Grid->setRowCells(row, fields) || changed_;
    else if (row == pendingNewRow_)
        Grid->removeRow(row); // the empty row that Add New appended
    pendingNewRow_ = -1;
    recordEditor_ = nullptr;
    setEnabled(true);
    Grid->Ordina();
    showCount();
}

void OptionsFrm::Salva_Click()
{
    if (mode_ == EditorMode::Roms) {
        const QString problem =
            RomSaveProblem(Emulator->currentText(), loadedEmulator_, configured_);
        if (!problem.isEmpty()) {
            ShowMessage(tr("Error"), problem);
            return;
        }
    }
    if (unreadable_) {
        ShowMessage(tr("Error"), UnreadableSaveProblem(shownFile()));
        return;
    }
    saving_ = true;
    zanku::SaveResult result;
    if (mode_ == EditorMode::Roms) {
        result = library_.WriteRomList(loadedEmulator_, GamesOf(Grid->allRows()), readAs_);
    } else {
        const std::vector<EmulatorRecord> emulators = EmulatorsOf(Grid->allRows());
        const auto saves =
            AskAboutRenames(library_.programDir(),
                            RenamedEmulators(Grid->loadedNames(), Grid->names()), WindowCaption());
        if (!saves) {
            saving_ = false;
            return;
        }
        result = library_.WriteConfig(emulators, readAs_);
        if (result.status == zanku::SaveResult::Saved)
            afterEmulatorsSaved(emulators, *saves);
    }
    saving_ = false;
    switch (result.status) {
    case zanku::SaveResult::Saved:
        Saved = true;
        changed_ = false;
        readAs_ = result.version;
        break;
    case zanku::SaveResult::Failed: // the file on disk is whole; the grid keeps the edits
        ShowMessage(tr("Error"), result.error);
        break;
    case zanku::SaveResult::ChangedSinceRead: {
        const QString text = tr("%1 was changed by another program since it was opened.\n\nReload "
                                "it? The edits made here would be lost; No keeps them, unsaved.")
                                 .arg(Quoted(QFileInfo(shownFile()).fileName()));
        if (ShowMessage(WindowCaption(), text, MessageButtons::YesNo) != MessageAnswer::Yes)
            break;
        if (mode_ == EditorMode::Roms)
            LoadRomList(loadedEmulator_);
        else
            Form_Load();
        break;
    }
    }
}

void OptionsFrm::afterEmulatorsSaved(const std::vector<EmulatorRecord> &emulators,
                                     const QHash<QString, zanku::SavesCollision> &saves)
{
    QStringList problems;
    for (const auto &[from, to] : RenamedEmulators(Grid->loadedNames(), Grid->names()))
        problems +=
            library_.renameEmulator(from, to, saves.value(from, zanku::SavesCollision::SetAside));
    problems += library_.makeMissingRomLists(emulators);
    Grid->namesSaved();
    if (!problems.isEmpty())
        ShowMessage(tr("Error"), problems.join(u'\n'));
}

void OptionsFrm::romListChanged(const QString &emulatorName)
{
    if (saving_ || mode_ != EditorMode::Roms || emulatorName != loadedEmulator_)
        return;
    if (!hasUnsavedChanges()) {
        LoadRomList(loadedEmulator_);
        return;
    }
    ShowMessage(WindowCaption(),
                tr("%1 was changed by the import since it was opened. Your edits are "
                   "kept; a Save will offer to reload it first.")
                    .arg(Quoted(QFileInfo(shownFile()).fileName())));
}

bool OptionsFrm::hasUnsavedChanges() const
{
    return changed_ || recordEditor_ != nullptr;
}

void OptionsFrm::showAgain(EditorMode asked)
{
    if (asked != mode_) {
        const QString wanted =
            asked == EditorMode::Roms ? tr("the ROM lists") : tr("the emulator list");
        if (askToDrop(tr("There are unsaved changes to %1.\nDrop them and edit %2 "
                         "instead?")
                          .arg(shownList(), wanted))) {
            if (recordEditor_ != nullptr)
                recordEditor_->close(); // dropped like a Cancel
            mode_ = asked;
            Form_Load();
        }
    }
    bringForward();
}

void OptionsFrm::bringForward()
{
    CentreOverParent(this);
    show();
    raise();
    activateWindow();
    if (recordEditor_ != nullptr)
        recordEditor_->bringForward();
}

void OptionsFrm::closeEvent(QCloseEvent *event)
{
    // The record editor keeps this window until it is closed itself.
    if (recordEditor_ != nullptr) {
        event->ignore();
        recordEditor_->bringForward();
        return;
    }
    if (changed_) {
        const QString text =
            tr("There are unsaved changes to %1.\nSave them before closing?").arg(shownList());
        const MessageAnswer answer =
            ShowMessage(WindowCaption(), text, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Yes)
            Salva_Click();
        if (answer == MessageAnswer::Cancel || (answer == MessageAnswer::Yes && changed_)) {
            event->ignore(); // kept open, edits and all
            return;
        }
    }
    event->accept();
    Form_Unload();
}

bool OptionsFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched == Emulator)
        return true; // the closed chooser keeps its emulator
    return QWidget::eventFilter(watched, event);
}

void OptionsFrm::Form_Unload()
{
    if (Saved)
        library_.reload();
}
