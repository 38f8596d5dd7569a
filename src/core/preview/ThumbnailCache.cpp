#include "core/preview/ThumbnailCache.h"

#include "core/files/TextFile.h"
#include "core/preview/PictureRead.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {
const QString JpegExtension = QStringLiteral(".jpg");
const QString PngExtension = QStringLiteral(".png");

bool isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return false;
        }
    }
    return true;
}

QByteArray encoded(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format, quality) ? bytes : QByteArray();
}

// The smallest good-looking encoding under the size limit, with the extension it goes under;
// empty when none fits.
std::pair<QByteArray, QString> encodeWithin(const QImage &image, qint64 limit)
{
    if (isOpaque(image)) {
        for (const int quality : {85, 70, 55, 40}) {
            QByteArray bytes = encoded(image, "JPG", quality);
            if (!bytes.isEmpty() && bytes.size() <= limit)
                return {std::move(bytes), JpegExtension};
        }
        return {};
    }
    QByteArray bytes = encoded(image, "PNG", 0);
    if (bytes.isEmpty() || bytes.size() > limit) // a palette keeps a noisy one small
        bytes = encoded(image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdAlphaDither),
                        "PNG", 0);
    if (bytes.isEmpty() || bytes.size() > limit)
        return {};
    return {std::move(bytes), PngExtension};
}
} // namespace

ThumbnailCache::ThumbnailCache(QString folder)
    : folder_(std::move(folder))
{
}

QString ThumbnailCache::stemOf(const QString &picture, const QSize &bound) const
{
    const QByteArray version = PictureVersion(picture);
    if (version.isEmpty())
        return {};
    const QByteArray identity = "2\n" + version + '\n' + QByteArray::number(bound.width()) + 'x' +
                                QByteArray::number(bound.height());
    const QString key =
        QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex());
    return folder_ + u'/' + key.left(2) + u'/' + key;
}

QImage ThumbnailCache::find(const QString &picture, const QSize &bound) const
{
    const QString stem = stemOf(picture, bound);
    if (stem.isEmpty())
        return {};
    for (const QString &extension : {JpegExtension, PngExtension}) {
        QImage thumbnail = ReadPicture(stem + extension, bound);
        if (!thumbnail.isNull())
            return thumbnail;
    }
    return {};
}

void ThumbnailCache::store(const QString &picture, const QSize &bound,
                           const QImage &thumbnail) const
{
    const QString stem = stemOf(picture, bound);
    if (stem.isEmpty() || thumbnail.isNull())
        return;
    const auto [bytes, extension] = encodeWithin(thumbnail, MaxThumbnailBytes);
    if (bytes.isEmpty() || !QDir().mkpath(QFileInfo(stem).path()))
        return;
    WriteFileBytes(stem + extension, bytes); // a full disk leaves no half thumbnail behind
}
