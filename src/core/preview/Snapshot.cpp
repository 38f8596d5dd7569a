#include "core/preview/Snapshot.h"

#include "core/files/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

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
