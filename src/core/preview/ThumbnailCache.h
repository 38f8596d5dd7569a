#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Small pictures kept on disk in `folder` (the user's cache folder), keyed by the picture's
// version (PictureVersion: its path, identity, size and times) and the bound asked for: a
// changed, replaced or swapped picture is made again. A full or read-only cache only costs speed
// (store silently does nothing). Each thumbnail is at most 40 KB on disk (JPEG for opaque ones, PNG
// for ones with alpha), written whole or not at all, in subfolders named by the first two hex
// characters of its key. Every member is const and keeps no state: workers share one freely.
class ThumbnailCache {
public:
    explicit ThumbnailCache(QString folder);

    // Null when not there, or made from an older version of the picture.
    QImage find(const QString &picture, const QSize &bound) const;
    void store(const QString &picture, const QSize &bound, const QImage &thumbnail) const;

    static constexpr qint64 MaxThumbnailBytes = 40 * 1024;

private:
    // The thumbnail's path without its extension; empty when the picture is not a file.
    QString stemOf(const QString &picture, const QSize &bound) const;

    QString folder_;
};
