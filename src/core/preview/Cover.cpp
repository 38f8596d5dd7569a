#include "core/preview/Cover.h"

#include "core/files/FileNames.h"
#include "core/preview/Snapshot.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The first of an artwork set's pictures that is an ordinary file: "<set>/<label>.png" for the
// name's and the base name's labels, then "<folder>/<base>.png" and ".jpg".
QString findInSets(const QDir &snapshots, const QString &labelledSet, const QString &folder,
                   const QString &name, const QString &base)
{
    const QString png = QStringLiteral(".png");
    QStringList candidates{labelledSet + u'/' + ThumbnailLabel(base) + png,
                           folder + u'/' + base + png,
                           folder + u'/' + base + QStringLiteral(".jpg")};
    if (!name.isEmpty())
        candidates.prepend(labelledSet + u'/' + ThumbnailLabel(name) + png);
    for (const QString &candidate : candidates) {
        const QFileInfo picture(snapshots, candidate);
        if (picture.isFile()) // a folder or a pipe of that name is not a picture
            return picture.absoluteFilePath();
    }
    return {};
}
// The cover in the snapshot directory's own layouts.
QString findOwnCover(const CoverPlace &place)
{
    const QString base = QFileInfo(StripExtension(place.file)).fileName();
    if (base.isEmpty() || !QDir::isAbsolutePath(place.snapshotDir))
        return {};
    const QDir snapshots(place.snapshotDir);
    for (const auto &[labelledSet, folder] :
         {std::pair{"Named_Boxarts", "covers"}, std::pair{"Named_Titles", "titlescreens"}}) {
        const QString found = findInSets(snapshots, QLatin1String(labelledSet),
                                         QLatin1String(folder), place.name, base);
        if (!found.isEmpty())
            return found;
    }
    const QString snapshot = FindSnapshot(place.snapshotDir, place.file, place.snapshotDir);
    return !snapshot.isEmpty()
               ? snapshot
               : FindArtworkSnapshot(place.snapshotDir, place.name, place.file, place.snapshotDir);
}
} // namespace

QString FindCover(const CoverPlace &place)
{
    const QString own = findOwnCover(place);
    if (!own.isEmpty())
        return own;
    for (const QString &picture : place.alsoPictures) {
        if (QDir::isAbsolutePath(picture) && QFileInfo(picture).isFile())
            return picture;
    }
    return {};
}

QString FindTitleScreen(const CoverPlace &place)
{
    const QString base = QFileInfo(StripExtension(place.file)).fileName();
    if (base.isEmpty() || !QDir::isAbsolutePath(place.snapshotDir))
        return {};
    return findInSets(QDir(place.snapshotDir), QStringLiteral("Named_Titles"),
                      QStringLiteral("titlescreens"), place.name, base);
}
