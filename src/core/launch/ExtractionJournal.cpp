#include "core/launch/ExtractionJournal.h"

#include "core/common/Quoted.h"
#include "core/files/TextFile.h"
#include "core/launch/ExtractionFolder.h"
#include "core/launch/Launch.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSysInfo>

#include <algorithm>

namespace zanku {
namespace {
// The file lists one folder a line between a title and an end line, so a journal cut
// short is seen as such: "<device> <inode> <birth> <token> <pid> <start> <path>", the
// path percent-encoded, and "-" for what is not known yet.
const QString Title = QStringLiteral("Zanku extraction journal 2");
const QString EndLine = QStringLiteral("end");
const QString Unknown = QStringLiteral("-");
// A lock file that cannot be read (a power cut mid-write) is stale after this long.
constexpr qint64 UnreadableLockAge = 10 * 1000;

using Entry = ExtractionJournal::Entry;

std::optional<Entry> parseEntry(const QString &line)
{
    const QStringList fields = line.split(u' ');
    if (fields.size() != 7)
        return std::nullopt;
    Entry entry;
    entry.folder = QFile::decodeName(QByteArray::fromPercentEncoding(fields.at(6).toLatin1()));
    if (!QDir::isAbsolutePath(entry.folder))
        return std::nullopt;
    bool ok = true;
    const auto number = [&](int field) {
        bool read = false;
        const quint64 value = fields.at(field).toULongLong(&read);
        ok = ok && (read || fields.at(field) == Unknown);
        return value;
    };
    if (fields.at(0) != Unknown)
        entry.identity = FolderIdentity{number(0), number(1), number(2)};
    entry.token = fields.at(3) == Unknown ? QString() : fields.at(3);
    entry.pid = qint64(number(4));
    entry.startTime = number(5);
    return ok ? std::optional(entry) : std::nullopt;
}

std::optional<QList<Entry>> parseEntries(const QStringList &lines)
{
    if (lines.size() < 2 || lines.first() != Title || lines.last() != EndLine)
        return std::nullopt;
    QList<Entry> entries;
    entries.reserve(lines.size() - 2);
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const std::optional<Entry> entry = parseEntry(lines.at(i));
        if (!entry)
            return std::nullopt;
        entries.append(*entry);
    }
    return entries;
}

QStringList formatEntries(const QList<Entry> &entries)
{
    QStringList lines{Title};
    const auto known = [](quint64 value) { return value != 0 ? QString::number(value) : Unknown; };
    for (const Entry &entry : entries) {
        const FolderIdentity identity = entry.identity.value_or(FolderIdentity{});
        lines.append(
            QStringList{entry.identity ? QString::number(identity.device) : Unknown,
                        entry.identity ? QString::number(identity.inode) : Unknown,
                        entry.identity ? QString::number(identity.birth) : Unknown,
                        entry.token.isEmpty() ? Unknown : entry.token, known(quint64(entry.pid)),
                        known(entry.startTime),
                        QString::fromLatin1(QFile::encodeName(entry.folder).toPercentEncoding())}
                .join(u' '));
    }
    lines.append(EndLine);
    return lines;
}

bool inside(const QString &folder, const QString &directory)
{
    const QString clean = QDir::cleanPath(directory);
    return !clean.isEmpty() && folder.startsWith(clean + u'/') &&
           !folder.contains(QLatin1String("/../"));
}
} // namespace

ExtractionJournal::ExtractionJournal(const QString &programDir)
    : programDir_(programDir)
    , lock_(std::make_unique<QLockFile>(path() + QStringLiteral(".lock")))
{
    // A Zanku that runs for days keeps its lock: only a process that is gone loses it.
    lock_->setStaleLockTime(0);
}

QString ExtractionJournal::path() const
{
    return QDir(programDir_).filePath(QLatin1String(JournalFileName));
}

// Takes the lock when it is free, or held by a process that is gone, and keeps it while
// the journal lists anything; the folders the file lists then are kept in the journal.
bool ExtractionJournal::takeLock()
{
    if (lock_->isLocked())
        return true;
    if (!lock_->tryLock(0)) {
        // Left empty or garbled by a power cut: nobody holds it.
        qint64 pid = 0;
        QString host, application;
        const QFileInfo file(path() + QStringLiteral(".lock"));
        if (!lock_->getLockInfo(&pid, &host, &application) &&
            file.lastModified().msecsTo(QDateTime::currentDateTime()) > UnreadableLockAge &&
            lock_->removeStaleLockFile() && lock_->tryLock(0)) {
            // taken after all
        } else {
            return false;
        }
    }
    const TextReadResult read = ReadTextLines(path());
    const auto listed =
        read.status == TextReadResult::Read ? parseEntries(read.lines) : std::nullopt;
    QSet<QString> own;
    for (const Entry &entry : std::as_const(entries_))
        own.insert(entry.folder);
    QList<Entry> merged;
    for (const Entry &entry : listed.value_or(QList<Entry>())) {
        if (!own.contains(entry.folder))
            merged.append(entry);
    }
    entries_ = merged + entries_;
    return true;
}

ExtractionJournal::WriteResult ExtractionJournal::write()
{
    if (!takeLock()) {
        qint64 pid = 0;
        QString host, application;
        lock_->getLockInfo(&pid, &host, &application);
        if (lock_->error() == QLockFile::LockFailedError && !host.isEmpty() &&
            host != QSysInfo::machineHostName())
            return {
                false,
                QStringLiteral("Zanku on another computer (%1) is using this library").arg(host)};
        return {false, lock_->error() == QLockFile::LockFailedError
                           ? QStringLiteral("another Zanku is using it")
                           : QStringLiteral("its lock file cannot be made")};
    }
    QFile file(path());
    if (!entries_.isEmpty()) {
        const TextWriteResult written =
            WriteTextLines(file.fileName(), formatEntries(entries_), TextEncoding::Utf8);
        return {written.ok, written.error};
    }
    // Nothing left to protect: another Zanku may have the journal now.
    if (file.exists() && !file.remove())
        return {false, file.errorString()};
    lock_->unlock();
    return {true, QString()};
}

qsizetype ExtractionJournal::indexOf(const QString &folder) const
{
    for (qsizetype i = entries_.size() - 1; i >= 0; --i) {
        if (entries_.at(i).folder == folder)
            return i;
    }
    return -1;
}

bool ExtractionJournal::mayRemove(const Entry &entry) const
{
    if (!entry.identity || entry.token.isEmpty())
        return false;
    const std::optional<ExtractionMarker> marker = ReadMarker(entry.folder);
    return marker && marker->token == entry.token;
}

void ExtractionJournal::recover(const QStringList &emulatorDirectories)
{
    if (!takeLock())
        return;
    QList<Entry> left;
    for (const Entry &entry : std::as_const(entries_)) {
        // Never anything outside the emulators' own folders, whatever the journal says.
        if (std::none_of(emulatorDirectories.cbegin(), emulatorDirectories.cend(),
                         [&](const QString &dir) { return inside(entry.folder, dir); }))
            continue;
        if (entry.pid != 0 && ProcessRunning(entry.pid, entry.startTime)) {
            left.append(entry); // its emulator still uses it
        } else if (mayRemove(entry)) {
            const ExtractionMarker marker = *ReadMarker(entry.folder);
            KeepPlayersFiles(entry.folder, marker,
                             SavesFolder(programDir_, marker.emulator, marker.gameFile));
            if (RemoveTree(entry.folder, entry.identity) == RemoveTreeResult::PartlyKept)
                left.append(entry);
        } else if (!entry.token.isEmpty() && QDir(entry.folder)
                                                 .isEmpty(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot)) {
            QDir().rmdir(entry.folder); // made just before a kill: nothing in it yet
        }
    }
    entries_ = left;
    write();
}

bool ExtractionJournal::begin(const QString &folder, const QString &token, QString *warning)
{
    if (const qsizetype stale = indexOf(folder); stale >= 0)
        entries_.removeAt(stale);
    entries_.append({folder, std::nullopt, token, 0, 0});
    WriteResult written = write();

    QDir().mkpath(QFileInfo(folder).absolutePath());
    // Only a folder this mkdir made is the extraction's: one there already is the player's.
    const bool made = QDir().mkdir(folder);
    const std::optional<FolderIdentity> identity = made ? IdentityOf(folder) : std::nullopt;
    if (!made || !identity) {
        entries_.removeAt(indexOf(folder));
        written = write();
    } else {
        entries_[indexOf(folder)].identity = identity;
        if (written.ok)
            written = write();
    }
    if (!written.ok && !std::exchange(warned_, true)) {
        *warning = QStringLiteral("Could not write %1: %2\nThe folder %3 will not be removed after "
                                  "a crash.")
                       .arg(QDir::toNativeSeparators(path()), written.error,
                            Quoted(QDir::toNativeSeparators(folder)));
    }
    return made && identity;
}

void ExtractionJournal::setOwner(const QString &folder, qint64 pid, quint64 startTime)
{
    if (const qsizetype index = indexOf(folder); index >= 0) {
        entries_[index].pid = pid;
        entries_[index].startTime = startTime;
        write();
    }
}

void ExtractionJournal::remove(const QString &folder)
{
    const qsizetype index = indexOf(folder);
    const std::optional<FolderIdentity> identity =
        index >= 0 ? entries_.at(index).identity : std::nullopt;
    if (RemoveTree(folder, identity) == RemoveTreeResult::PartlyKept || index < 0)
        return;
    entries_.removeAt(index);
    write();
}

} // namespace zanku
