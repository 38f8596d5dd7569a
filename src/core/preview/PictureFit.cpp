#include "core/preview/PictureFit.h"

QRectF FitSnapshot(const QSizeF &picture, const QSizeF &designSize, const QSizeF &frame,
                   const QPointF &previousPosition)
{
    QSizeF box = picture;
    if (picture.width() == 0) {
        box = designSize;
    } else if (box.width() > frame.width() - 335) {
        box.setWidth(frame.width() - 335);
    } else if (box.height() > frame.height() - 475) {
        box.setHeight(frame.height() - 475);
    }

    QPointF position = previousPosition;
    const double x = (frame.width() - box.width()) / 2;
    const double y = (frame.height() - box.height()) / 2 + 50;
    if (x > 0)
        position.setX(x);
    if (y > 0)
        position.setY(y);
    return {position, box};
}
