#include "core/launch/ExtractionJournal.h"

#include "core/common/CoreText.h"
#include "core/common/Quoted.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zanku {
namespace {
// The file lists one folder a line between a title and an end line:
// "<device> <inode> <birth> <token> <sessions> <owner> <path>", the sessions as
// "<pid>.<start>,...", the owner as "<pid>.<start>" and the path percent-encoded, "-" for
// what is not known yet. A damaged line costs only itself. The third version had no
// owner; the second one "<pid> <start>" for its one session.
const QString Title = QStringLiteral("Zanku extraction journal 4");
const QString ThirdTitle = QStringLiteral("Zanku extraction journal 3");
const QString SecondTitle = QStringLiteral("Zanku extraction journal 2");
const QString EndLine = QStringLiteral("end");
const QString Unknown = QStringLiteral("-");
// Another Zanku holds the lock only while it changes the file.
constexpr qint64 LockWaitMs = 5000;
constexpr unsigned long LockPollMs = 5;

using Entry = ExtractionJournal::Entry;

Session processOf(const QString &field, bool &ok)
{
    bool pid = false, start = false;
    const Session read{field.section(u'.', 0, 0).toLongLong(&pid),
                       field.section(u'.', 1).toULongLong(&start)};
    ok = ok && pid && start;
    return read;
}

QString fieldOf(const Session &process)
{
    return QStringLiteral("%1.%2").arg(process.pid).arg(process.startTime);
}

std::optional<Entry> parseEntry(const QString &line, int version)
{
    const QStringList fields = line.split(u' ');
    if (fields.size() != (version == 3 ? 6 : 7))
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
    if (version == 2)
        sessions.append(fields[4] + u'.' + fields[5]);
    else if (fields[4] != Unknown)
        sessions = fields[4].split(u',');
    for (const QString &session : std::as_const(sessions)) {
        bool read = true;
        const Session process = processOf(session, read);
        ok = ok && (read || session == Unknown);
        if (process.pid > 0)
            entry.sessions.append(process);
    }
    if (version == 4 && fields[5] != Unknown)
        entry.owner = processOf(fields[5], ok);
    // Only an absolute, clean path names the folder it was written for.
    if (!ok || !QDir::isAbsolutePath(entry.folder) || QDir::cleanPath(entry.folder) != entry.folder)
        return std::nullopt;
    return entry;
}

// Makes the folder's last rename or removal of a file last through a power cut.
void syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The journal's lock for one change: the kernel's lock on its lock file, which the
// system lets go however its Zanku ends, so a kill while it is held leaves nothing stale.
// Another Zanku holds it a moment only: waited for.
class HeldLock {
public:
    HeldLock() = default;
    HeldLock(const HeldLock &) = delete;
    HeldLock &operator=(const HeldLock &) = delete;
    ~HeldLock()
    {
        if (fd_ >= 0)
            ::close(fd_); // lets the lock go
    }

    bool take(const QString &lockPath, QString *why)
    {
        const auto fail = [why](const QString &reason) {
            if (why != nullptr)
                *why = reason;
            return false;
        };
        // Anything but a file there would be waited on for ever.
        const QByteArray path = QFile::encodeName(lockPath);
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && !S_ISREG(st.st_mode))
            return fail(CoreText::tr("%1 is in the way of its lock file")
                            .arg(Quoted(QDir::toNativeSeparators(lockPath))));
        fd_ =
            ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd_ < 0)
            return fail(CoreText::tr("its lock file cannot be made: %1")
                            .arg(QString::fromLocal8Bit(strerror(errno))));
        QElapsedTimer waited;
        waited.start();
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return fail(CoreText::tr("it cannot be locked: %1")
                                .arg(QString::fromLocal8Bit(strerror(errno))));
            if (waited.elapsed() > LockWaitMs)
                return fail(CoreText::tr("another Zanku keeps it locked"));
            QThread::msleep(LockPollMs);
        }
        return true;
    }

private:
    int fd_ = -1;
};
} // namespace

QStringList FormatJournal(const QList<Entry> &entries)
{
    QStringList lines{Title};
    for (const Entry &entry : entries) {
        const FolderIdentity identity = entry.identity.value_or(FolderIdentity{});
        QStringList sessions;
        for (const Session &session : entry.sessions)
            sessions.append(fieldOf(session));
        lines.append(
            QStringList{entry.identity ? QString::number(identity.device) : Unknown,
                        entry.identity ? QString::number(identity.inode) : Unknown,
                        entry.identity ? QString::number(identity.birth) : Unknown,
                        entry.token.isEmpty() ? Unknown : entry.token,
                        sessions.isEmpty() ? Unknown : sessions.join(u','),
                        entry.owner.pid > 0 ? fieldOf(entry.owner) : Unknown,
                        QString::fromLatin1(QFile::encodeName(entry.folder).toPercentEncoding())}
                .join(u' '));
    }
    lines.append(EndLine);
    return lines;
}

std::optional<QList<Entry>> ParseJournal(const QStringList &lines)
{
    const int version = lines.isEmpty()                ? 0
                        : lines.first() == Title       ? 4
                        : lines.first() == ThirdTitle  ? 3
                        : lines.first() == SecondTitle ? 2
                                                       : 0;
    if (version == 0)
        return std::nullopt;
    QList<Entry> entries;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // A line cut short names no folder it was written for: its identity and token
        // must still match the folder before anything is done with it.
        if (const std::optional<Entry> entry = parseEntry(lines.at(i), version))
            entries.append(*entry);
    }
    return entries;
}

ExtractionJournal::ExtractionJournal(const QString &programDir)
    : programDir_(programDir)
{
}

QString ExtractionJournal::path() const
{
    return QDir(programDir_).filePath(QLatin1String(JournalFileName));
}

QList<Entry> ExtractionJournal::entries() const
{
    const TextReadResult read = ReadTextLines(path(), false);
    return read.status == TextReadResult::Read ? ParseJournal(read.lines).value_or(QList<Entry>())
                                               : QList<Entry>();
}

bool ExtractionJournal::update(const std::function<void(QList<Entry> &)> &change, QString *why)
{
    HeldLock held;
    if (!held.take(path() + QStringLiteral(".lock"), why))
        return false;
    QList<Entry> list = entries();
    const QStringList before = FormatJournal(list);
    change(list);
    if (FormatJournal(list) == before && QFileInfo::exists(path()) != list.isEmpty())
        return true; // nothing to write
    QString error;
    if (!list.isEmpty()) {
        const TextWriteResult written =
            WriteTextLines(path(), FormatJournal(list), TextEncoding::Utf8);
        error = written.error;
    } else if (QFile file(path()); file.exists() && !file.remove()) {
        error = file.errorString();
    }
    syncFolder(programDir_);
    if (!error.isEmpty() && why != nullptr)
        *why = error;
    return error.isEmpty();
}

QList<Entry> ExtractionJournal::adopt(QString *why)
{
    QList<Entry> adopted;
    const auto orphan = [](const Entry &entry) {
        return entry.owner == ThisProcess() || !Alive(entry.owner);
    };
    const QList<Entry> listed = entries();
    if (!listed.isEmpty() && std::none_of(listed.cbegin(), listed.cend(), orphan))
        return adopted; // every folder has its Zanku: the lock is not needed
    update(
        [&](QList<Entry> &list) {
            for (Entry &entry : list) {
                if (orphan(entry)) {
                    entry.owner = ThisProcess();
                    adopted.append(entry);
                }
            }
        },
        why);
    return adopted;
}

bool ExtractionJournal::begin(const QString &folder, const QString &token, QString *warning)
{
    const auto matches = [&](const Entry &entry) {
        return entry.folder == folder && entry.token == token;
    };
    QString why;
    bool written = update(
        [&](QList<Entry> &list) {
            // A folder listed but gone was removed by a Zanku that ended before it said so.
            list.removeIf([&](const Entry &entry) {
                return entry.folder == folder && !Alive(entry.owner) && !QFileInfo::exists(folder);
            });
            list.append({folder, std::nullopt, token, {}, ThisProcess()});
        },
        &why);

    QDir().mkpath(QFileInfo(folder).absolutePath());
    // Only a folder this mkdir made is the extraction's: one there already is the player's.
    const bool made = QDir().mkdir(folder);
    const std::optional<FolderIdentity> identity = made ? IdentityOf(folder) : std::nullopt;
    if (written) {
        written = update(
            [&](QList<Entry> &list) {
                list.removeIf(matches);
                if (made && identity)
                    list.append({folder, identity, token, {}, ThisProcess()});
            },
            &why);
    }
    if (!written && !std::exchange(warned_, true)) {
        *warning = CoreText::tr("Could not write %1: %2\nThe folder %3 will not be removed after "
                                "a crash.")
                       .arg(QDir::toNativeSeparators(path()), why,
                            Quoted(QDir::toNativeSeparators(folder)));
    }
    return made && identity;
}

void ExtractionJournal::own(const QString &folder, const std::optional<FolderIdentity> &identity,
                            const QString &token)
{
    update([&](QList<Entry> &list) {
        list.removeIf([&](const Entry &entry) { return entry.folder == folder; });
        list.append({folder, identity, token, {}, ThisProcess()});
    });
}

void ExtractionJournal::addSession(const QString &folder, const QString &token,
                                   const Session &session)
{
    update([&](QList<Entry> &list) {
        for (Entry &entry : list) {
            if (entry.folder == folder && entry.token == token && !entry.sessions.contains(session))
                entry.sessions.append(session);
        }
    });
}

void ExtractionJournal::forget(const QString &folder, const QString &token)
{
    update([&](QList<Entry> &list) {
        list.removeIf(
            [&](const Entry &entry) { return entry.folder == folder && entry.token == token; });
    });
}

} // namespace zanku
