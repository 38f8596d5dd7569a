#include "core/metadata/MetadataSources.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/common/Quoted.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zanku {
namespace {
// A regular file at `path`, followed through links; a folder or a pipe is none.
bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}
} // namespace

std::vector<MetadataSource> MetadataSourcesOf(const EmulatorPlaces &places, const QString &home)
{
    std::vector<MetadataSource> sources;
    const QString &games = places.directory();
    if (games.isEmpty())
        return sources;
    const auto add = [&](const QString &folder, const char *name, MetadataSource::Format format) {
        const QString file = QDir(folder).filePath(QLatin1String(name));
        if (isFile(file))
            sources.push_back({file, folder, format});
        return isFile(file);
    };
    const QString zips = places.zippedGames();
    add(games, "gamelist.xml", MetadataSource::Gamelist);
    if (!zips.isEmpty() && QDir::cleanPath(zips) != QDir::cleanPath(games))
        add(zips, "gamelist.xml", MetadataSource::Gamelist);
    if (!add(games, "metadata.pegasus.txt", MetadataSource::Pegasus))
        add(games, "metadata.txt", MetadataSource::Pegasus);
    // The system's own gamelist only where the player keeps none beside the games: one
    // beside them is the newer word.
    const QString system = QFileInfo(QDir::cleanPath(games)).fileName();
    if (sources.empty() && !system.isEmpty() && !home.isEmpty()) {
        for (const char *keeper : {"ES-DE/gamelists/", ".emulationstation/gamelists/"}) {
            const QString file = QDir(home).filePath(QLatin1String(keeper) + system) +
                                 QStringLiteral("/gamelist.xml");
            if (isFile(file))
                sources.push_back({file, games, MetadataSource::Gamelist});
        }
    }
    return sources;
}

MetadataRead ReadMetadataSource(const MetadataSource &source)
{
    return source.format == MetadataSource::Pegasus ? ReadPegasusMetadata(source.file)
                                                    : ReadGamelist(source.file);
}

QString MetadataPath(const MetadataSource &source, QStringView path, const QString &home)
{
    if (path.isEmpty())
        return {};
    if (path.startsWith(u"~/"))
        return QDir::cleanPath(home + path.mid(1).toString());
    return QDir::cleanPath(QDir(source.folder).absoluteFilePath(path.toString()));
}

EmulatorMetadata::EmulatorMetadata(const EmulatorPlaces &places, const QString &home)
{
    for (MetadataSource &source : MetadataSourcesOf(places, home)) {
        MetadataRead read = ReadMetadataSource(source);
        if (!read.ok()) {
            QString why = read.error;
            while (why.endsWith(u'.'))
                why.chop(1);
            problems.append(QCoreApplication::translate(
                                "zanku::LibraryMetadata",
                                "Game details read only up to line %1 of %2: %3. The games "
                                "before it keep theirs.")
                                .arg(read.line)
                                .arg(Quoted(QDir::toNativeSeparators(source.file)), why));
        }
        MetadataIndex index = IndexMetadata(source.folder, read.games);
        reads.push_back({std::move(source), std::move(read.games), std::move(index)});
    }
}

const GameMetadata *EmulatorMetadata::match(const QString &file, const QString &archive,
                                            const QString &name, int *source) const
{
    // A file named in any source outranks a name alike in an earlier one.
    for (const bool byName : {false, true}) {
        for (size_t r = 0; r < reads.size(); ++r) {
            const MetadataQuery query =
                byName
                    ? MetadataQuery{reads[r].source.folder, {}, false, {}, name}
                    : MetadataQuery{reads[r].source.folder, file, !archive.isEmpty(), archive, {}};
            const qsizetype found = MatchMetadata(reads[r].index, query);
            if (found < 0)
                continue;
            if (source != nullptr)
                *source = int(r);
            return &reads[r].entries[size_t(found)];
        }
    }
    return nullptr;
}

} // namespace zanku
