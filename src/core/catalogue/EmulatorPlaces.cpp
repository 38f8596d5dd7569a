#include "core/catalogue/EmulatorPlaces.h"

#include "core/catalogue/RomList.h"
#include "core/preview/Snapshot.h"

#include <QDir>
#include <QFileInfo>

namespace zanku {

EmulatorPlaces::EmulatorPlaces(const EmulatorRecord &emulator, const QString &programDir)
    : emulator_(emulator)
    , directory_(emulator.Path.isEmpty()
                     ? QString()
                     : QDir::cleanPath(QDir(programDir).absoluteFilePath(emulator.Path)))
    , romList_(QDir(programDir).filePath(RomListFileName(emulator.Name)))
    , zippedGames_(emulator.ZippedRomPath.isEmpty() ? directory_ : resolve(emulator.ZippedRomPath))
{
}

QString EmulatorPlaces::resolve(const QString &path) const
{
    return QDir::cleanPath(QDir(directory_).absoluteFilePath(path));
}

QString EmulatorPlaces::archiveOf(const QString &gameFile, GameArchive archive) const
{
    return resolve(ArchivePathFor(emulator_.ZippedRomPath, gameFile, QDir::separator(), archive));
}

std::optional<GameArchive> EmulatorPlaces::findArchive(const QString &gameFile) const
{
    for (size_t kind = 0; kind < ArchiveExtensions.size(); ++kind) {
        if (QFileInfo(archiveOf(gameFile, GameArchive(kind))).isFile())
            return GameArchive(kind);
    }
    return std::nullopt;
}

QString EmulatorPlaces::snapshotOf(const QString &gameFile, const QString &gameName) const
{
    const QString snapshot = FindSnapshot(emulator_.SnapshotPath, gameFile, directory_);
    return !snapshot.isEmpty() || gameFile.isEmpty()
               ? snapshot
               : FindArtworkSnapshot(emulator_.SnapshotPath, gameName, gameFile, directory_);
}

CoverPlace EmulatorPlaces::coverPlaceOf(const QString &gameFile, const QString &gameName) const
{
    const QString &snapshots = emulator_.SnapshotPath;
    const bool resolvable =
        !snapshots.isEmpty() && (QDir::isAbsolutePath(snapshots) || !directory_.isEmpty());
    return {resolvable ? resolve(snapshots) : QString(), gameName, gameFile, {}};
}

} // namespace zanku
