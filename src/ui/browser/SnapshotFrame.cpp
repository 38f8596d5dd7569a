#include "ui/browser/SnapshotFrame.h"

#include "core/preview/PictureFit.h"
#include "ui/common/Layout.h"
#include "ui/common/Twips.h"

#include <QApplication>
#include <QImageReader>
#include <QLabel>

namespace {
constexpr QSizeF FrameSize(6135, 5475);
// The picture box's design place and size, which it takes back when there is no picture.
constexpr QRectF SnapDesign(120, 300, 5895, 5055);
} // namespace

SnapshotFrame::SnapshotFrame(QWidget *parent)
    : QGroupBox(QStringLiteral("SnapShot"), parent)
{
    setObjectName(QStringLiteral("Frame1"));

    // The picture box: dark like the button text, it takes its picture's size.
    Snap = new QLabel(this);
    Snap->setObjectName(QStringLiteral("Snap"));
    Snap->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Snap->setAutoFillBackground(true);
    QPalette snapPalette = Snap->palette();
    snapPalette.setColor(QPalette::Window, snapPalette.color(QPalette::ButtonText));
    Snap->setPalette(snapPalette);

    Title = new QLabel(QStringLiteral("Zanku"), Snap);
    Title->setObjectName(QStringLiteral("Title"));
    Title->setGeometry(TwipsRect(240, 1200, 5295, 1755));
    Title->setFont(TitleFont(72));
    Title->setAlignment(Qt::AlignCenter);
    QPalette titlePalette = snapPalette;
    titlePalette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    Title->setPalette(titlePalette);

    NotPic = new QLabel(QStringLiteral("Picture Not Available"), Snap);
    NotPic->setObjectName(QStringLiteral("NotPic"));
    NotPic->setGeometry(TwipsRect(360, 2040, 5115, 480));
    NotPic->setFont(ArialFont(20.25, true));
    NotPic->setAlignment(Qt::AlignCenter);
    // A label's own look on the dark box, so the notice can be read.
    NotPic->setAutoFillBackground(true);
    QPalette notPicPalette = NotPic->palette();
    notPicPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    notPicPalette.setColor(QPalette::WindowText,
                           QApplication::palette().color(QPalette::ButtonText));
    NotPic->setPalette(notPicPalette);
    NotPic->hide();

    placeBox(SnapDesign);
}

void SnapshotFrame::placeBox(const QRectF &boxTwips)
{
    snapPosition_ = boxTwips.topLeft();
    Snap->setGeometry(Twips(qRound(boxTwips.x())), Twips(qRound(boxTwips.y())),
                      Twips(qRound(boxTwips.width())), Twips(qRound(boxTwips.height())));
}

void SnapshotFrame::showTitle()
{
    Snap->setPixmap(QPixmap());
    placeBox(SnapDesign);
    NotPic->hide();
    Title->show();
}

void SnapshotFrame::showPicture(const QString &picturePath)
{
    Title->hide();
    NotPic->hide();
    QImageReader reader(picturePath);
    const QSize natural = picturePath.isEmpty() ? QSize() : reader.size();
    const QSizeF pictureTwips = natural.isValid() ? QSizeF(natural.width() * TwipsPerPixel,
                                                           natural.height() * TwipsPerPixel)
                                                  : QSizeF(0, 0);
    const QRectF box = FitSnapshot(pictureTwips, SnapDesign.size(), FrameSize, snapPosition_);

    QImage picture;
    if (natural.isValid()) {
        // A picture larger than its box is decoded at the box's size.
        const QSize shown(Twips(qRound(box.width())), Twips(qRound(box.height())));
        if (shown.width() < natural.width() || shown.height() < natural.height())
            reader.setScaledSize(shown);
        picture = reader.read();
    }
    if (picture.isNull()) {
        // Missing or unreadable: the empty picture and its notice.
        Snap->setPixmap(QPixmap());
        NotPic->show();
        placeBox(FitSnapshot(QSizeF(0, 0), SnapDesign.size(), FrameSize, snapPosition_));
        return;
    }
    Snap->setPixmap(QPixmap::fromImage(picture));
    placeBox(box);
}
