#include "ui/import/ImportFrm.h"

#include "core/common/CoreText.h"
#include "core/editor/EditorRecords.h"
#include "core/import/ImportAdd.h"
#include "core/import/ImportJob.h"
#include "core/import/ImportPreCheck.h"
#include "core/library/Library.h"
#include "ui/common/Messages.h"
#include "ui/import/ImportModel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
template <typename T, typename... Args> T *named(const char *name, Args &&...args)
{
    T *widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The filter of each emulator, kept for the session.
QHash<QString, QString> &filters()
{
    static QHash<QString, QString> byEmulator;
    return byEmulator;
}
} // namespace

ImportFrm::ImportFrm(zanku::Library &library, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window)
    , library_(library)
{
    setObjectName(QStringLiteral("ImportFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Import Games"));
    resize(820, 520);

    Emulator = named<QComboBox>("Emulator", this);
    Emulator->setPlaceholderText(tr("Choose an Emulator"));
    Emulator->setMinimumContentsLength(24);
    Filter = named<QLineEdit>("Filter", this);
    Filter->setPlaceholderText(QStringLiteral("*.nes *.zip"));
    Filter->setClearButtonEnabled(true);

    model_ = new ImportModel(this);
    Candidates = named<QTableView>("Candidates", this);
    Candidates->setModel(model_);
    Candidates->setSelectionBehavior(QAbstractItemView::SelectRows);
    Candidates->setWordWrap(false);
    Candidates->verticalHeader()->hide();
    Candidates->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {230, 200, 90, 50};
    for (int column = 0; column < 4; ++column)
        Candidates->setColumnWidth(column, widths[column]);

    Progress = named<QProgressBar>("Progress", this);
    Cancel = named<QPushButton>("Cancel", tr("Cancel"), this);
    Progress->hide();
    Cancel->hide();
    Type = named<QComboBox>("Type", this);
    Type->addItems(GameTypes());
    Type->setCurrentText(QStringLiteral("Other"));
    Status = named<QLabel>("Status", this);
    AddChecked = named<QPushButton>("AddChecked", tr("Add Checked"), this);
    auto *closeButton = named<QPushButton>("Close", tr("Close"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Emulator:"), this));
    top->addWidget(Emulator);
    top->addSpacing(12);
    top->addWidget(new QLabel(tr("Filter:"), this));
    top->addWidget(Filter, 1);
    auto *scan = new QHBoxLayout;
    scan->addWidget(Progress, 1);
    scan->addWidget(Cancel);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(tr("Type of the checked games:"), this));
    bottom->addWidget(Type);
    bottom->addWidget(Status, 1);
    bottom->addWidget(AddChecked);
    bottom->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Candidates, 1);
    layout->addLayout(scan);
    layout->addLayout(bottom);

    job_ = new ImportJob(this);
    connect(job_, &ImportJob::found, this, &ImportFrm::namesFound);
    connect(job_, &ImportJob::archivesRead, model_, &ImportModel::applyReads);
    connect(job_, &ImportJob::progress, this, &ImportFrm::showProgress);
    connect(job_, &ImportJob::finished, this, &ImportFrm::scanDone);
    connect(Emulator, &QComboBox::activated, this, &ImportFrm::Emulator_Click);
    connect(Filter, &QLineEdit::textChanged, this, &ImportFrm::Filter_Change);
    connect(Cancel, &QPushButton::clicked, this, &ImportFrm::Cancel_Click);
    connect(Type, &QComboBox::currentTextChanged, model_, &ImportModel::setType);
    connect(AddChecked, &QPushButton::clicked, this, &ImportFrm::AddChecked_Click);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(&library_, &zanku::Library::catalogueChanged, this, &ImportFrm::refillEmulators);
    refillEmulators();
}

bool ImportFrm::scanning() const
{
    return job_->running();
}

void ImportFrm::refillEmulators()
{
    const QString chosen = Emulator->currentText();
    Emulator->clear();
    for (int slot = 1; slot <= library_.EmulatorCount(); ++slot)
        Emulator->addItem(library_.emulator(slot).Name);
    Emulator->setCurrentIndex(chosen.isEmpty() ? -1 : Emulator->findText(chosen));
}

void ImportFrm::Emulator_Click(int index)
{
    // By name: the configuration may have been saved again since the list was filled.
    int found = 0;
    for (int slot = 1; slot <= library_.EmulatorCount() && found == 0; ++slot) {
        if (library_.emulator(slot).Name == Emulator->itemText(index))
            found = slot;
    }
    if (found == 0) {
        Status->setText(tr("%1 is no longer configured.").arg(Emulator->itemText(index)));
        refillEmulators();
        return;
    }
    emulator_ = library_.emulator(found);
    Filter->setText(filters().value(emulator_.Name));
    startScan(emulator_);
}

void ImportFrm::Filter_Change(const QString &patterns)
{
    if (!emulator_.Name.isEmpty())
        filters().insert(emulator_.Name, patterns);
    model_->setFilter(patterns);
}

void ImportFrm::startScan(const EmulatorRecord &emulator)
{
    stopScan();
    model_->setCandidates({});
    const std::vector<GameRecord> listed = library_.readRomList(emulator.Name).records;
    model_->setListedExtensions(ListedExtensions(listed));
    QStringList names; // their ROM lists are the program's own files
    for (int slot = 1; slot <= library_.EmulatorCount(); ++slot)
        names.append(library_.emulator(slot).Name);
    Status->setText(tr("Scanning the folders of %1...").arg(emulator.Name));
    showScanning(true);
    job_->start(emulator, library_.programDir(), listed, names);
}

void ImportFrm::stopScan()
{
    job_->stop();
    showScanning(false);
}

void ImportFrm::showScanning(bool scanning)
{
    AddChecked->setEnabled(!scanning);
    if (scanning)
        Progress->setRange(0, 0);
    Progress->setVisible(scanning);
    Cancel->setVisible(scanning);
}

void ImportFrm::showProgress(int done, int total)
{
    Progress->setRange(0, total);
    Progress->setValue(total > 0 ? done : 0);
}

void ImportFrm::namesFound(const std::vector<ImportCandidate> &names)
{
    model_->setCandidates(names);
    Status->setText(tr("Reading the archives of %1...").arg(emulator_.Name));
    emit namesListed();
}

void ImportFrm::scanDone(const QString &error, bool cancelled)
{
    showScanning(false);
    if (cancelled) {
        model_->setCandidates({});
        Status->setText(tr("Scan cancelled: nothing to add."));
    } else if (!error.isEmpty()) {
        Status->setText(error);
        ShowMessage(tr("Error"), error);
    } else {
        model_->finishReads();
        const size_t greyed = model_->greyedCount(), found = model_->candidateCount();
        const QString notListed = tr("%n games not listed yet", nullptr, int(found));
        Status->setText(
            greyed > 0 ? tr("%1; %n greyed cannot be listed.", nullptr, int(greyed)).arg(notListed)
                       : notListed + u'.');
    }
    emit scanFinished();
}

void ImportFrm::Cancel_Click()
{
    job_->cancel(); // the scan stops at its next entry
}

void ImportFrm::AddChecked_Click()
{
    if (scanning() || emulator_.Name.isEmpty())
        return;
    const std::vector<ImportCandidate> checked = model_->checkedRows();
    if (checked.empty()) {
        Status->setText(tr("No game is checked."));
        return;
    }
    const AddResult result = AddToRomList(library_, emulator_, checked, Type->currentText());
    if (result.added < 0) {
        ShowMessage(tr("Error"), result.error); // the list is as it was
        return;
    }
    model_->removeCheckedRows(result.notAdded); // those stay, to be tried again
    Status->setText(result.notAdded.isEmpty()
                        ? tr("Added to the list of %1: %2.")
                              .arg(emulator_.Name, zanku::LocalNumber(result.added))
                        : tr("Added to the list of %1: %2; %3 not added.")
                              .arg(emulator_.Name, zanku::LocalNumber(result.added),
                                   zanku::LocalNumber(result.notAdded.size())));
    // As after a save in the editor: the main window's list follows the files.
    if (result.added > 0)
        library_.reload();
    if (!result.problems.isEmpty())
        ShowMessage(tr("Error"), result.problems);
}

void ImportFrm::closeEvent(QCloseEvent *event)
{
    stopScan();
    event->accept();
}
