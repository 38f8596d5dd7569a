#include "ui/editor/OptionsNewFrm.h"

#include "core/editor/EditorRecords.h"
#include "ui/common/Layout.h"
#include "ui/common/Messages.h"
#include "ui/common/Twips.h"
#include "ui/editor/DirFrm.h"

#include <QCloseEvent>
#include <QComboBox>
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
    setWindowTitle(QStringLiteral("Edit Configuration"));
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

    T5 = new QComboBox(this);
    T5->setObjectName(QStringLiteral("T5"));
    T5->setEditable(true);
    T5->setInsertPolicy(QComboBox::NoInsert); // a typed type is kept as typed, not listed
    T5->setCompleter(nullptr);
    T5->addItems(GameTypes());
    T5->setEditText(QStringLiteral("Choose Game Type"));
    PlaceTwips(T5, 1080, 2520, 2895, 345);

    const int labelTops[5] = {720, 1200, 1680, 2160, 2640};
    for (int index = 0; index < 5; ++index) {
        C[index] = new QLabel(this);
        C[index]->setObjectName(QStringLiteral("C%1").arg(index));
        PlaceTwips(C[index], 4080, labelTops[index], 2055, 255);
    }

    Ok = new QPushButton(QStringLiteral("&OK"), this);
    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setFont(ArialFont(9.75, true));
    PlaceTwips(Ok, 1560, 3000, 1275, 435);
    Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    PlaceTwips(Cancel, 3000, 3000, 1035, 435);

    // Tab order: T0 T1 T2 T4 Ok Cancel DirT1 DirT3 T5 T3 DirT2.
    QWidget *const order[] = {T0, T1, T2, T4, Ok, Cancel, DirT1, DirT3, T5, T3, DirT2};
    for (size_t index = 1; index < std::size(order); ++index)
        setTabOrder(order[index - 1], order[index]);

    connect(Ok, &QPushButton::clicked, this, &OptionsNewFrm::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &OptionsNewFrm::Cancel_Click);
    connect(DirT1, &QPushButton::clicked, this, [this] { showChooser(DirFrm::Program); });
    connect(DirT2, &QPushButton::clicked, this, [this] { showChooser(DirFrm::ZippedRoms); });
    connect(DirT3, &QPushButton::clicked, this, [this] { showChooser(DirFrm::Snapshots); });

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

    if (mode_ == EditorMode::Emulators) {
        CTitle->setText(QStringLiteral("Edit Emulator Properties"));
        T5->hide();
        T4->show();
        DirT1->show();
        DirT2->show();
        DirT3->show();
        T2->setText(cell(3));
        T3->setText(cell(4));
        T4->setText(cell(5));
        emupath = cell(2);
    } else {
        CTitle->setText(QStringLiteral("Edit Game Properties"));
        T4->hide();
        T5->show();
        DirT1->hide();
        DirT2->hide();
        DirT3->hide();
        T2->setText(cell(2));
        T3->setText(cell(3));
        T5->setCurrentIndex(-1);
        T5->setEditText(cell(4));
    }
    T0->setText(cell(0));
    T1->setText(cell(1));
}

GridRow OptionsNewFrm::fieldsAsRow() const
{
    if (mode_ == EditorMode::Emulators)
        return {T0->text(), T1->text(), emupath, T2->text(), T3->text(), T4->text()};
    return {T0->text(), T1->text(), T2->text(), T3->text(), T5->currentText()};
}

void OptionsNewFrm::OK_Click()
{
    const QString problem = RecordProblem(mode_, fieldsAsRow());
    if (!problem.isEmpty()) {
        // Everything stays as typed, so the player can put it right.
        ShowMessage(QStringLiteral("Error"), problem);
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
        // An emulator that has a directory starts there.
        chooser_ = new DirFrm(target, emupath.isEmpty() ? programDir_ : emupath, programDir_, this);
        connect(chooser_, &DirFrm::chosen, this, &OptionsNewFrm::applyChoice);
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
        T1->setText(file);
        emupath = directory;
        break;
    case DirFrm::ZippedRoms:
        T2->setText(directory);
        break;
    case DirFrm::Snapshots:
        T3->setText(directory);
        break;
    }
}

void OptionsNewFrm::bringForward()
{
    show();
    raise();
    activateWindow();
    if (chooser_ != nullptr) {
        chooser_->raise();
        chooser_->activateWindow();
    }
}
