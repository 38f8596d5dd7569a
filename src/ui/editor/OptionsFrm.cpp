#include "ui/editor/OptionsFrm.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/library/Library.h"
#include "ui/common/Layout.h"
#include "ui/common/Messages.h"
#include "ui/common/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace {
constexpr int GridWidth = 9375;
const QString ChooseAnEmulator = QStringLiteral("Choose an Emulator");
} // namespace

OptionsFrm::OptionsFrm(zanku::Library &library, EditorMode mode, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window)
    , library_(library)
    , mode_(mode)
{
    setObjectName(QStringLiteral("OptionsFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(WindowCaption);
    setFixedSize(Twips(9615), Twips(6225));
    setFont(ArialFont(9.75));

    buildControls();
    // A double-click anywhere on the grid, its titles included, edits the current row;
    // so do Enter and F2. The wheel over the closed chooser is dropped.
    Grid->installEventFilter(this);
    Grid->viewport()->installEventFilter(this);
    Grid->horizontalHeader()->viewport()->installEventFilter(this);
    Emulator->installEventFilter(this);

    // The import may add to the list shown.
    connect(&library_, &zanku::Library::romListChanged, this, &OptionsFrm::romListChanged);
    Form_Load();
}

void OptionsFrm::Form_Load()
{
    pendingNewRow_ = -1;
    changed_ = false;
    loadedEmulator_.clear();
    // Start from the file as it is now, not as the main window last loaded it.
    const zanku::ConfigRead config = library_.readConfigWithoutLoading();
    unreadable_ = config.status == TextReadResult::Unreadable;
    readAs_ = config.version;
    if (unreadable_)
        ShowMessage(QStringLiteral("Error"), ReadErrorText(shownFile(), config.error));

    const QStringList titles = ColumnTitlesFor(mode_);
    const std::vector<int> tenths = ColumnTenthsFor(mode_);
    Grid->setRowCount(0);
    Grid->setColumnCount(int(titles.size()));
    for (int column = 0; column < int(titles.size()); ++column) {
        auto *header = new QTableWidgetItem(titles.at(column));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Grid->setHorizontalHeaderItem(column, header);
        Grid->setColumnWidth(column, Twips(ColumnWidthTwips(GridWidth, tenths[size_t(column)])));
    }

    const bool roms = mode_ == EditorMode::Roms;
    Aggiungi->setEnabled(!roms);
    Rimuovi->setEnabled(!roms);
    Salva->setEnabled(true);
    Emulator->setVisible(roms);
    TRom->setVisible(roms);
    TRom->clear();
    Emulator->clear();
    if (roms) {
        for (const EmulatorRecord &emulator : config.records)
            Emulator->addItem(emulator.Name);
        Emulator->setCurrentIndex(-1);
        Emulator->setEditText(ChooseAnEmulator);
        unreadable_ = false; // until a list is picked, there is nothing to save over
    } else {
        Grid->setRowCount(int(config.records.size()));
        for (size_t row = 0; row < config.records.size(); ++row) {
            setRowCells(int(row), EmulatorToRow(config.records[row]));
            setLoadedName(int(row), config.records[row].Name);
        }
        changed_ = false;
    }
    Ordina();
    startOnFirstRow();
}

QString OptionsFrm::shownFile() const
{
    const QString name = mode_ == EditorMode::Roms ? RomListFileName(loadedEmulator_)
                                                   : QString::fromLatin1(ConfigFileName);
    return QDir(library_.programDir()).filePath(name);
}

bool OptionsFrm::askToDrop(const QString &question)
{
    return !hasUnsavedChanges() ||
           ShowMessage(WindowCaption, question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void OptionsFrm::Emulator_Click(int index)
{
    // A pick from the list, with the mouse or the arrow keys, loads that emulator's list;
    // edits on screen are dropped only when the player says so.
    const QString name = Emulator->itemText(index);
    if (!askToDrop(QStringLiteral("There are unsaved changes to the ROM list of %1.\nDrop them "
                                  "and show the list of %2?")
                       .arg(Quoted(loadedEmulator_), Quoted(name)))) {
        const int loaded = Emulator->findText(loadedEmulator_);
        Emulator->setCurrentIndex(loaded);
        if (loaded < 0)
            Emulator->setEditText(ChooseAnEmulator);
        return;
    }
    if (name.isEmpty()) {
        Emulator->setEditText(ChooseAnEmulator);
        return;
    }
    LoadRomList(name);
    Salva->setEnabled(true);
    Aggiungi->setEnabled(true);
    Rimuovi->setEnabled(true);
}

void OptionsFrm::LoadRomList(const QString &emulatorName)
{
    const zanku::RomListRead read = library_.readRomList(emulatorName);
    loadedEmulator_ = emulatorName;
    readAs_ = read.version;
    // A file that is there but could not be read must not be saved over: the grid
    // does not show what it holds.
    unreadable_ = read.status == TextReadResult::Unreadable;
    if (unreadable_)
        ShowMessage(QStringLiteral("Error"), ReadErrorText(shownFile(), read.error));
    Grid->setRowCount(int(read.records.size()));
    for (size_t row = 0; row < read.records.size(); ++row)
        setRowCells(int(row), GameToRow(read.records[row]));
    changed_ = false;
    showCount();
    Ordina();
    startOnFirstRow();
}

void OptionsFrm::showCount()
{
    if (mode_ == EditorMode::Roms && !loadedEmulator_.isEmpty())
        TRom->setText(QStringLiteral("Total Rom Listed : ") + u' ' +
                      QString::number(Grid->rowCount()));
}

void OptionsFrm::Aggiungi_Click()
{
    if (recordEditor_ != nullptr)
        return;
    const int row = Grid->rowCount();
    const bool wasChanged = changed_;
    Grid->insertRow(row);
    // A new emulator passes its game where "%" stands: without it no game is started.
    EmulatorRecord fresh;
    fresh.Options = QStringLiteral("%");
    setRowCells(row, mode_ == EditorMode::Emulators ? EmulatorToRow(fresh) : GridRow());
    changed_ = wasChanged; // an empty row is not a change until the record editor fills it
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
    recordEditor_ = new OptionsNewFrm(mode_, rowCells(row), library_.programDir(), this);
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
        setRowCells(row, fields);
    else if (row == pendingNewRow_)
        Grid->removeRow(row); // the empty row that Add New appended
    pendingNewRow_ = -1;
    recordEditor_ = nullptr;
    setEnabled(true);
    Ordina();
    showCount();
}

QStringList OptionsFrm::configuredEmulators() const
{
    QStringList names;
    for (int index = 0; index < Emulator->count(); ++index)
        names.append(Emulator->itemText(index));
    return names;
}

void OptionsFrm::cancella_Click()
{
    close();
}

bool OptionsFrm::hasUnsavedChanges() const
{
    return changed_ || recordEditor_ != nullptr;
}

void OptionsFrm::showAgain(EditorMode asked)
{
    if (asked != mode_) {
        const QString shown =
            mode_ == EditorMode::Roms
                ? QStringLiteral("the ROM list of %1").arg(Quoted(loadedEmulator_))
                : QStringLiteral("the emulator list");
        const QString wanted = asked == EditorMode::Roms ? QStringLiteral("the ROM lists")
                                                         : QStringLiteral("the emulator list");
        if (askToDrop(QStringLiteral("There are unsaved changes to %1.\nDrop them and edit %2 "
                                     "instead?")
                          .arg(shown, wanted))) {
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
            QStringLiteral("There are unsaved changes to %1.\nSave them before "
                           "closing?")
                .arg(mode_ == EditorMode::Roms
                         ? QStringLiteral("the ROM list of %1").arg(Quoted(loadedEmulator_))
                         : QStringLiteral("the emulator list"));
        const MessageAnswer answer = ShowMessage(WindowCaption, text, MessageButtons::YesNoCancel);
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
    switch (event->type()) {
    case QEvent::Wheel:
        if (watched == Emulator)
            return true; // the closed chooser keeps its emulator
        break;
    case QEvent::KeyPress:
        if (watched == Grid) {
            const int key = static_cast<const QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
                Grid_dblClick();
                return true;
            }
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == Grid->viewport() || watched == Grid->horizontalHeader()->viewport()) {
            Grid_dblClick();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void OptionsFrm::Form_Unload()
{
    if (Saved)
        library_.reload();
}
