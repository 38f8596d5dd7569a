#include "ui/browser/SnapshotFrame.h"

#include "core/preview/PictureFit.h"
#include "core/preview/PictureRead.h"
#include "ui/common/Layout.h"
#include "ui/common/Twips.h"

#include <QApplication>
#include <QLabel>

namespace {
// The frame's design size and its picture box's place and size, which the box takes back
// (grown as the frame grew) when there is no picture.
constexpr QSizeF DesignFrame(6135, 5475);
constexpr QRectF SnapDesign(120, 300, 5895, 5055);
// The title's and the notice's places in the design box; they stay centred as it grows.
constexpr QRectF TitleDesign(240, 1200, 5295, 1755);
constexpr QRectF NoticeDesign(360, 2040, 5115, 480);
// The panel below the picture: its height in the smallest frame, and its share of a larger one.
constexpr int BelowDesign = 2100;
constexpr double BelowShare = 0.4;
// How long the frame's size rests before its picture is decoded again at the new size.
constexpr int RefitMs = 60;

// The room a picture has in a frame of this size (in twips), in pixels.
QSize pictureRoom(const QSizeF &frame)
{
    return {Twips(qRound(frame.width() - 335)), Twips(qRound(frame.height() - 475))};
}
} // namespace

SnapshotFrame::SnapshotFrame(QWidget *parent)
    : QGroupBox(tr("SnapShot"), parent)
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
    Title->setFont(TitleFont(72));
    Title->setAlignment(Qt::AlignCenter);
    QPalette titlePalette = snapPalette;
    titlePalette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    Title->setPalette(titlePalette);

    NotPic = new QLabel(tr("Picture Not Available"), Snap);
    NotPic->setObjectName(QStringLiteral("NotPic"));
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

    refit_.setSingleShot(true);
    refit_.setInterval(RefitMs);
    connect(&refit_, &QTimer::timeout, this, [this] {
        if (showing_ == Showing::Picture)
            decode(picturePath_);
    });
    resize(Twips(qRound(DesignFrame.width())), Twips(qRound(DesignFrame.height())));
    placeBox(SnapDesign);
}

QSizeF SnapshotFrame::frameTwips() const
{
    // The picture's part of the frame: above the panel below it.
    return {qreal(width() * TwipsPerPixel), qreal((height() - belowHeight()) * TwipsPerPixel)};
}

int SnapshotFrame::belowHeight() const
{
    return below_ == nullptr ? 0 : qMax(Twips(BelowDesign), qRound(height() * BelowShare));
}

void SnapshotFrame::hostBelow(QWidget *panel)
{
    below_ = panel;
    placeBelow();
    placeBox(designBox());
}

void SnapshotFrame::placeBelow()
{
    if (below_ == nullptr)
        return;
    const int left = Twips(qRound(SnapDesign.x()));
    below_->setGeometry(left, height() - belowHeight(), width() - 2 * left,
                        belowHeight() - Twips(120));
}

QRectF SnapshotFrame::designBox() const
{
    // The design box grown by what the frame grew; shorter by the panel below.
    const QSizeF grown = frameTwips() - DesignFrame;
    return SnapDesign.adjusted(0, 0, qMax(0.0, grown.width()),
                               below_ == nullptr ? qMax(0.0, grown.height()) : grown.height());
}

void SnapshotFrame::placeBox(const QRectF &boxTwips)
{
    snapPosition_ = boxTwips.topLeft();
    Snap->setGeometry(Twips(qRound(boxTwips.x())), Twips(qRound(boxTwips.y())),
                      Twips(qRound(boxTwips.width())), Twips(qRound(boxTwips.height())));
    placeTexts();
}

void SnapshotFrame::placeTexts()
{
    const QSizeF grown = designBox().size() - SnapDesign.size();
    for (auto [label, design] : {std::pair{Title, TitleDesign}, std::pair{NotPic, NoticeDesign}}) {
        const QRectF at = design.translated(grown.width() / 2, grown.height() / 2);
        label->setGeometry(
            TwipsRect(qRound(at.x()), qRound(at.y()), qRound(at.width()), qRound(at.height())));
    }
}

void SnapshotFrame::showTitle()
{
    decoding_.restart();
    showing_ = Showing::Title;
    picturePath_.clear();
    Snap->setPixmap(QPixmap());
    placeBox(designBox());
    NotPic->hide();
    Title->show();
}

void SnapshotFrame::showPicture(const QString &picturePath)
{
    Title->hide();
    picturePath_ = picturePath;
    decode(picturePath);
}

void SnapshotFrame::decode(const QString &picturePath)
{
    const quint64 request = decoding_.restart();
    if (picturePath.isEmpty()) {
        pictureDecoded(QImage());
        return;
    }
    // A newer request (another game, another size) makes this one stale, and one that is
    // stale before its turn comes is never decoded.
    decoding_.run([this, request, picturePath, size = frameTwips()] {
        if (decoding_.stale(request))
            return;
        // Scaled down to fit while decoded; never up. Anything that is not a picture reads
        // as none, without waiting or holding much memory.
        const QImage picture = ReadPicture(picturePath, pictureRoom(size), &failures_);
        decoding_.post(request, [this, picture] { pictureDecoded(picture); });
    });
}

void SnapshotFrame::pictureDecoded(const QImage &picture)
{
    if (picture.isNull()) {
        // Missing or unreadable: the empty picture and its notice.
        showing_ = Showing::Notice;
        Snap->setPixmap(QPixmap());
        NotPic->show();
        placeBox(FitSnapshot(QSizeF(0, 0), designBox().size(), frameTwips(), snapPosition_));
        return;
    }
    showing_ = Showing::Picture;
    NotPic->hide();
    const QSizeF twips(picture.width() * TwipsPerPixel, picture.height() * TwipsPerPixel);
    Snap->setPixmap(QPixmap::fromImage(picture));
    placeBox(FitSnapshot(twips, SnapDesign.size(), frameTwips(), snapPosition_));
}

void SnapshotFrame::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    placeBelow();
    // The picture is fitted to the new size once the frame rests (a window dragged larger
    // resizes it many times); the title and the notice keep the box at once.
    if (showing_ == Showing::Picture)
        refit_.start();
    else if (showing_ == Showing::Notice)
        placeBox(FitSnapshot(QSizeF(0, 0), designBox().size(), frameTwips(), snapPosition_));
    else
        placeBox(designBox());
}
