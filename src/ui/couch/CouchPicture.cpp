#include "ui/couch/CouchPicture.h"

#include <QPainter>

CouchPicture::CouchPicture(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CouchPicture"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CouchPicture::showPicture(const QString &path)
{
    if (path == path_ && (showing() || path.isEmpty()))
        return;
    path_ = path;
    picture_ = QImage();
    update();
    decode();
}

void CouchPicture::decode()
{
    const quint64 generation = decoding_.restart();
    if (path_.isEmpty() || size().isEmpty())
        return;
    decoding_.run([this, generation, path = path_, bound = size()] {
        if (decoding_.stale(generation))
            return;
        QImage picture = ReadPicture(path, bound, &failures_);
        decoding_.post(generation, [this, picture = std::move(picture)] {
            picture_ = picture;
            update();
        });
    });
}

void CouchPicture::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    decode();
}

void CouchPicture::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize size =
        picture_.size().boundedTo(picture_.size().scaled(this->size(), Qt::KeepAspectRatio));
    const QRect at(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.drawImage(at, picture_);
}
