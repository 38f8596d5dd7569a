#pragma once

#include "core/common/BackgroundWork.h"
#include "core/preview/PictureRead.h"

#include <QImage>
#include <QWidget>

// The chosen game's picture in the couch view, as large as its place allows (never larger
// than it is), centred. Nothing is drawn for a game without one. Decoded off the main
// thread; a newer choice makes an older decode stale.
class CouchPicture : public QWidget {
    Q_OBJECT
public:
    explicit CouchPicture(QWidget *parent);

    // The picture of this file; an empty path shows none.
    void showPicture(const QString &path);
    bool showing() const { return !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void decode();

    QString path_;
    QImage picture_;
    PictureFailures failures_;
    zanku::BackgroundWork decoding_{this};
};
