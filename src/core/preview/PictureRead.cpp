#include "core/preview/PictureRead.h"

#include "core/files/RegularFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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

#ifdef Q_OS_UNIX
QByteArray PictureVersion(const QString &path)
{
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    struct stat st {};
    if (path.isEmpty() || ::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const auto nanoseconds = [](const timespec &t) {
        return QByteArray::number(qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec);
    };
    return name + '\n' + QByteArray::number(quint64(st.st_dev)) + ' ' +
           QByteArray::number(quint64(st.st_ino)) + ' ' + QByteArray::number(qint64(st.st_size)) +
           ' ' + nanoseconds(st.st_mtim) + ' ' + nanoseconds(st.st_ctim);
}
#else
QByteArray PictureVersion(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    const auto time = [&](QFileDevice::FileTime which) {
        return QByteArray::number(info.fileTime(which).toMSecsSinceEpoch());
    };
    return QFile::encodeName(info.absoluteFilePath()) + '\n' + QByteArray::number(info.size()) +
           ' ' + time(QFileDevice::FileModificationTime) + ' ' +
           time(QFileDevice::FileMetadataChangeTime);
}
#endif

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
