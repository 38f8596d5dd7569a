#include "ui/about/AboutFrm.h"

#include "core/common/Version.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Layout.h"
#include "ui/common/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {
QLabel *centredLabel(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QFrame *separatorLine(const QColor &colour, int y, int thickness, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setGeometry(Twips(120), y, Twips(5730 - 240), thickness);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}
} // namespace

QString VersionText(int major, int minor, int revision)
{
    return AboutFrm::tr("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

AboutFrm::AboutFrm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutFrm"));
    setModal(false);
    setFixedSize(Twips(5730), Twips(3645));
    setFont(ArialFont(9.75));
    const int width = Twips(5730);

    auto *picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    PlaceTwips(picIcon, 120, 120, 540, 540);
    picIcon->setPixmap(AppIcon().pixmap(Twips(540), Twips(540)));

    lblTitle = centredLabel(QString(), QRect(0, Twips(120), width, Twips(840)), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(TitleFont(36));
    QPalette green = lblTitle->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    lblTitle->setPalette(green);

    lblVersion = centredLabel(QString(), QRect(0, Twips(960), width, Twips(300)), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setFont(ArialFont(11.25));

    centredLabel(tr("Zanku is a Front-End for multiple emulators."),
                 QRect(0, Twips(1320), width, Twips(285)), this)
        ->setObjectName(QStringLiteral("lblDescription"));
    centredLabel(tr("Created by:"), QRect(0, Twips(1680), width, Twips(255)), this)
        ->setObjectName(QStringLiteral("Label2"));
    QLabel *author = centredLabel(QStringLiteral("Ervo Kallinder"),
                                  QRect(0, Twips(1935), width, Twips(255)), this);
    author->setObjectName(QStringLiteral("Label1"));
    QFont bold = author->font();
    bold.setBold(true);
    author->setFont(bold);
    centredLabel(QStringLiteral("(ervo.kallinder@zanku.invalid)"),
                 QRect(0, Twips(2190), width, Twips(255)), this)
        ->setObjectName(QStringLiteral("Label3"));

    separatorLine(Qt::gray, Twips(2600), 1, this)->setObjectName(QStringLiteral("Line1_1"));
    separatorLine(Qt::white, Twips(2600) + 1, 2, this)->setObjectName(QStringLiteral("Line1_0"));

    auto *disclaimer =
        new QLabel(tr("If you have bug report or suggestion please E-mail Me"), this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    PlaceTwips(disclaimer, 120, 2800, 3900, 660);
    disclaimer->setWordWrap(true);

    auto *cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTwips(cmdOK, 4245, 2970, 1335, 420);
    cmdOK->setDefault(true); // Enter presses it; Esc closes the box as well
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    Form_Load();
}

void AboutFrm::Form_Load()
{
    const QString title = QString::fromLatin1(Version::ProductTitle);
    setWindowTitle(tr("About %1").arg(title));
    lblVersion->setText(VersionText(Version::Major, Version::Minor, Version::Revision));
    lblTitle->setText(title);
}
