#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QSet>
#include <QSize>
#include <QString>

// What tells one version of a picture file from another, for what is kept about it: its
// absolute path, device and inode (a file swapped or renamed into its place is another
// one), size, and modification and change times (the change time moves at every write,
// rename or touch, and no program can set it back). Empty when there is no regular file at
// `path`; a link is followed, as the reader follows it.
QByteArray PictureVersion(const QString &path);

// Pictures that could not be read, by version (PictureVersion): a broken or refused file is
// paid for once a session, not at every showing, and read again once it changes. Shared by
// workers freely.
class PictureFailures {
public:
    bool contains(const QByteArray &version) const;
    void insert(const QByteArray &version);

private:
    mutable QMutex mutex_;
    QSet<QByteArray> versions_;
};

// The picture at `path` scaled down to fit `bound` keeping its proportions (never scaled up),
// decoded scaled where the format allows, in a true-colour format (RGB32, or
// ARGB32_Premultiplied with alpha). Null on anything wrong: not an ordinary file (a pipe is
// refused without waiting), a file over 64 MiB, a header claiming more than 25 megapixels
// (100 for a JPEG, which decodes scaled) or a side over 30000, a format other than PNG, JPEG,
// GIF, BMP or WebP, a broken or truncated file. Never waits on anything but the file's bytes;
// what it allocates is bounded by the limits above. With `failures`, a version known there is
// not read again, and one that fails is added.
QImage ReadPicture(const QString &path, const QSize &bound, PictureFailures *failures = nullptr);
