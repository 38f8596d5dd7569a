#include "core/import/ImportScan.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/editor/EditorRecords.h"
#include "core/files/TextFile.h"
#include "core/launch/ExtractionJournal.h"
#include "core/library/EmulatorPlaces.h"
#include "core/library/Library.h"
#include "core/unzip/ArchiveMembers.h"
#include "core/unzip/UnzipNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {
enum class EntryType { File, Folder, Other };

const QString CodePageProblem =
    QStringLiteral("Its name cannot be written in a ROM list in this system's code page.");

// Hands each visible entry of a directory to `take(name, type, faithful)`, in one pass
// (`faithful`: the name as decoded gives back the name on disk); false when the
// directory cannot be read.
template <typename Take>
bool listDirectory(const QString &directory, const std::atomic<bool> &cancel, Take take)
{
#ifdef Q_OS_UNIX
    DIR *stream = opendir(QFile::encodeName(directory).constData());
    if (stream == nullptr)
        return false;
    while (const dirent *entry = readdir(stream)) {
        if (cancel.load(std::memory_order_relaxed))
            break;
        if (entry->d_name[0] == '.')
            continue; // hidden, "." and ".."
        QString name;
        bool faithful = true;
        const QByteArrayView bytes(entry->d_name);
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) {
            name = QString::fromLatin1(bytes); // plain ASCII, most names: the quick way
        } else {
            name = QFile::decodeName(entry->d_name);
            // Bytes that do not decode come back as replacement characters.
            faithful = !name.contains(QChar::ReplacementCharacter) ||
                       QFile::encodeName(name) == entry->d_name;
        }
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) { // follow links, as the catalogue does
            struct stat info {};
            type = fstatat(dirfd(stream), entry->d_name, &info, 0) != 0 ? DT_UNKNOWN
                   : S_ISREG(info.st_mode)                              ? DT_REG
                   : S_ISDIR(info.st_mode)                              ? DT_DIR
                                                                        : DT_UNKNOWN;
        }
        take(std::move(name),
             type == DT_REG   ? EntryType::File
             : type == DT_DIR ? EntryType::Folder
                              : EntryType::Other,
             faithful);
    }
    closedir(stream);
#else
    if (!QDir(directory).isReadable())
        return false;
    QDirIterator it(directory, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext() && !cancel.load(std::memory_order_relaxed)) {
        const QFileInfo info = it.nextFileInfo();
        take(info.fileName(),
             info.isFile()  ? EntryType::File
             : info.isDir() ? EntryType::Folder
                            : EntryType::Other,
             true);
    }
#endif
    return true;
}

// About how many entries a directory holds, to make room for them at once: its size
// grows with its names. 0 when it cannot tell.
size_t entryCountHint(const QString &directory)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (!directory.isEmpty() && stat(QFile::encodeName(directory).constData(), &info) == 0)
        return size_t(std::clamp<off_t>(info.st_size / 24, 0, 1 << 17));
#else
    Q_UNUSED(directory);
#endif
    return 0;
}

// The name of `path` (relative to the emulator's directory) within `folder`, or an empty
// text when it lies elsewhere: the scan looks one level deep, so names are enough.
QString nameIn(const zanku::EmulatorPlaces &places, const QString &folder, const QString &path)
{
    if (path.isEmpty() || folder.isEmpty())
        return {};
    const QString full = places.resolve(path);
    const qsizetype slash = full.lastIndexOf(u'/');
    return FileNameKey(full.left(slash)) == FileNameKey(folder) ? FileNameKey(full.mid(slash + 1))
                                                                : QString();
}

// The files and archives the ROM list already leads the catalogue to, by name.
struct ListedNames {
    QSet<QString> files, archives;
    QStringList games; // the Files listed, until their archives are looked up

    // `withArchives` false: the files alone, until readArchives() is called.
    ListedNames(const zanku::EmulatorPlaces &places, const std::vector<GameRecord> &listed,
                bool withArchives = true)
    {
        const bool plainDirectory = plainFolder(places.directory());
        files.reserve(qsizetype(listed.size()));
        games.reserve(qsizetype(listed.size()));
        for (const GameRecord &game : listed) {
            files.insert(plainDirectory && plainName(game.File)
                             ? FileNameKey(game.File)
                             : nameIn(places, places.directory(), game.File));
            games.append(game.File);
        }
        files.remove(QString());
        if (withArchives)
            readArchives(places);
    }
    void readArchives(const zanku::EmulatorPlaces &places)
    {
        const bool plainZips = plainFolder(places.zippedGames());
        archives.reserve(games.size());
        for (const QString &file : std::as_const(games)) {
            const QString archive = StripExtension(file) + QLatin1String(".zip");
            archives.insert(plainZips && plainName(archive)
                                ? FileNameKey(archive)
                                : nameIn(places, places.zippedGames(), places.archiveOf(file)));
        }
        archives.remove(QString());
        games.clear();
    }
    // A name without a folder in it lies in the folder itself, which most do: they need
    // not be resolved.
    static bool plainFolder(const QString &folder)
    {
        return QDir::isAbsolutePath(folder) && !folder.endsWith(u'/');
    }
    static bool plainName(const QString &name)
    {
        return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
               !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':');
    }
    bool contain(const ImportCandidate &candidate) const
    {
        if (candidate.kind != ImportKind::Zip)
            return files.contains(FileNameKey(candidate.entry));
        return archives.contains(FileNameKey(candidate.entry)) ||
               files.contains(FileNameKey(candidate.file));
    }
};

// `named`: the text is a name read from the disk, which the code page already holds.
QString lineProblem(const QString &file, bool named = false)
{
    if (file.contains(u'='))
        return QStringLiteral("Its name holds \"=\", which a ROM list line cannot hold.");
    if (file.contains(u'\n') || file.contains(u'\r'))
        return QStringLiteral("Its name holds a line break, which a ROM list line cannot hold.");
#ifdef Q_OS_UNIX
    if (named)
        return {};
#endif
    if (QString::fromLocal8Bit(file.toLocal8Bit()) != file)
        return CodePageProblem;
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

bool isArchiveName(const QString &name)
{
    const qsizetype size = name.size();
    return size >= 4 && name[size - 4] == u'.' && (name[size - 3].unicode() | 0x20) == u'z' &&
           (name[size - 2].unicode() | 0x20) == u'i' && (name[size - 1].unicode() | 0x20) == u'p';
}

// Fills File and the member of an archive candidate, or says why it cannot be listed.
void readArchive(ImportCandidate &candidate, const QString &path, const QString &base)
{
    const ArchiveMemberList list = ReadArchiveMembers(path);
    const int index = GameMemberIndex(list.members, base);
    if (!list.error.isEmpty()) {
        candidate.problem = QStringLiteral("Not a readable zip archive: %1.").arg(list.error);
        return;
    }
    if (index < 0) {
        candidate.problem = QStringLiteral("The archive holds no file.");
        return;
    }
    candidate.member = list.members[size_t(index)].name;
    if (const QString unsafe = ResolveMemberPath(candidate.member).unsafe; !unsafe.isEmpty()) {
        candidate.problem = QStringLiteral("Its game file \"%1\" would not be extracted: %2.")
                                .arg(candidate.member, unsafe);
        return;
    }
    const QString leaf = candidate.member.section(u'/', -1);
    candidate.file = base + leaf.mid(StripExtension(leaf).size());
    if (StripExtension(candidate.file) != base) {
        candidate.problem = QStringLiteral("Its game file \"%1\" has no extension: the catalogue "
                                           "would look for another archive.")
                                .arg(candidate.member);
        return;
    }
    candidate.problem = lineProblem(candidate.file);
}
} // namespace

QString KindText(ImportKind kind)
{
    static const char *const texts[] = {"file", "folder", "zip"};
    return QLatin1String(texts[int(kind)]);
}

QString ImportCandidate::note() const
{
    if (!problem.isEmpty())
        return problem;
    if (pending)
        return QStringLiteral("reading\u2026");
    if (kind == ImportKind::Zip && member != file)
        return QStringLiteral("inside: ") + member;
    return {};
}

bool ImportFileBefore(const ImportCandidate &a, const ImportCandidate &b)
{
    return QString::compare(a.file, b.file, Qt::CaseInsensitive) < 0;
}

namespace {
// The first 16 characters of a File folded to lower case and packed, for a quick sort.
// Only keys of plain ASCII order names by themselves: a compare without regard to case
// folds some other characters to ASCII letters.
struct SortKey {
    quint64 high = 0, low = 0;
    quint32 index = 0; // of the candidate
    bool ascii = true; // the first 16 characters are
    bool whole = true; // and they are all the File has

    SortKey(const QString &file, size_t at)
        : index(quint32(at))
    {
        const qsizetype length = std::min<qsizetype>(file.size(), 16);
        const QChar *text = file.constData();
        for (qsizetype i = 0; i < length && ascii; ++i) {
            char16_t c = text[i].unicode();
            ascii = c < 0x80;
            c = c >= u'A' && c <= u'Z' ? c + 32 : c;
            (i < 8 ? high : low) |= quint64(c) << (8 * (7 - i % 8));
        }
        whole = ascii && file.size() <= 16;
    }
};

// Sorts the candidates by File. The keys are made with the candidates, while their names
// are at hand: the sort then moves only the candidates, whose names it never reads.
void sortByFile(std::vector<ImportCandidate> &candidates, std::vector<SortKey> &keys)
{
    std::sort(keys.begin(), keys.end(), [&](const SortKey &x, const SortKey &y) {
        if (x.ascii && y.ascii) {
            if (x.high != y.high)
                return x.high < y.high;
            if (x.low != y.low)
                return x.low < y.low;
            if (x.whole && y.whole)
                return false;
        }
        return ImportFileBefore(candidates[x.index], candidates[y.index]);
    });
    std::vector<ImportCandidate> sorted;
    sorted.reserve(candidates.size());
    for (size_t i = 0; i < keys.size(); ++i) {
#if defined(__GNUC__)
        // The candidates are read out of order: ask for the next ones ahead of time.
        if (i + 8 < keys.size()) {
            const char *next = reinterpret_cast<const char *>(&candidates[keys[i + 8].index]);
            for (size_t line = 0; line < sizeof(ImportCandidate); line += 64)
                __builtin_prefetch(next + line);
        }
#endif
        sorted.push_back(std::move(candidates[keys[i].index]));
    }
    candidates = std::move(sorted);
}

// A quick "surely not" before looking a name up in a set: most names are in none.
class NameFilter {
public:
    void add(const QString &name)
    {
        const quint64 hash = hashOf(name);
        bits_[(hash & Mask) / 64] |= quint64(1) << (hash % 64);
        bits_[((hash >> 32) & Mask) / 64] |= quint64(1) << ((hash >> 32) % 64);
    }
    bool mayHold(const QString &name) const
    {
        const quint64 hash = hashOf(name);
        return (bits_[(hash & Mask) / 64] >> (hash % 64) & 1) != 0 &&
               (bits_[((hash >> 32) & Mask) / 64] >> ((hash >> 32) % 64) & 1) != 0;
    }

private:
    static constexpr quint64 Mask = (1 << 17) - 1;
    static quint64 hashOf(const QString &name)
    {
        quint64 hash = 14695981039346656037ull; // FNV-1a
        for (const QChar c : name)
            hash = (hash ^ c.unicode()) * 1099511628211ull;
        return hash ^ (hash >> 29);
    }
    std::vector<quint64> bits_ = std::vector<quint64>((Mask + 1) / 64);
};
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

ImportScanResult ImportScan::listNames()
{
    ImportScanResult result;
    const EmulatorRecord &emulator = d->emulator;
    const zanku::EmulatorPlaces &places = d->places;
    ImportScanControl &control = d->control;
    const QString &emulatorDir = places.directory();
    const QString &zips = places.zippedGames();
    if (emulatorDir.isEmpty()) {
        result.error = QStringLiteral("Emulator %1 has no Games Directory to look in: set one in "
                                      "Options > Emulator Config.")
                           .arg(emulator.Name);
        return result;
    }
    const bool zipsApart = FileNameKey(zips) != FileNameKey(emulatorDir);

    const ListedNames &known = d->known;
    QSet<QString> excluded = {nameIn(places, emulatorDir, emulator.Program),
                              nameIn(places, emulatorDir, emulator.ZippedRomPath),
                              nameIn(places, emulatorDir, emulator.SnapshotPath)};
    if (FileNameKey(emulatorDir) ==
        FileNameKey(QDir::cleanPath(QDir(d->programDir).absolutePath()))) {
        for (const QString &own :
             QStringList{ConfigFileName, zanku::JournalFileName,
                         zanku::JournalFileName + QLatin1String(".lock"), QStringLiteral("Saves")})
            excluded.insert(FileNameKey(own));
        for (const QString &name : d->emulatorNames)
            excluded.insert(FileNameKey(RomListFileName(name)));
    }
    NameFilter passedOver; // the names excluded, and those the list holds
    for (const QString &key : excluded)
        passedOver.add(key);
    for (const QString &key : known.files)
        passedOver.add(key);

    // Each candidate is made as its name is read, while it is at hand, with its sort key.
    std::vector<ImportCandidate> &candidates = result.candidates;
    std::vector<SortKey> keys;
    const size_t hint = entryCountHint(emulatorDir) + (zipsApart ? entryCountHint(zips) : 0);
    candidates.reserve(hint);
    keys.reserve(hint);
    const auto addFile = [&](QString &&name, EntryType type, bool faithful) {
        const QString key = FileNameKey(name);
        if (passedOver.mayHold(key) && (excluded.contains(key) || known.files.contains(key)))
            return;
        ImportCandidate &candidate = candidates.emplace_back();
        candidate.kind = type == EntryType::Folder ? ImportKind::Folder : ImportKind::File;
        candidate.name =
            ImportName(candidate.kind == ImportKind::Folder ? QStringView(name) : baseOf(name));
        candidate.problem = faithful ? lineProblem(name, true) : CodePageProblem;
        candidate.file = name;
        candidate.entry = std::move(name);
        keys.emplace_back(candidate.file, candidates.size() - 1);
    };
    const auto addArchive = [&](QString &&name, EntryType type, bool faithful) {
        if (type != EntryType::File || !isArchiveName(name))
            return;
        ImportCandidate &candidate = candidates.emplace_back();
        candidate.kind = ImportKind::Zip;
        const QString base = name.chopped(4);
        candidate.name = ImportName(base);
        if (!faithful)
            candidate.problem = CodePageProblem;
        else if (!name.endsWith(QLatin1String(".zip")) &&
                 FileNameKey(name) != FileNameKey(base + QLatin1String(".zip")))
            candidate.problem =
                QStringLiteral("The catalogue looks for archives ending in \".zip\".");
        else
            candidate.pending = true; // its File waits for its member
        candidate.file = candidate.pending ? base : name;
        candidate.entry = std::move(name);
        keys.emplace_back(candidate.file, candidates.size() - 1);
    };
    const bool listed = listDirectory(emulatorDir, control.cancel,
                                      [&](QString &&name, EntryType type, bool faithful) {
                                          if (!zipsApart && isArchiveName(name))
                                              addArchive(std::move(name), type, faithful);
                                          else if (type != EntryType::Other)
                                              addFile(std::move(name), type, faithful);
                                      });
    if (!listed) {
        result.error = QStringLiteral("The Games Directory of emulator %1 cannot be read: \"%2\".")
                           .arg(emulator.Name, QDir::toNativeSeparators(emulatorDir));
        return result;
    }
    // A Zipped Roms Path that is not there holds no archives; one that is must be read.
    if (!zips.isEmpty() && zipsApart && !listDirectory(zips, control.cancel, addArchive) &&
        QFileInfo::exists(zips)) {
        result.error = QStringLiteral("The Zipped Roms Path of emulator %1 cannot be read: \"%2\".")
                           .arg(emulator.Name, QDir::toNativeSeparators(zips));
        candidates.clear();
        return result;
    }
    if (control.cancel.load()) {
        result.cancelled = true;
        candidates.clear();
        return result;
    }
    sortByFile(candidates, keys);
    const auto pending = std::count_if(result.candidates.begin(), result.candidates.end(),
                                       [](const ImportCandidate &c) { return c.pending; });
    control.total = int(pending);
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
        readArchive(candidate, d->places.zippedGames() + u'/' + candidate.entry, base);
        // A file or folder offered under the same name already has the game, as one listed.
        const auto same = std::equal_range(names.begin(), names.end(), candidate, ImportFileBefore);
        read.dropped = candidate.problem.isEmpty() &&
                       (d->known.contain(candidate) ||
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

QString ImportName(QStringView baseName)
{
    // As replacing "_" and "." by blanks, then trimming, in one pass.
    const auto blank = [](QChar c) { return c == u'_' || c == u'.' || c.isSpace(); };
    qsizetype first = 0, last = baseName.size();
    while (first < last && blank(baseName[first]))
        ++first;
    while (last > first && blank(baseName[last - 1]))
        --last;
    if (first == last)
        return baseName.toString();
    QString name(last - first, Qt::Uninitialized);
    QChar *out = name.data();
    for (const QChar c : baseName.sliced(first, last - first))
        *out++ = c == u'_' || c == u'.' ? QChar(u' ') : c;
    return name;
}

int GameMemberIndex(const std::vector<ArchiveMember> &members, const QString &archiveBase)
{
    int best = -1;
    bool bestMatches = false;
    for (int index = 0; index < int(members.size()); ++index) {
        const QString leaf = members[size_t(index)].name.section(u'/', -1);
        const bool matches = StripExtension(leaf).compare(archiveBase, Qt::CaseInsensitive) == 0;
        if (best < 0 || (matches && !bestMatches) ||
            (matches == bestMatches && members[size_t(index)].size > members[size_t(best)].size)) {
            best = index;
            bestMatches = matches;
        }
    }
    return best;
}

ImportFilter::ImportFilter(const QString &patterns)
{
    static const QRegularExpression separators(QStringLiteral("[\\s;,]+"));
    for (const QString &word : patterns.split(separators, Qt::SkipEmptyParts))
        patterns_.emplace_back(QRegularExpression::wildcardToRegularExpression(word),
                               QRegularExpression::CaseInsensitiveOption);
}

bool ImportFilter::matches(const QString &name) const
{
    return patterns_.empty() ||
           std::any_of(patterns_.begin(), patterns_.end(),
                       [&name](const QRegularExpression &re) { return re.match(name).hasMatch(); });
}

AddResult AddToRomList(zanku::Library &library, const EmulatorRecord &emulator,
                       const std::vector<ImportCandidate> &chosen, const QString &type)
{
    const zanku::EmulatorPlaces places(emulator, library.programDir());
    // Read again now: the editor may have saved the list since the scan.
    const zanku::RomListRead read = library.readRomList(emulator.Name);
    if (read.status == TextReadResult::Unreadable)
        return {-1, ReadErrorText(places.romList(), read.error) +
                        QStringLiteral("\nNothing was added.")};
    const ListedNames known(places, read.records);

    std::vector<GridRow> rows;
    for (const ImportCandidate &candidate : chosen) {
        if (!candidate.problem.isEmpty() || known.contain(candidate))
            continue;
        const GridRow row = {candidate.name, candidate.file, QString(), QString(), type};
        if (const QString problem = RecordProblem(EditorMode::Roms, row); !problem.isEmpty()) {
            return {-1, QStringLiteral("%1 (%2): %3\nNothing was added.")
                            .arg(candidate.name, candidate.file, problem)};
        }
        rows.push_back(row);
    }
    if (rows.empty())
        return {0, {}};

    QStringList lines;
    for (const int index : SortedRowOrder(rows))
        lines.append(FormatRomLine(RowToGame(rows[size_t(index)])));
    const TextWriteResult written = library.appendToRomList(emulator.Name, lines);
    if (!written.ok)
        return {-1, SaveErrorText(places.romList(), written.error)};
    return {int(rows.size()), {}};
}
