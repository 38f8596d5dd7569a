#include "ui/editor/OptionsFrm.h"

#include "core/common/AppState.h"
#include "ui/common/Layout.h"
#include "core/common/Messages.h"
#include "ui/common/Twips.h"
#include "core/launch/Launch.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/files/TextFile.h"
#include "ui/editor/OptionsNewFrm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {
constexpr int GridWidth = 9375;
const QString ChooseAnEmulator = QStringLiteral("Choose an Emulator");
const QString WindowCaption = QStringLiteral("Edit Configuration");

QPointer<OptionsFrm> &instance()
{
    static QPointer<OptionsFrm> window;
    return window;
}

} // namespace

OptionsFrm::OptionsFrm(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window)
{
    setObjectName(QStringLiteral("OptionsFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(WindowCaption);
    setFixedSize(Twips(9615), Twips(6225));
    setFont(ArialFont(9.75));

    Grid = new QTableWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    PlaceTwips(Grid, 120, 600, 9375, 4575);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setSectionsClickable(false);
    Grid->horizontalHeader()->setHighlightSections(false);
    Grid->setWordWrap(false);

    Aggiungi = new QPushButton(QStringLiteral("&Add New"), this);
    Aggiungi->setObjectName(QStringLiteral("Aggiungi"));
    PlaceTwips(Aggiungi, 240, 5280, 2295, 375);

    Rimuovi = new QPushButton(QStringLiteral("&Remove"), this);
    Rimuovi->setObjectName(QStringLiteral("Rimuovi"));
    PlaceTwips(Rimuovi, 240, 5760, 2295, 375);

    Salva = new QPushButton(QStringLiteral("&Save"), this);
    Salva->setObjectName(QStringLiteral("Salva"));
    Salva->setFont(ArialFont(12, true));
    PlaceTwips(Salva, 6720, 5400, 1335, 495);

    cancella = new QPushButton(QStringLiteral("&Back"), this);
    cancella->setObjectName(QStringLiteral("cancella"));
    PlaceTwips(cancella, 8160, 5400, 1215, 495);

    Emulator = new QComboBox(this);
    Emulator->setObjectName(QStringLiteral("Emulator"));
    Emulator->setEditable(true);
    Emulator->setInsertPolicy(QComboBox::NoInsert);
    Emulator->setCompleter(nullptr); // the text stays as typed
    PlaceTwips(Emulator, 2880, 120, 3855, 360);

    TRom = new QLabel(this);
    TRom->setObjectName(QStringLiteral("TRom"));
    PlaceTwips(TRom, 6960, 240, 2295, 255);

    setTabOrder(Grid, Aggiungi);
    setTabOrder(Aggiungi, Rimuovi);
    setTabOrder(Rimuovi, Salva);
    setTabOrder(Salva, cancella);
    setTabOrder(cancella, Emulator);

    connect(Aggiungi, &QPushButton::clicked, this, &OptionsFrm::Aggiungi_Click);
    connect(Rimuovi, &QPushButton::clicked, this, &OptionsFrm::Rimuovi_Click);
    connect(Salva, &QPushButton::clicked, this, &OptionsFrm::Salva_Click);
    connect(cancella, &QPushButton::clicked, this, &OptionsFrm::cancella_Click);
    connect(Emulator, &QComboBox::activated, this, &OptionsFrm::Emulator_Click);

    // A double-click anywhere on the grid, its titles included, edits the current row.
    Grid->viewport()->installEventFilter(this);
    Grid->horizontalHeader()->viewport()->installEventFilter(this);
    // The chooser filters its list's events itself (view() makes the list); filters
    // installed later run first, so a pick is noted before the chooser reports it. The
    // wheel over the closed chooser is dropped.
    Emulator->installEventFilter(this);
    Emulator->view()->installEventFilter(this);
    Emulator->view()->viewport()->installEventFilter(this);

    mode_ = EditorModeFor(App().EditMode);
    Form_Load();
}

void OptionsFrm::Form_Load()
{
    AppState &app = App();
    EnterDirectory(app.ProgramDir);
    app.NewRowPending = false;
    changed_ = false;
    loadedEmulator_.clear();
    unreadableFile_.clear();
    // Start from the file as it is now, not as the main window last loaded it.
    ReadConfig();

    const QStringList titles = ColumnTitles(TitleStringFor(mode_));
    const std::vector<int> tenths = ColumnTenthsFor(mode_);
    Grid->setRowCount(0);
    Grid->setColumnCount(int(titles.size()));
    for (int column = 0; column < int(titles.size()); ++column) {
        auto *header = new QTableWidgetItem(titles.at(column));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Grid->setHorizontalHeaderItem(column, header);
        Grid->setColumnWidth(column, Twips(ColumnWidthTwips(GridWidth, tenths[size_t(column)])));
    }

    if (mode_ == EditorMode::Roms) {
        Aggiungi->setEnabled(false);
        Rimuovi->setEnabled(false);
        Salva->setEnabled(true);
        Emulator->show();
        TRom->show();
        TRom->clear();
        Emulator->clear();
        for (int slot = 1; slot <= app.EmulatorCount; ++slot)
            Emulator->addItem(app.Emulators[size_t(slot)].Name);
        Emulator->setCurrentIndex(-1);
        Emulator->setEditText(ChooseAnEmulator);
    } else {
        Emulator->hide();
        TRom->hide();
        Emulator->clear();
        Aggiungi->setEnabled(true);
        Rimuovi->setEnabled(true);
        Salva->setEnabled(true);
        for (int slot = 1; slot <= app.EmulatorCount; ++slot) {
            Grid->insertRow(slot - 1);
            setRowCells(slot - 1, EmulatorToRow(app.Emulators[size_t(slot)]));
        }
        changed_ = false;
        if (app.EmulatorCount == 0)
            rememberIfUnreadable(
                QDir(app.ProgramDir).filePath(QString::fromLatin1(ConfigFileName)));
    }
    Ordina();
    startOnFirstRow();
}

void OptionsFrm::Emulator_Click()
{
    // Only a pick from the open list loads: not a typed name when the focus leaves the
    // chooser, nor the arrow keys, which would drop the edits on screen unasked.
    if (!std::exchange(pickingFromList_, false))
        return;
    const QString name = Emulator->currentText();
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
    Grid->setRowCount(0);
    const QString path = QDir(App().ProgramDir).filePath(RomListFileName(emulatorName));
    const std::vector<GameRecord> games = ReadRomList(path);
    unreadableFile_.clear();
    if (games.empty())
        rememberIfUnreadable(path);
    Grid->setRowCount(int(games.size()));
    for (size_t row = 0; row < games.size(); ++row)
        setRowCells(int(row), GameToRow(games[row]));
    TRom->setText(QStringLiteral("Total Rom Listed : ") + u' ' + QString::number(games.size()));
    loadedEmulator_ = emulatorName;
    changed_ = false;
    Ordina();
    startOnFirstRow();
}

void OptionsFrm::rememberIfUnreadable(const QString &path)
{
    // An empty load may hide a file that is there but could not be read: saving the
    // empty grid over it would lose everything it holds.
    if (QFileInfo::exists(path) && !ReadTextLines(path).lines)
        unreadableFile_ = path;
}

void OptionsFrm::startOnFirstRow()
{
    if (Grid->rowCount() > 0)
        Grid->setCurrentCell(0, 0);
}

int OptionsFrm::rowCount() const
{
    return Grid->rowCount();
}

GridRow OptionsFrm::rowCells(int row) const
{
    GridRow cells;
    for (int column = 0; column < Grid->columnCount(); ++column) {
        const QTableWidgetItem *item = Grid->item(row, column);
        cells.append(item != nullptr ? item->text() : QString());
    }
    return cells;
}

void OptionsFrm::setRowCells(int row, const GridRow &cells)
{
    if (row < 0 || row >= Grid->rowCount())
        return;
    for (int column = 0; column < Grid->columnCount(); ++column) {
        const QString text = column < cells.size() ? cells.at(column) : QString();
        QTableWidgetItem *item = Grid->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            Grid->setItem(row, column, item);
        }
        if (item->text() != text) {
            item->setText(text);
            changed_ = true;
        }
    }
}

void OptionsFrm::removeGridRow(int row)
{
    if (row >= 0 && row < Grid->rowCount())
        Grid->removeRow(row);
}

std::vector<GridRow> OptionsFrm::allRows() const
{
    std::vector<GridRow> rows;
    rows.reserve(size_t(Grid->rowCount()));
    for (int row = 0; row < Grid->rowCount(); ++row)
        rows.push_back(rowCells(row));
    return rows;
}

void OptionsFrm::Ordina()
{
    const std::vector<GridRow> rows = allRows();
    const std::vector<int> order = SortedRowOrder(rows);
    const int current = Grid->currentRow();
    const bool wasChanged = changed_; // moving rows is not an edit
    int newCurrent = -1;
    for (int place = 0; place < int(order.size()); ++place) {
        setRowCells(place, rows[size_t(order[size_t(place)])]);
        if (order[size_t(place)] == current)
            newCurrent = place;
    }
    changed_ = wasChanged;
    // The row that was current stays current at its new place.
    if (newCurrent >= 0)
        Grid->setCurrentCell(newCurrent, 0);
}

void OptionsFrm::Aggiungi_Click()
{
    if (recordEditor_ != nullptr)
        return;
    const int row = Grid->rowCount();
    const bool wasChanged = changed_;
    Grid->insertRow(row);
    setRowCells(row, GridRow());
    changed_ = wasChanged; // an empty row is not a change until the record editor fills it
    Grid->setCurrentCell(row, 0);
    App().NewRowPending = true;
    openRecordEditor(row);
}

void OptionsFrm::Rimuovi_Click()
{
    const int current = Grid->currentRow();
    if (current < 0)
        return; // no data row is current
    removeGridRow(current);
    changed_ = true; // the grid keeps a current row: the next one, or the new last
}

void OptionsFrm::Grid_dblClick()
{
    if (Grid->rowCount() < 1 || recordEditor_ != nullptr)
        return; // no data row
    openRecordEditor(std::max(Grid->currentRow(), 0));
}

void OptionsFrm::openRecordEditor(int row)
{
    recordEditor_ = new OptionsNewFrm(this, row);
    recordEditor_->show();
    recordEditor_->raise();
    recordEditor_->activateWindow();
}

void OptionsFrm::recordEditorClosed()
{
    recordEditor_ = nullptr;
}

QStringList OptionsFrm::configuredEmulators() const
{
    QStringList names;
    for (int index = 0; index < Emulator->count(); ++index)
        names.append(Emulator->itemText(index));
    return names;
}

void OptionsFrm::Salva_Click()
{
    bool written = false;
    if (mode_ == EditorMode::Roms) {
        const QString problem =
            RomSaveProblem(Emulator->currentText(), loadedEmulator_, configuredEmulators());
        if (!problem.isEmpty()) {
            ShowMessage(QStringLiteral("Error"), problem);
            return;
        }
    }
    if (!unreadableFile_.isEmpty()) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("%1 could not be read, so the editor does not show what it "
                                   "holds. Saving would replace it; nothing was saved.")
                        .arg(QDir::toNativeSeparators(unreadableFile_)));
        return;
    }
    if (mode_ == EditorMode::Roms) {
        std::vector<GameRecord> games;
        for (const GridRow &row : allRows())
            games.push_back(RowToGame(row));
        written = WriteRomList(loadedEmulator_, games);
    } else {
        std::vector<EmulatorRecord> emulators;
        for (const GridRow &row : allRows())
            emulators.push_back(RowToEmulator(row));
        written = WriteConfig(emulators);
    }
    // A failed save has said why; it leaves the file whole and counts for nothing.
    if (written) {
        Saved = true;
        changed_ = false;
    }
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
        bool reload = true;
        if (hasUnsavedChanges()) {
            const QString shown =
                mode_ == EditorMode::Roms
                    ? QStringLiteral("the ROM list of %1").arg(Quoted(loadedEmulator_))
                    : QStringLiteral("the emulator list");
            const QString wanted = asked == EditorMode::Roms ? QStringLiteral("the ROM lists")
                                                             : QStringLiteral("the emulator list");
            const QString text =
                QStringLiteral("There are unsaved changes to %1.\nDrop them and edit %2 instead?")
                    .arg(shown, wanted);
            reload = ShowMessage(WindowCaption, text, MessageButtons::YesNo) == MessageAnswer::Yes;
        }
        if (reload) {
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
    event->accept();
    Form_Unload();
}

bool OptionsFrm::eventFilter(QObject *watched, QEvent *event)
{
    const QAbstractItemView *list = Emulator->view();
    switch (event->type()) {
    case QEvent::Wheel:
        if (watched == Emulator)
            return true; // the closed chooser keeps its emulator
        break;
    case QEvent::MouseButtonRelease:
        if (watched == list->viewport() && list->isVisible())
            notePickFromList();
        break;
    case QEvent::ShortcutOverride: // where the open list takes Enter
    case QEvent::KeyPress:
        if (watched == list && list->isVisible()) {
            const int key = static_cast<const QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                notePickFromList();
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

void OptionsFrm::notePickFromList()
{
    // The chooser reports the pick while this event is delivered; a release or Enter
    // that picked nothing must not count later, so the note lasts only until then.
    pickingFromList_ = true;
    QTimer::singleShot(0, this, [this] { pickingFromList_ = false; });
}

void OptionsFrm::Form_Unload()
{
    if (instance() == this)
        instance() = nullptr;
    if (Saved) {
        // A folder still extracted would be listed as the game itself.
        CleanupExtraction();
        ReadConfig();
        LoadCatalogue();
    }
}

void ShowOptionsFrm(QWidget *mainWindow)
{
    const EditorMode asked = EditorModeFor(App().EditMode);
    if (OptionsFrm *open = instance()) {
        open->showAgain(asked);
        return;
    }
    instance() = new OptionsFrm(mainWindow);
    instance()->show();
    instance()->raise();
    instance()->activateWindow();
}

OptionsFrm *OptionsFrmWindow()
{
    return instance();
}
