#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// What tells one version of a picture file from another, for what is kept about it: its
// absolute path, device and inode (a file swapped or renamed into its place is another
// one), size, and modification and change times (the change time moves at every write,
// rename or touch, and no program can set it back). Empty when there is no regular file at
// `path`; a link is followed, as the reader follows it.
QByteArray PictureVersion(const QString &path);

// The picture at `path` scaled down to fit `bound` keeping its proportions (never scaled up),
// decoded scaled where the format allows. Null on anything wrong: not an ordinary file (a pipe
// is refused without waiting), a file over 64 MiB, a header claiming more than 100 megapixels
// or a side over 30000, a format other than PNG, JPEG, GIF, BMP or WebP, a broken or truncated
// file. Never waits on anything but the file's bytes; what it allocates is bounded by the
// limits above.
QImage ReadPicture(const QString &path, const QSize &bound);
