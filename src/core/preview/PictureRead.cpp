#include "core/preview/PictureRead.h"

#include "core/files/RegularFile.h"

#include <QBuffer>
#include <QImageReader>

namespace {
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
constexpr qint64 MaxPixels = 100'000'000;
constexpr int MaxSide = 30000;

// Formats a picture set holds. Others (TGA has no signature at all) could take random bytes
// for a picture.
bool isPictureFormat(const QByteArray &format)
{
    static const QList<QByteArray> known{"png", "jpeg", "jpg", "gif", "bmp", "webp"};
    return known.contains(format.toLower());
}

bool isPlausibleSize(const QSize &size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxSide &&
           size.height() <= MaxSide && qint64(size.width()) * size.height() <= MaxPixels;
}
} // namespace

QImage ReadPicture(const QString &path, const QSize &bound)
{
    if (bound.isEmpty())
        return {};
    // Opens without waiting and refuses a pipe, a device or a folder before reading.
    RegularFileRead file = ReadRegularFile(path, MaxFileBytes);
    if (!file.ok())
        return {};
    QBuffer buffer(&file.content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!isPictureFormat(reader.format()))
        return {};
    const QSize size = reader.size(); // from the header alone
    if (!isPlausibleSize(size))
        return {};
    const QSize fitted = size.width() <= bound.width() && size.height() <= bound.height()
                             ? size
                             : size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (fitted != size)
        reader.setScaledSize(fitted); // JPEG and PNG decode straight to the smaller size
    QImage image;
    if (!reader.read(&image))
        return {}; // broken or cut short
    if (image.size() != fitted)
        image = image.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}
