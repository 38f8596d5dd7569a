// The editor's controls, laid out in twips where players know them.

#include "ui/common/Layout.h"
#include "ui/editor/OptionsFrm.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

void OptionsFrm::buildControls()
{
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
}
