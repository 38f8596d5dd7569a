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
// A JPEG is decoded straight to as little as an eighth of its sides, so a large one costs
// little more than reading its bytes.
constexpr qint64 MaxScaledPixels = 100'000'000;
// Every other format is decoded whole before it is scaled: 25 megapixels already cost a
// second or two of a core and 100 MB, and a file four times that size would cost four times
// as much at every read.
constexpr qint64 MaxWholePixels = 25'000'000;
constexpr int MaxSide = 30000;
// Past this many failures remembered, they are forgotten and paid again.
constexpr qsizetype MaxFailures = 100'000;

// Formats a picture set holds. Others (TGA has no signature at all) could take random bytes
// for a picture.
bool isPictureFormat(const QByteArray &format)
{
    static const QList<QByteArray> known{"png", "jpeg", "jpg", "gif", "bmp", "webp"};
    return known.contains(format.toLower());
}

bool scalesWhileDecoding(const QByteArray &format)
{
    return format.toLower() == "jpeg" || format.toLower() == "jpg";
}

bool isPlausibleSize(const QSize &size, qint64 maxPixels)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxSide &&
           size.height() <= MaxSide && qint64(size.width()) * size.height() <= maxPixels;
}

// The picture in `content` fitted into `bound`, in a true-colour format; null when it is not
// one of ours, too large or broken. Qt's own allocation limit stays as a second guard behind
// the size the header claims.
QImage decode(QByteArray &content, const QSize &bound)
{
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!isPictureFormat(reader.format()))
        return {};
    const bool scaled = scalesWhileDecoding(reader.format());
    const QSize size = reader.size(); // from the header alone
    if (!isPlausibleSize(size, scaled ? MaxScaledPixels : MaxWholePixels))
        return {};
    const QSize fitted = size.width() <= bound.width() && size.height() <= bound.height()
                             ? size
                             : size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    // JPEG decodes straight to the smaller size; a true-colour PNG is shrunk row by row as
    // it is read, never held whole. A palette or one-bit one is read whole: its indices
    // scaled as they are turn one colour into noise.
    const QImage::Format stored = reader.imageFormat();
    const bool palette = stored == QImage::Format_Indexed8 || stored == QImage::Format_Mono ||
                         stored == QImage::Format_MonoLSB;
    if (fitted != size && (scaled || (reader.format() == "png" && !palette)))
        reader.setScaledSize(fitted);
    QImage image;
    if (!reader.read(&image))
        return {}; // broken or cut short
    // Painted and scaled in true colour.
    const QImage::Format trueColour =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != trueColour)
        image.convertTo(trueColour);
    if (image.size() != fitted)
        image = image.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
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

bool PictureFailures::contains(const QByteArray &version) const
{
    const QMutexLocker lock(&mutex_);
    return versions_.contains(version);
}

void PictureFailures::insert(const QByteArray &version)
{
    const QMutexLocker lock(&mutex_);
    if (versions_.size() >= MaxFailures)
        versions_.clear();
    versions_.insert(version);
}

QImage ReadPicture(const QString &path, const QSize &bound, PictureFailures *failures)
{
    if (bound.isEmpty())
        return {};
    const QByteArray version = failures ? PictureVersion(path) : QByteArray();
    if (!version.isEmpty() && failures->contains(version))
        return {};
    // Opens without waiting and refuses a pipe, a device or a folder before reading.
    RegularFileRead file = ReadRegularFile(path, MaxFileBytes);
    if (file.status == RegularFileRead::Missing || file.status == RegularFileRead::Unreadable)
        return {}; // may pass (too many files open): tried again at the next showing
    QImage image = file.ok() ? decode(file.content, bound) : QImage();
    if (image.isNull() && !version.isEmpty())
        failures->insert(version);
    return image;
}
