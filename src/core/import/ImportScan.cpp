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

struct DirEntry {
    QString name;
    EntryType type = EntryType::Other;
    bool faithful = true; // the name as decoded gives back the name on disk
};

const QString CodePageProblem =
    QStringLiteral("Its name cannot be written in a ROM list in this system's code page.");

// The visible entries of a directory in one pass; false when it cannot be read.
bool listDirectory(const QString &directory, std::vector<DirEntry> &entries,
                   const std::atomic<bool> &cancel)
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
        DirEntry item;
        item.name = QFile::decodeName(entry->d_name);
        // Bytes that do not decode come back as replacement characters.
        item.faithful = !item.name.contains(QChar::ReplacementCharacter) ||
                        QFile::encodeName(item.name) == entry->d_name;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) { // follow links, as the catalogue does
            struct stat info {};
            type = fstatat(dirfd(stream), entry->d_name, &info, 0) != 0 ? DT_UNKNOWN
                   : S_ISREG(info.st_mode)                              ? DT_REG
                   : S_ISDIR(info.st_mode)                              ? DT_DIR
                                                                        : DT_UNKNOWN;
        }
        item.type = type == DT_REG   ? EntryType::File
                    : type == DT_DIR ? EntryType::Folder
                                     : EntryType::Other;
        entries.push_back(std::move(item));
    }
    closedir(stream);
#else
    if (!QDir(directory).isReadable())
        return false;
    QDirIterator it(directory, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext() && !cancel.load(std::memory_order_relaxed)) {
        const QFileInfo info = it.nextFileInfo();
        entries.push_back({info.fileName(), info.isFile()  ? EntryType::File
                                            : info.isDir() ? EntryType::Folder
                                                           : EntryType::Other});
    }
#endif
    return true;
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

    ListedNames(const zanku::EmulatorPlaces &places, const std::vector<GameRecord> &listed)
    {
        for (const GameRecord &game : listed) {
            files.insert(nameIn(places, places.directory(), game.File));
            archives.insert(nameIn(places, places.zippedGames(), places.archiveOf(game.File)));
        }
        files.remove(QString());
        archives.remove(QString());
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
    if (kind == ImportKind::Zip && member != file)
        return QStringLiteral("inside: ") + member;
    return {};
}

ImportScanResult ScanForImport(const EmulatorRecord &emulator, const QString &programDir,
                               const std::vector<GameRecord> &listed, ImportScanControl &control,
                               const QStringList &emulatorNames)
{
    ImportScanResult result;
    const zanku::EmulatorPlaces places(emulator, programDir);
    const QString &emulatorDir = places.directory();
    const QString &zips = places.zippedGames();
    std::vector<DirEntry> entries, archives;
    if (emulatorDir.isEmpty()) {
        result.error = QStringLiteral("Emulator %1 has no Games Directory to look in: set one in "
                                      "Options > Emulator Config.")
                           .arg(emulator.Name);
        return result;
    }
    if (!listDirectory(emulatorDir, entries, control.cancel)) {
        result.error = QStringLiteral("The Games Directory of emulator %1 cannot be read: \"%2\".")
                           .arg(emulator.Name, QDir::toNativeSeparators(emulatorDir));
        return result;
    }
    const bool zipsApart = FileNameKey(zips) != FileNameKey(emulatorDir);
    // A Zipped Roms Path that is not there holds no archives; one that is must be read.
    if (!zips.isEmpty() && zipsApart && !listDirectory(zips, archives, control.cancel) &&
        QFileInfo::exists(zips)) {
        result.error = QStringLiteral("The Zipped Roms Path of emulator %1 cannot be read: \"%2\".")
                           .arg(emulator.Name, QDir::toNativeSeparators(zips));
        return result;
    }
    const std::vector<DirEntry> &archiveEntries = zipsApart ? archives : entries;
    control.total = int(entries.size() + (zipsApart ? archives.size() : 0));

    const ListedNames known(places, listed);
    QSet<QString> excluded = {nameIn(places, emulatorDir, emulator.Program),
                              nameIn(places, emulatorDir, emulator.ZippedRomPath),
                              nameIn(places, emulatorDir, emulator.SnapshotPath)};
    if (FileNameKey(emulatorDir) == FileNameKey(QDir::cleanPath(QDir(programDir).absolutePath()))) {
        for (const QString &own :
             QStringList{ConfigFileName, zanku::JournalFileName,
                         zanku::JournalFileName + QLatin1String(".lock"), QStringLiteral("Saves")})
            excluded.insert(FileNameKey(own));
        for (const QString &name : emulatorNames)
            excluded.insert(FileNameKey(RomListFileName(name)));
    }
    const auto isArchiveName = [](const QString &name) {
        return name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
    };
    QSet<QString> taken;
    taken.reserve(qsizetype(entries.size()));
    result.candidates.reserve(entries.size() + archives.size());
    int done = 0;
    for (const DirEntry &entry : entries) {
        control.done.store(++done, std::memory_order_relaxed);
        if (entry.type == EntryType::Other || (!zipsApart && isArchiveName(entry.name)))
            continue;
        const QString key = FileNameKey(entry.name);
        if (excluded.contains(key) || known.files.contains(key))
            continue;
        ImportCandidate candidate;
        candidate.kind = entry.type == EntryType::Folder ? ImportKind::Folder : ImportKind::File;
        candidate.entry = candidate.file = entry.name;
        candidate.name = ImportName(
            candidate.kind == ImportKind::Folder ? entry.name : StripExtension(entry.name));
        candidate.problem = entry.faithful ? lineProblem(entry.name, true) : CodePageProblem;
        taken.insert(key);
        result.candidates.push_back(std::move(candidate));
    }
    for (const DirEntry &entry : archiveEntries) {
        if (control.cancel.load(std::memory_order_relaxed))
            break;
        if (zipsApart)
            control.done.store(++done, std::memory_order_relaxed);
        if (entry.type != EntryType::File || !isArchiveName(entry.name))
            continue;
        ImportCandidate candidate;
        candidate.kind = ImportKind::Zip;
        candidate.entry = candidate.file = entry.name;
        const QString base = entry.name.chopped(4);
        candidate.name = ImportName(base);
        if (!entry.faithful)
            candidate.problem = CodePageProblem;
        else if (FileNameKey(entry.name) != FileNameKey(base + QLatin1String(".zip")))
            candidate.problem =
                QStringLiteral("The catalogue looks for archives ending in \".zip\".");
        else
            readArchive(candidate, zips + u'/' + entry.name, base);
        if (candidate.problem.isEmpty() &&
            (known.contain(candidate) || taken.contains(FileNameKey(candidate.file))))
            continue; // the list, or a file of the same name, already has the game
        result.candidates.push_back(std::move(candidate));
    }
    if (control.cancel.load()) {
        result.cancelled = true;
        result.candidates.clear();
        return result;
    }
    std::sort(result.candidates.begin(), result.candidates.end(),
              [](const ImportCandidate &a, const ImportCandidate &b) {
                  return QString::compare(a.file, b.file, Qt::CaseInsensitive) < 0;
              });
    return result;
}

QString ImportName(const QString &baseName)
{
    QString name = baseName;
    name.replace(u'_', u' ').replace(u'.', u' ');
    name = name.trimmed();
    return name.isEmpty() ? baseName : name;
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
