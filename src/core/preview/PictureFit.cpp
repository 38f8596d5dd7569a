#include "core/preview/PictureFit.h"

QRectF FitSnapshot(const QSizeF &picture, const QSizeF &designSize, const QSizeF &frame,
                   const QPointF &previousPosition)
{
    QSizeF box = picture;
    const QSizeF room(frame.width() - 335, frame.height() - 475);
    if (picture.width() == 0 || picture.height() == 0)
        box = designSize;
    else if (picture.width() > room.width() || picture.height() > room.height())
        box = picture.scaled(room, Qt::KeepAspectRatio);

    QPointF position = previousPosition;
    const double x = (frame.width() - box.width()) / 2;
    const double y = (frame.height() - box.height()) / 2 + 50;
    if (x > 0)
        position.setX(x);
    if (y > 0)
        position.setY(y);
    return {position, box};
}
