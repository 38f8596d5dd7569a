#include "core/import/ImportScan.h"

#include "core/common/CoreText.h"
#include "core/common/ProgramFiles.h"

#include "core/import/ImportArchives.h"
#include "core/import/ImportDiscs.h"
#include "core/import/ImportGameName.h"
#include "core/import/ImportNames.h"
#include "core/metadata/MetadataSources.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/editor/EditorRecords.h"
#include "core/files/DirectoryListing.h"
#include "core/files/FileNames.h"
#include "core/files/TextFile.h"
#include "core/gamedata/PlayHistory.h"
#include "core/input/PadKeys.h"
#include "core/launch/ExtractionJournal.h"
#include "core/launch/ExtractionMarker.h"
#include "core/library/Library.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {
using zanku::EntryType;
using zanku::ListedNames;
using zanku::nameIn;

QString CodePageProblem()
{
    return zanku::CoreText::tr(
        "Its name cannot be written in a ROM list in this system's code page.");
}

// `named`: the text is a name read from the disk, which the code page already holds.
QString lineProblem(const QString &file, bool named = false)
{
    if (file.contains(u'='))
        return zanku::CoreText::tr("Its name holds \"=\", which a ROM list line cannot hold.");
    if (file.contains(u'\n') || file.contains(u'\r'))
        return zanku::CoreText::tr(
            "Its name holds a line break, which a ROM list line cannot hold.");
#ifdef Q_OS_UNIX
    if (named)
        return {};
#endif
    if (QString::fromLocal8Bit(file.toLocal8Bit()) != file)
        return CodePageProblem();
    return {};
}

// The name without its extension, as StripExtension gives it, without a copy.
QStringView baseOf(const QString &name)
{
    const QChar *text = name.constData();
    for (qsizetype dot = name.size() - 2; dot >= 0; --dot) { // never the final character
        if (text[dot] == u'.')
            return QStringView(text, dot);
    }
    return name;
}

} // namespace

struct ImportScan::Data {
    EmulatorRecord emulator;
    QString programDir;
    zanku::EmulatorPlaces places;
    ImportScanControl &control;
    QStringList emulatorNames;
    ListedNames known; // its archives once readArchives() begins
    bool archivesKnown = false;

    Data(const EmulatorRecord &emulator, const QString &programDir,
         const std::vector<GameRecord> &listed, ImportScanControl &control,
         const QStringList &emulatorNames)
        : emulator(emulator)
        , programDir(programDir)
        , places(emulator, programDir)
        , control(control)
        , emulatorNames(emulatorNames)
        , known(places, listed, false)
    {
    }
};

ImportScan::ImportScan(const EmulatorRecord &emulator, const QString &programDir,
                       const std::vector<GameRecord> &listed, ImportScanControl &control,
                       const QStringList &emulatorNames)
    : d(std::make_unique<Data>(emulator, programDir, listed, control, emulatorNames))
{
}

ImportScan::~ImportScan() = default;

// An archive as its name tells it: its File waits for its member, read later.
ImportCandidate archiveCandidate(QString &&name, bool faithful)
{
    ImportCandidate candidate;
    candidate.kind = ImportKind::Zip;
    const QLatin1String extension(ArchiveExtensions[size_t(ArchiveRank(name))]);
    const QString base = name.chopped(extension.size());
    candidate.name = ImportName(base);
    if (!faithful)
        candidate.problem = CodePageProblem();
    else if (!name.endsWith(extension) && FileNameKey(name) != FileNameKey(base + extension))
        candidate.problem =
            zanku::CoreText::tr("The catalogue looks for archives ending in \"%1\".")
                .arg(extension);
    else
        candidate.pending = true;
    candidate.file = candidate.pending ? base : name;
    candidate.entry = std::move(name);
    return candidate;
}

// The names in the Games Directory that are not games: the emulator's own program and
// folders, and where it is the program directory, the program's own files.
// What a name is first looked up in: the names excluded, and those the list holds.
zanku::NameFilter passedOverFilter(const QSet<QString> &excluded, const QSet<QString> &listed)
{
    zanku::NameFilter filter;
    for (const QString &key : excluded)
        filter.add(key);
    for (const QString &key : listed)
        filter.add(key);
    return filter;
}

QSet<QString> notGames(const ImportScan::Data &d)
{
    QSet<QString> excluded = {nameIn(d.places, d.places.directory(), d.emulator.Program),
                              nameIn(d.places, d.places.directory(), d.emulator.ZippedRomPath),
                              nameIn(d.places, d.places.directory(), d.emulator.SnapshotPath)};
    // An extraction leaves its marker in whichever folder it fills, this one included.
    excluded.insert(FileNameKey(QLatin1String(zanku::own::Marker)));
    // The game details other programs keep beside the games are no game.
    for (const char *details : {"gamelist.xml", "metadata.pegasus.txt", "metadata.txt"})
        excluded.insert(FileNameKey(QLatin1String(details)));
    if (FileNameKey(d.places.directory()) ==
        FileNameKey(QDir::cleanPath(QDir(d.programDir).absolutePath()))) {
        for (const QString &own : zanku::own::OwnNames())
            excluded.insert(FileNameKey(own));
        for (const QString &name : d.emulatorNames)
            excluded.insert(FileNameKey(RomListFileName(name)));
    }
    return excluded;
}

// The names the player's gamelist or Pegasus file gives the games found, by their file.
void nameFromMetadata(const zanku::EmulatorPlaces &places, std::vector<ImportCandidate> &found)
{
    const zanku::EmulatorMetadata metadata(places, QDir::homePath());
    for (size_t i = 0; !metadata.reads.empty() && i < found.size(); ++i) {
        ImportCandidate &candidate = found[i];
        const bool zip = candidate.kind == ImportKind::Zip;
        const QString path =
            (zip ? places.zippedGames() : places.directory()) + u'/' + candidate.entry;
        const zanku::GameMetadata *entry =
            metadata.match(zip ? QString() : path, zip ? path : QString(), {});
        if (entry != nullptr && !entry->name().trimmed().isEmpty())
            candidate.name = entry->name().trimmed().toString();
    }
}

ImportScanResult ImportScan::listNames()
{
    ImportScanResult result;
    const zanku::EmulatorPlaces &places = d->places;
    ImportScanControl &control = d->control;
    const QString &emulatorDir = places.directory();
    const QString &zips = places.zippedGames();
    if (emulatorDir.isEmpty()) {
        result.error =
            zanku::CoreText::tr("Emulator %1 has no Games Directory to look in: set one in "
                                "Options > Emulator Config.")
                .arg(d->emulator.Name);
        return result;
    }
    const bool zipsApart = FileNameKey(zips) != FileNameKey(emulatorDir);

    const ListedNames &known = d->known;
    const QSet<QString> excluded = notGames(*d);
    const zanku::NameFilter passedOver = passedOverFilter(excluded, known.files);

    // Each candidate is made as its name is read, while it is at hand, with its sort key.
    std::vector<ImportCandidate> &candidates = result.candidates;
    std::vector<zanku::SortKey> keys;
    const size_t hint =
        zanku::EntryCountHint(emulatorDir) + (zipsApart ? zanku::EntryCountHint(zips) : 0);
    candidates.reserve(hint);
    keys.reserve(hint);
    zanku::DiscNames discs; // the games of several discs become one row each
    const auto addFile = [&](QString &&name, EntryType type, bool faithful) {
        const QString key = FileNameKey(name);
        const bool passed =
            passedOver.mayHold(key) && (excluded.contains(key) || known.files.contains(key));
        if (type == EntryType::File)
            discs.see(name, passed ? -1 : qsizetype(candidates.size()));
        if (passed)
            return;
        ImportCandidate &candidate = candidates.emplace_back();
        candidate.kind = type == EntryType::Folder ? ImportKind::Folder : ImportKind::File;
        candidate.name =
            ImportName(candidate.kind == ImportKind::Folder ? QStringView(name) : baseOf(name));
        candidate.problem = faithful ? lineProblem(name, true) : CodePageProblem();
        candidate.file = name;
        candidate.entry = std::move(name);
        keys.emplace_back(candidate.file, candidates.size() - 1);
    };
    const auto addArchive = [&](QString &&name, EntryType type, bool faithful) {
        if (type != EntryType::File || !IsArchiveName(name))
            return;
        candidates.push_back(archiveCandidate(std::move(name), faithful));
        keys.emplace_back(candidates.back().file, candidates.size() - 1);
    };
    const bool listed = zanku::ListDirectory(emulatorDir, control.cancel,
                                             [&](QString &&name, EntryType type, bool faithful) {
                                                 if (!zipsApart && IsArchiveName(name))
                                                     addArchive(std::move(name), type, faithful);
                                                 else if (type != EntryType::Other)
                                                     addFile(std::move(name), type, faithful);
                                             });
    if (!listed) {
        result.error =
            zanku::CoreText::tr("The Games Directory of emulator %1 cannot be read: \"%2\".")
                .arg(d->emulator.Name, QDir::toNativeSeparators(emulatorDir));
        return result;
    }
    // A Zipped Roms Path that is not there holds no archives; one that is must be read.
    if (!zips.isEmpty() && zipsApart && !zanku::ListDirectory(zips, control.cancel, addArchive) &&
        QFileInfo::exists(zips)) {
        result.error =
            zanku::CoreText::tr("The Zipped Roms Path of emulator %1 cannot be read: \"%2\".")
                .arg(d->emulator.Name, QDir::toNativeSeparators(zips));
        candidates.clear();
        return result;
    }
    if (control.cancel.load()) {
        result.cancelled = true;
        candidates.clear();
        return result;
    }
    discs.apply(emulatorDir, candidates, keys);
    nameFromMetadata(places, candidates);
    zanku::SortByFile(candidates, keys);
    control.total = int(std::count_if(candidates.begin(), candidates.end(),
                                      [](const ImportCandidate &c) { return c.pending; }));
    return result;
}

bool ImportScan::readArchives(const std::vector<ImportCandidate> &names,
                              const std::function<void(ImportReads &&)> &report)
{
    constexpr size_t BatchSize = 256;
    if (!std::exchange(d->archivesKnown, true))
        d->known.readArchives(d->places);
    ImportReads batch;
    int done = 0;
    for (size_t index = 0; index < names.size(); ++index) {
        if (!names[index].pending)
            continue;
        if (d->control.cancel.load(std::memory_order_relaxed))
            return false;
        ImportArchiveRead read{index, names[index], false};
        ImportCandidate &candidate = read.candidate;
        const QString base = candidate.file;
        candidate.file = candidate.entry;
        candidate.pending = false;
        if (ReadArchiveCandidate(candidate, d->places.zippedGames() + u'/' + candidate.entry, base))
            candidate.problem = lineProblem(candidate.file);
        // A file or folder offered under the same name already has the game, as one listed.
        const auto same = std::equal_range(names.begin(), names.end(), candidate, ImportFileBefore);
        read.dropped = candidate.problem.isEmpty() &&
                       (d->known.contain(candidate) || Outranked(names, candidate, base) ||
                        std::any_of(same.first, same.second, [&](const ImportCandidate &c) {
                            return c.kind != ImportKind::Zip &&
                                   FileNameKey(c.file) == FileNameKey(candidate.file);
                        }));
        batch.push_back(std::move(read));
        d->control.done.store(++done, std::memory_order_relaxed);
        if (batch.size() == BatchSize) {
            report(std::move(batch));
            batch.clear();
        }
    }
    if (!batch.empty())
        report(std::move(batch));
    return !d->control.cancel.load();
}

ImportScanResult ScanForImport(const EmulatorRecord &emulator, const QString &programDir,
                               const std::vector<GameRecord> &listed, ImportScanControl &control,
                               const QStringList &emulatorNames)
{
    ImportScan scan(emulator, programDir, listed, control, emulatorNames);
    ImportScanResult result = scan.listNames();
    if (!result.error.isEmpty() || result.cancelled)
        return result;
    std::vector<ImportCandidate> &candidates = result.candidates;
    std::vector<bool> dropped(candidates.size());
    const bool read = scan.readArchives(candidates, [&](ImportReads &&reads) {
        for (ImportArchiveRead &r : reads) {
            dropped[r.index] = r.dropped;
            candidates[r.index] = std::move(r.candidate);
        }
    });
    if (!read) {
        result.cancelled = true;
        candidates.clear();
        return result;
    }
    size_t kept = 0;
    for (size_t index = 0; index < candidates.size(); ++index) {
        if (!dropped[index] && kept++ != index)
            candidates[kept - 1] = std::move(candidates[index]);
    }
    candidates.resize(kept);
    SortReadRows(candidates, [](const ImportCandidate &c) -> const ImportCandidate & { return c; });
    return result;
}
