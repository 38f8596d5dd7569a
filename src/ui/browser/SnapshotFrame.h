#pragma once

#include "core/common/BackgroundWork.h"
#include "core/preview/PictureRead.h"

#include <QGroupBox>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTimer>

#include <atomic>
#include <memory>

class QLabel;

// The "SnapShot" frame: the selected game's picture in the box `Snap`, centred, a picture
// larger than the frame scaled down to fit it, "Picture Not Available" when it has none,
// and the title "Zanku" until the first selection. The frame grows with the window, and
// the picture with it; pictures are decoded off the main thread.
class SnapshotFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit SnapshotFrame(QWidget *parent);

    // The picture of this file; an empty or unreadable one shows the notice.
    void showPicture(const QString &picturePath);
    // The title, as at start-up.
    void showTitle();
    // Gives the lower part of the frame to `panel` (the game's details): a part of the
    // smallest frame, more of a larger one. The picture keeps the rest.
    void hostBelow(QWidget *panel);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class Showing { Title, Picture, Notice };
    QSizeF frameTwips() const;
    int belowHeight() const;
    void placeBelow();
    QRectF designBox() const;
    void placeBox(const QRectF &boxTwips);
    void placeTexts();
    void decode(const QString &picturePath);
    void pictureDecoded(const QImage &picture);

    QLabel *Snap = nullptr;
    QLabel *Title = nullptr;
    QLabel *NotPic = nullptr;
    QWidget *below_ = nullptr;
    QPointF snapPosition_; // the picture box's position in the frame, in twips
    Showing showing_ = Showing::Title;
    QString picturePath_;
    // The decode whose picture is still wanted, shared with the workers.
    // Pictures are decoded on a worker; a newer request makes an older one stale.
    zanku::BackgroundWork decoding_{this};
    // Pictures that could not be read, not read again this session.
    PictureFailures failures_;
    QTimer refit_;
};
