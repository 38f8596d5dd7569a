// A cover or a snapshot as a player's artwork folder might hold it: any bytes, read as a
// picture. What comes back fits the bound in a true-colour format, and a failed read is
// remembered and fails again without being paid for.
#include "core/preview/PictureRead.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write((const char *)data, qint64(size)) != qint64(size))
        __builtin_trap();
    file.close();
    const QSize bound(size % 2 == 0 ? 200 : 7, 280);
    PictureFailures failures;
    const QImage image = ReadPicture(path, bound, &failures);
    if (!image.isNull() && (image.width() > bound.width() || image.height() > bound.height() ||
                            (image.format() != QImage::Format_RGB32 &&
                             image.format() != QImage::Format_ARGB32_Premultiplied)))
        __builtin_trap();
    if (image.isNull() != failures.contains(PictureVersion(path)))
        __builtin_trap();
    const QImage again = ReadPicture(path, bound, &failures);
    if (again.isNull() != image.isNull() || (!image.isNull() && again != image))
        __builtin_trap();
    return 0;
}
