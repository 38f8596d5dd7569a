#pragma once

#include <QGroupBox>
#include <QPointF>

class QLabel;

// The "SnapShot" frame: the selected game's picture in the box `Snap`, never scaled but
// cut to the frame and centred, "Picture Not Available" when it has none, and the title
// "Zanku" until the first selection.
class SnapshotFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit SnapshotFrame(QWidget *parent);

    // The picture of this file; an empty or unreadable one shows the notice.
    void showPicture(const QString &picturePath);
    // The title, as at start-up.
    void showTitle();

private:
    void placeBox(const QRectF &boxTwips);

    QLabel *Snap = nullptr;
    QLabel *Title = nullptr;
    QLabel *NotPic = nullptr;
    QPointF snapPosition_; // the picture box's position in the frame, in twips
};
