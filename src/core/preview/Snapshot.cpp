#include "core/preview/Snapshot.h"

#include "core/files/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

QString ThumbnailLabel(const QString &gameName)
{
    QString label = gameName;
    for (const QChar c : QStringLiteral("&*/:`<>?\\|\""))
        label.replace(c, u'_');
    return label;
}

QString FindArtworkSnapshot(const QString &snapshotPath, const QString &gameName,
                            const QString &gameFile, const QString &emulatorDir)
{
    const QDir folder(QDir(emulatorDir).filePath(snapshotPath));
    const QString base = QFileInfo(StripExtension(gameFile)).fileName();
    const QStringList candidates{
        QStringLiteral("Named_Snaps/") + ThumbnailLabel(gameName) + QStringLiteral(".png"),
        QStringLiteral("Named_Snaps/") + ThumbnailLabel(base) + QStringLiteral(".png"),
        QStringLiteral("screenshots/") + base + QStringLiteral(".png"),
        QStringLiteral("screenshots/") + base + QStringLiteral(".jpg")};
    for (const QString &candidate : candidates) {
        const QFileInfo picture(folder, candidate);
        if (!base.isEmpty() && picture.isFile())
            return picture.absoluteFilePath();
    }
    return {};
}

QString FindSnapshot(const QString &snapshotPath, const QString &gameFile,
                     const QString &emulatorDir)
{
    const QFileInfo stem(QDir(emulatorDir),
                         snapshotPath + QDir::separator() + StripExtension(gameFile));
    const QDir folder = stem.dir();
    std::optional<QStringList> names; // the folder's visible files, read on the first miss
    // The classic three first, in their order; then what emulators save their screenshots
    // as today.
    for (const char *extension : {".jpg", ".gif", ".bmp", ".png", ".webp"}) {
        const QString name = stem.fileName() + QLatin1String(extension);
        QFileInfo picture(folder, name);
        if (!picture.isFile()) {
            if (!names)
                names = folder.entryList(QDir::Files, QDir::Name);
            const auto other = std::find_if(names->cbegin(), names->cend(), [&](const QString &n) {
                return n.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (other == names->cend())
                continue;
            picture = QFileInfo(folder, *other);
        }
        if (picture.isFile() && !picture.isHidden())
            return picture.absoluteFilePath();
    }
    return {};
}
