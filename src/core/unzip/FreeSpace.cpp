#include "core/unzip/FreeSpace.h"

#include "core/unzip/VBUnzBas.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <utility>

namespace {

FreeSpaceProbe &installedProbe()
{
    static FreeSpaceProbe probe = [](const QString &directory) -> qint64 {
        const QStorageInfo storage(directory);
        return storage.isValid() ? storage.bytesAvailable() : -1;
    };
    return probe;
}

} // namespace

QString ExistingAncestor(const QString &path)
{
    QFileInfo info(QDir::current().absoluteFilePath(path));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

FreeSpaceProbe SetFreeSpaceProbe(FreeSpaceProbe probe)
{
    return std::exchange(installedProbe(), std::move(probe));
}

qint64 UnzipFreeSpace(const QString &directory)
{
    const FreeSpaceProbe &probe = installedProbe();
    return probe ? probe(directory) : -1;
}
