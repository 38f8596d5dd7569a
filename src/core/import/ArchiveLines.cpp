#include "core/import/ArchiveLines.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/files/FileNames.h"
#include "core/import/ImportArchives.h"

#include <QDir>
#include <QFileInfo>

std::vector<ArchiveLineFix> ArchiveLineFixes(const EmulatorRecord &emulator,
                                             const QString &programDir,
                                             const std::vector<GameRecord> &games)
{
    std::vector<ArchiveLineFix> fixes;
    const zanku::EmulatorPlaces places(emulator, programDir);
    if (places.directory().isEmpty())
        return fixes;
    for (int row = 0; row < int(games.size()); ++row) {
        const QString &file = games[size_t(row)].File;
        const int rank = ArchiveRank(file);
        const QString archive = QDir::cleanPath(places.resolve(file));
        // A ".zip" is left alone: many emulators are given their games zipped.
        if (rank <= int(GameArchive::Zip) || !QFileInfo(archive).isFile())
            continue;
        ImportCandidate candidate;
        if (!ReadArchiveCandidate(candidate, archive, StripExtension(file.section(u'/', -1))))
            continue;
        const QString fixed =
            file.left(file.size() - file.section(u'/', -1).size()) + candidate.file;
        const std::optional<GameArchive> found = places.findArchive(fixed);
        if (QFileInfo::exists(places.resolve(fixed)) || !found ||
            QDir::cleanPath(places.archiveOf(fixed, *found)) != archive)
            continue;
        fixes.push_back({row, fixed});
    }
    return fixes;
}
