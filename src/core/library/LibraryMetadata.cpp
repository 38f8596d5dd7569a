#include "core/library/LibraryMetadata.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/library/Library.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace zanku {
namespace {
// The source's place, plus one, above the offset's 32 bits; 0: no details.
constexpr int SourceShift = 32;
constexpr qint64 OffsetMask = (qint64(1) << SourceShift) - 1;

qint64 sourceBits(const GameMetadata &game)
{
    return game.descriptionOffset >> SourceShift;
}
} // namespace

MetadataTable ReadCatalogueMetadata(const MetadataCatalogue &catalogue,
                                    const std::function<bool()> &stale)
{
    MetadataTable table;
    table.bySlot.resize(catalogue.games.size());
    std::vector<std::vector<int>> gamesOf(catalogue.emulators.size());
    for (size_t slot = 1; slot < catalogue.games.size(); ++slot) {
        const size_t e = size_t(catalogue.games[slot].EmulatorIndex);
        if (e >= 1 && e < gamesOf.size())
            gamesOf[e].push_back(int(slot));
    }
    for (size_t e = 1; e < gamesOf.size(); ++e) {
        if (stale && stale())
            return {};
        if (gamesOf[e].empty())
            continue;
        const EmulatorPlaces places(catalogue.emulators[e], catalogue.programDir);
        const EmulatorMetadata metadata(places, catalogue.home);
        table.problems += metadata.problems;
        const qint64 first = qint64(table.sources.size()) + 1;
        for (const EmulatorMetadata::Read &read : metadata.reads)
            table.sources.push_back(read.source);
        for (const int slot : gamesOf[e]) {
            const GameRecord &game = catalogue.games[size_t(slot)];
            const QString archive =
                game.Zipped ? places.archiveOf(game.File, game.Archive) : QString();
            int source = 0;
            if (const GameMetadata *found =
                    metadata.match(game.File, archive, game.Name, &source)) {
                GameMetadata &kept = table.bySlot[size_t(slot)] = *found;
                kept.descriptionOffset |= (first + source) << SourceShift;
            }
        }
    }
    return table;
}

LibraryMetadata::LibraryMetadata(const Library &library, QObject *parent)
    : QObject(parent)
    , library_(library)
{
}

void LibraryMetadata::start()
{
    if (std::exchange(started_, true))
        return;
    read();
}

void LibraryMetadata::catalogueRead()
{
    work_.restart();
    table_ = {};
    anyYear_ = anyGenre_ = anyDetails_ = reading_ = false;
    if (started_)
        read();
}

void LibraryMetadata::read()
{
    auto catalogue = std::make_shared<MetadataCatalogue>();
    catalogue->programDir = library_.programDir();
    catalogue->home = QDir::homePath();
    catalogue->emulators.reserve(size_t(library_.EmulatorCount()) + 1);
    for (int e = 0; e <= library_.EmulatorCount(); ++e)
        catalogue->emulators.push_back(e == 0 ? EmulatorRecord() : library_.emulator(e));
    catalogue->games.reserve(size_t(library_.GameCount()) + 1);
    for (int slot = 0; slot <= library_.GameCount(); ++slot)
        catalogue->games.push_back(library_.game(slot));
    const quint64 generation = work_.restart();
    reading_ = true;
    work_.run([this, generation, catalogue] {
        auto table = std::make_shared<MetadataTable>(ReadCatalogueMetadata(
            *catalogue, [this, generation] { return work_.stale(generation); }));
        work_.post(generation, [this, table] {
            table_ = std::move(*table);
            reading_ = false;
            anyYear_ = std::any_of(table_.bySlot.cbegin(), table_.bySlot.cend(),
                                   [](const GameMetadata &game) { return game.year() != 0; });
            anyGenre_ =
                std::any_of(table_.bySlot.cbegin(), table_.bySlot.cend(),
                            [](const GameMetadata &game) { return !game.genre().isEmpty(); });
            anyDetails_ =
                std::any_of(table_.bySlot.cbegin(), table_.bySlot.cend(),
                            [](const GameMetadata &game) { return sourceBits(game) != 0; });
            emit changed();
            for (const QString &problem : std::as_const(table_.problems)) {
                if (told_.contains(problem))
                    continue;
                told_.insert(problem);
                emit readProblem(problem);
            }
        });
    });
}

const GameMetadata *LibraryMetadata::of(int slot) const
{
    if (slot < 1 || size_t(slot) >= table_.bySlot.size())
        return nullptr;
    const GameMetadata &game = table_.bySlot[size_t(slot)];
    return sourceBits(game) != 0 ? &game : nullptr;
}

const MetadataSource *LibraryMetadata::sourceAt(int slot) const
{
    const GameMetadata *game = of(slot);
    const qint64 source = game != nullptr ? sourceBits(*game) - 1 : -1;
    return source >= 0 && size_t(source) < table_.sources.size() ? &table_.sources[size_t(source)]
                                                                 : nullptr;
}

QString LibraryMetadata::description(int slot) const
{
    const MetadataSource *source = sourceAt(slot);
    if (source == nullptr)
        return {};
    GameMetadata game = *of(slot);
    game.descriptionOffset &= OffsetMask;
    return ReadDescription(source->file, game);
}

QString LibraryMetadata::sourceOf(int slot) const
{
    const MetadataSource *source = sourceAt(slot);
    return source != nullptr ? source->file : QString();
}

QString LibraryMetadata::pictureOf(int slot) const
{
    for (const QString &path : picturesNamed(slot)) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QStringList LibraryMetadata::picturesNamed(int slot) const
{
    const MetadataSource *source = sourceAt(slot);
    if (source == nullptr)
        return {};
    const GameMetadata &game = *of(slot);
    QStringList paths;
    for (const QStringView picture : {game.image(), game.thumbnail(), game.marquee()}) {
        const QString path = MetadataPath(*source, picture, QDir::homePath());
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

size_t LibraryMetadata::memoryUsed() const
{
    size_t bytes = table_.bySlot.capacity() * sizeof(GameMetadata);
    // The short texts of each game, as one string: its characters and the string's header.
    for (const GameMetadata &game : table_.bySlot) {
        const qsizetype chars = game.marquee().data() + game.marquee().size() - game.path().data();
        bytes += chars > 0 ? size_t(chars) * sizeof(QChar) + 32 : 0;
    }
    return bytes;
}

} // namespace zanku
