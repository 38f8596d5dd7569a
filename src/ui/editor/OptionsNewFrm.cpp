#include "ui/editor/OptionsNewFrm.h"

#include "core/editor/EditorRecords.h"
#include "core/editor/ProgramChoice.h"
#include "ui/common/Layout.h"
#include "ui/common/Messages.h"
#include "ui/common/Twips.h"
#include "ui/editor/DirFrm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *textBox(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    PlaceTwips(box, left, top, width, height);
    return box;
}

QPushButton *chooserButton(QWidget *parent, const char *name, int top)
{
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QLatin1String(name));
    PlaceTwips(button, 120, top, 375, 375);
    return button;
}
} // namespace

OptionsNewFrm::OptionsNewFrm(EditorMode mode, const GridRow &cells, const QString &programDir,
                             QWidget *editor)
    : QWidget(editor, Qt::Tool)
    , mode_(mode)
    , programDir_(programDir)
{
    setObjectName(QStringLiteral("OptionsNewFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Edit Configuration"));
    setFixedSize(Twips(6300), Twips(3525));
    setFont(ArialFont(9.75));

    CTitle = new QLabel(this);
    CTitle->setObjectName(QStringLiteral("CTitle"));
    CTitle->setFont(ArialFont(14.25, true));
    CTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PlaceTwips(CTitle, 120, 120, 6075, 375);

    T0 = textBox(this, "T0", 600, 600, 3375, 360);
    T0->setFont(ArialFont(9.75, true));
    DirT1 = chooserButton(this, "DirT1", 1080);
    T1 = textBox(this, "T1", 600, 1080, 3375, 345);
    DirT2 = chooserButton(this, "DirT2", 1560);
    T2 = textBox(this, "T2", 600, 1560, 3375, 330);
    DirT3 = chooserButton(this, "DirT3", 2040);
    T3 = textBox(this, "T3", 600, 2040, 3375, 330);
    T4 = textBox(this, "T4", 600, 2520, 3375, 345);
    // Emulators only: a row below the others.
    DirEmupath = chooserButton(this, "DirEmupath", 3000);
    emupath = textBox(this, "emupath", 600, 3000, 3375, 345);
    CEmupath = new QLabel(FieldLabel(EditorMode::Emulators, 2), this);
    CEmupath->setObjectName(QStringLiteral("CEmupath"));
    PlaceTwips(CEmupath, 4080, 3120, 2055, 255);

    T5 = new QComboBox(this);
    T5->setObjectName(QStringLiteral("T5"));
    T5->setEditable(true);
    T5->setInsertPolicy(QComboBox::NoInsert); // a typed type is kept as typed, not listed
    T5->setCompleter(nullptr);
    T5->addItems(GameTypes());
    T5->setEditText(tr("Choose Game Type"));
    PlaceTwips(T5, 1080, 2520, 2895, 345);

    const int labelTops[5] = {720, 1200, 1680, 2160, 2640};
    for (int index = 0; index < 5; ++index) {
        C[index] = new QLabel(this);
        C[index]->setObjectName(QStringLiteral("C%1").arg(index));
        PlaceTwips(C[index], 4080, labelTops[index], 2055, 255);
    }

    Ok = new QPushButton(tr("&OK"), this);
    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setFont(ArialFont(9.75, true));
    PlaceTwips(Ok, 1560, 3000, 1275, 435);
    Cancel = new QPushButton(tr("&Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    PlaceTwips(Cancel, 3000, 3000, 1035, 435);

    // Tab order: T0 T1 T2 T4 Ok Cancel DirT1 DirT3 T5 T3 DirT2, then the Games Directory.
    QWidget *const order[] = {T0,    T1, T2, T4,    Ok,      Cancel,    DirT1,
                              DirT3, T5, T3, DirT2, emupath, DirEmupath};
    for (size_t index = 1; index < std::size(order); ++index)
        setTabOrder(order[index - 1], order[index]);

    connect(Ok, &QPushButton::clicked, this, &OptionsNewFrm::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &OptionsNewFrm::Cancel_Click);
    connect(DirT1, &QPushButton::clicked, this, [this] { showChooser(DirFrm::Program); });
    connect(DirT2, &QPushButton::clicked, this, [this] { showChooser(DirFrm::ZippedRoms); });
    connect(DirT3, &QPushButton::clicked, this, [this] { showChooser(DirFrm::Snapshots); });
    connect(DirEmupath, &QPushButton::clicked, this,
            [this] { showChooser(DirFrm::GamesDirectory); });
    connect(emupath, &QLineEdit::editingFinished, this, &OptionsNewFrm::gamesDirectoryChanged);

    Form_Load(cells);
}

void OptionsNewFrm::Form_Load(const GridRow &cells)
{
    Confirmed = false;
    const auto cell = [&cells](int column) {
        return column < cells.size() ? cells.at(column) : QString();
    };
    // The labels name the grid columns of the fields beside them.
    const int labelColumns[2][5] = {{0, 1, 3, 4, 5}, {0, 1, 2, 3, 4}};
    for (int index = 0; index < 5; ++index) {
        const int column = labelColumns[mode_ == EditorMode::Roms ? 1 : 0][index];
        C[index]->setText(FieldLabel(mode_, column));
    }

    const bool emulators = mode_ == EditorMode::Emulators;
    const QList<QWidget *> emulatorsOnly = {T4, DirT1, DirT2, DirT3, emupath, DirEmupath, CEmupath};
    for (QWidget *widget : emulatorsOnly)
        widget->setVisible(emulators);
    T5->setVisible(!emulators);
    // The Games Directory's row moves the buttons down.
    const int buttonsTop = emulators ? 3480 : 3000;
    PlaceTwips(Ok, 1560, buttonsTop, 1275, 435);
    PlaceTwips(Cancel, 3000, buttonsTop, 1035, 435);
    setFixedSize(Twips(6300), Twips(buttonsTop + 525));
    if (emulators) {
        CTitle->setText(tr("Edit Emulator Properties"));
        T2->setText(cell(3));
        T3->setText(cell(4));
        T4->setText(cell(5));
        // What is looked for in the snapshot folder, which nothing else in the windows says.
        T3->setToolTip(tr("The snapshot folder: <File without its extension>.jpg, .gif, .bmp, "
                          ".png or .webp, and inside it the artwork sets' folders Named_Boxarts, "
                          "Named_Titles and Named_Snaps (by the game's Name), covers, "
                          "titlescreens and screenshots (by its File)."));
        emupath->setText(cell(2));
        gamesDirectoryBefore_ = cell(2);
    } else {
        CTitle->setText(tr("Edit Game Properties"));
        T2->setText(cell(2));
        T3->setText(cell(3));
        T3->setToolTip(QString());
        T5->setCurrentIndex(-1);
        T5->setEditText(cell(4));
    }
    T0->setText(cell(0));
    T1->setText(cell(1));
}

GridRow OptionsNewFrm::fieldsAsRow() const
{
    if (mode_ == EditorMode::Emulators)
        return {T0->text(), T1->text(), emupath->text(), T2->text(), T3->text(), T4->text()};
    return {T0->text(), T1->text(), T2->text(), T3->text(), T5->currentText()};
}

void OptionsNewFrm::OK_Click()
{
    // Alt+O leaves the Games Directory field without its editing-finished: the program
    // follows it here too, however the record is confirmed.
    gamesDirectoryChanged();
    const QString problem = RecordProblem(mode_, fieldsAsRow());
    if (!problem.isEmpty()) {
        // Everything stays as typed, so the player can put it right.
        ShowMessage(tr("Error"), problem);
        return;
    }
    Confirmed = true;
    close();
}

void OptionsNewFrm::Cancel_Click()
{
    Confirmed = false;
    close();
}

void OptionsNewFrm::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void OptionsNewFrm::Form_Unload()
{
    // The chooser goes with the record it fills, writing nothing.
    if (chooser_ != nullptr)
        chooser_->close();
    chooser_ = nullptr;
    emit finished(Confirmed, fieldsAsRow());
}

void OptionsNewFrm::showChooser(DirFrm::Target target)
{
    if (chooser_ == nullptr || !chooser_->isVisible()) { // a closed one is on its way out
        // An emulator that has a Games Directory starts there.
        const QString games = emupath->text().isEmpty()
                                  ? QString()
                                  : QDir(programDir_).absoluteFilePath(emupath->text());
        chooser_ = new DirFrm(target, games.isEmpty() ? programDir_ : games, programDir_, this);
        connect(chooser_, &DirFrm::chosen, this, &OptionsNewFrm::applyChoice);
        CentreOverParent(chooser_);
        chooser_->show();
    }
    chooser_->setTarget(target); // the next OK fills the field of the latest button
    chooser_->raise();
    chooser_->activateWindow();
}

void OptionsNewFrm::applyChoice(DirFrm::Target target, const QString &file,
                                const QString &directory)
{
    switch (target) {
    case DirFrm::Program:
        if (file.isEmpty()) { // nothing highlighted: the folder alone
            T1->clear();
            emupath->setText(directory);
        } else {
            const ProgramChoice choice =
                ChooseProgram(QDir(directory).filePath(file), emupath->text(), programDir_);
            T1->setText(choice.program);
            emupath->setText(choice.gamesDirectory);
            if (emupath->text().isEmpty()) { // a system program: its folder holds no games
                emupath->setPlaceholderText(
                    tr("Choose the folder that holds this emulator's games"));
                activateWindow();
                emupath->setFocus();
            }
        }
        gamesDirectoryBefore_ = emupath->text();
        break;
    case DirFrm::GamesDirectory:
        emupath->setText(directory);
        gamesDirectoryChanged();
        break;
    case DirFrm::ZippedRoms:
        T2->setText(directory);
        break;
    case DirFrm::Snapshots:
        T3->setText(directory);
        break;
    }
}

void OptionsNewFrm::gamesDirectoryChanged()
{
    // A program found from the old Games Directory is kept found: by its full path when
    // its name alone would now find another, or none.
    if (emupath->text() == gamesDirectoryBefore_)
        return;
    T1->setText(
        FollowGamesDirectory(T1->text(), gamesDirectoryBefore_, emupath->text(), programDir_));
    gamesDirectoryBefore_ = emupath->text();
}

void OptionsNewFrm::bringForward()
{
    CentreOverParent(this);
    show();
    raise();
    activateWindow();
    if (chooser_ != nullptr) {
        chooser_->raise();
        chooser_->activateWindow();
    }
}
