#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The picture at `path` scaled down to fit `bound` keeping its proportions (never scaled up),
// decoded scaled where the format allows. Null on anything wrong: not an ordinary file (a pipe
// is refused without waiting), a file over 64 MiB, a header claiming more than 100 megapixels
// or a side over 30000, a format other than PNG, JPEG, GIF, BMP or WebP, a broken or truncated
// file. Never waits on anything but the file's bytes; what it allocates is bounded by the
// limits above.
QImage ReadPicture(const QString &path, const QSize &bound);
