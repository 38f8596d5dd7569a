#include "core/launch/ExtractionJournal.h"

#include "core/common/Quoted.h"
#include "core/files/TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSysInfo>

#include <sys/stat.h>

namespace zanku {
namespace {
// The file lists one folder a line between a title and an end line:
// "<device> <inode> <birth> <token> <sessions> <path>", the sessions as
// "<pid>.<start>,..." and the path percent-encoded, "-" for what is not known yet. A
// damaged line costs only itself. The second version had one "<pid> <start>" instead.
const QString Title = QStringLiteral("Zanku extraction journal 3");
const QString SecondTitle = QStringLiteral("Zanku extraction journal 2");
const QString EndLine = QStringLiteral("end");
const QString Unknown = QStringLiteral("-");
// A lock file that cannot be read (a power cut mid-write) is stale after this long.
constexpr qint64 UnreadableLockAge = 10 * 1000;

using Entry = ExtractionJournal::Entry;

std::optional<Entry> parseEntry(const QString &line, bool second)
{
    const QStringList fields = line.split(u' ');
    if (fields.size() != (second ? 7 : 6))
        return std::nullopt;
    bool ok = true;
    const auto number = [&](const QString &field) {
        bool read = false;
        const quint64 value = field.toULongLong(&read);
        ok = ok && (read || field == Unknown);
        return value;
    };
    Entry entry;
    entry.folder = QFile::decodeName(QByteArray::fromPercentEncoding(fields.last().toLatin1()));
    if (fields.at(0) != Unknown)
        entry.identity = FolderIdentity{number(fields[0]), number(fields[1]), number(fields[2])};
    entry.token = fields.at(3) == Unknown ? QString() : fields.at(3);
    QStringList sessions;
    if (second)
        sessions.append(fields[4] + u'.' + fields[5]);
    else if (fields[4] != Unknown)
        sessions = fields[4].split(u',');
    for (const QString &session : std::as_const(sessions)) {
        const Session read{qint64(number(session.section(u'.', 0, 0))),
                           number(session.section(u'.', 1))};
        if (read.pid > 0)
            entry.sessions.append(read);
    }
    // Only an absolute, clean path names the folder it was written for.
    if (!ok || !QDir::isAbsolutePath(entry.folder) || QDir::cleanPath(entry.folder) != entry.folder)
        return std::nullopt;
    return entry;
}
} // namespace

QStringList FormatJournal(const QList<Entry> &entries)
{
    QStringList lines{Title};
    for (const Entry &entry : entries) {
        const FolderIdentity identity = entry.identity.value_or(FolderIdentity{});
        QStringList sessions;
        for (const Session &session : entry.sessions)
            sessions.append(QStringLiteral("%1.%2").arg(session.pid).arg(session.startTime));
        lines.append(
            QStringList{entry.identity ? QString::number(identity.device) : Unknown,
                        entry.identity ? QString::number(identity.inode) : Unknown,
                        entry.identity ? QString::number(identity.birth) : Unknown,
                        entry.token.isEmpty() ? Unknown : entry.token,
                        sessions.isEmpty() ? Unknown : sessions.join(u','),
                        QString::fromLatin1(QFile::encodeName(entry.folder).toPercentEncoding())}
                .join(u' '));
    }
    lines.append(EndLine);
    return lines;
}

std::optional<QList<Entry>> ParseJournal(const QStringList &lines)
{
    if (lines.isEmpty() || (lines.first() != Title && lines.first() != SecondTitle))
        return std::nullopt;
    const bool second = lines.first() == SecondTitle;
    QList<Entry> entries;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // A line cut short names no folder it was written for: its identity and token
        // must still match the folder before anything is done with it.
        if (const std::optional<Entry> entry = parseEntry(lines.at(i), second))
            entries.append(*entry);
    }
    return entries;
}

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

bool ExtractionJournal::take(QString *why)
{
    if (lock_->isLocked())
        return true;
    const auto fail = [why](const QString &reason) {
        if (why != nullptr)
            *why = reason;
        return false;
    };
    // Anything but a file there would be waited on for ever, or taken for another Zanku.
    const QString lockPath = path() + QStringLiteral(".lock");
    struct stat st {};
    if (::lstat(QFile::encodeName(lockPath).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(QStringLiteral("%1 is in the way of its lock file")
                        .arg(Quoted(QDir::toNativeSeparators(lockPath))));
    if (!lock_->tryLock(0)) {
        // Left empty or garbled by a power cut: nobody holds it.
        qint64 pid = 0;
        QString host, application;
        const bool named = lock_->getLockInfo(&pid, &host, &application);
        if (!named &&
            QFileInfo(lockPath).lastModified().msecsTo(QDateTime::currentDateTime()) >
                UnreadableLockAge &&
            lock_->removeStaleLockFile() && lock_->tryLock(0)) {
            // taken after all
        } else if (lock_->error() == QLockFile::LockFailedError && !host.isEmpty() &&
                   host != QSysInfo::machineHostName()) {
            return fail(
                QStringLiteral("Zanku on another computer (%1) is using this library").arg(host));
        } else {
            return fail(lock_->error() == QLockFile::LockFailedError
                            ? QStringLiteral("another Zanku is using it")
                            : QStringLiteral("its lock file cannot be made"));
        }
    }
    const TextReadResult read = ReadTextLines(path());
    const auto listed =
        read.status == TextReadResult::Read ? ParseJournal(read.lines) : std::nullopt;
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
    QString why;
    if (!take(&why))
        return {false, why};
    QFile file(path());
    if (!entries_.isEmpty()) {
        const TextWriteResult written =
            WriteTextLines(file.fileName(), FormatJournal(entries_), TextEncoding::Utf8);
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

const ExtractionJournal::Entry *ExtractionJournal::find(const QString &folder) const
{
    const qsizetype index = indexOf(folder);
    return index < 0 ? nullptr : &entries_.at(index);
}

bool ExtractionJournal::begin(const QString &folder, const QString &token, QString *warning)
{
    if (const qsizetype stale = indexOf(folder); stale >= 0)
        entries_.removeAt(stale);
    entries_.append({folder, std::nullopt, token, {}});
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

void ExtractionJournal::addSession(const QString &folder, const Session &session)
{
    if (const qsizetype index = indexOf(folder); index >= 0) {
        if (!entries_[index].sessions.contains(session))
            entries_[index].sessions.append(session);
        write();
    }
}

void ExtractionJournal::forget(const QString &folder)
{
    if (const qsizetype index = indexOf(folder); index >= 0) {
        entries_.removeAt(index);
        write();
    }
}

} // namespace zanku
