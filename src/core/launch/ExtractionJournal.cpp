#include "core/launch/ExtractionJournal.h"

#include "core/common/AppState.h"
#include "core/common/Messages.h"
#include "core/files/TextFile.h"
#include "core/files/RemoveTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QLockFile>

#include <algorithm>
#include <memory>
#include <optional>

namespace {
// The file lists one folder a line between a title and an end line, so a journal cut
// short is seen as such: "<device> <inode> <birth> <path>", the path percent-encoded,
// and "- - -" for a folder recorded before it was made.
const QString JournalName = QStringLiteral("Zanku.extract");
const QString Title = QStringLiteral("Zanku extraction journal");
const QString EndLine = QStringLiteral("end");
const QString Unknown = QStringLiteral("-");

struct Entry {
    QString folder;
    std::optional<FolderIdentity> identity;
};

struct Journal {
    QString dir;
    std::unique_ptr<QLockFile> lock;
    QList<Entry> entries; // what the file should list, this session's folders among them
    bool warned = false;
};

Journal &session()
{
    static Journal journal;
    return journal;
}

QString journalPath(const Journal &journal)
{
    return QDir(journal.dir).filePath(JournalName);
}

Journal &openJournal(const QString &dir)
{
    Journal &journal = session();
    journal = Journal{};
    journal.dir = dir;
    journal.lock = std::make_unique<QLockFile>(journalPath(journal) + QStringLiteral(".lock"));
    // A Zanku that runs for days keeps its lock: only a process that is gone loses it.
    journal.lock->setStaleLockTime(0);
    return journal;
}

Journal &journalFor(const QString &dir)
{
    return session().dir == dir ? session() : openJournal(dir);
}

std::optional<QList<Entry>> parseEntries(const QStringList &lines)
{
    if (lines.size() < 2 || lines.first() != Title || lines.last() != EndLine)
        return std::nullopt;
    QList<Entry> entries;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u' ');
        if (fields.size() != 4)
            return std::nullopt;
        Entry entry;
        entry.folder = QFile::decodeName(QByteArray::fromPercentEncoding(fields.at(3).toLatin1()));
        if (!QDir::isAbsolutePath(entry.folder))
            return std::nullopt;
        if (fields.mid(0, 3) != QStringList(3, Unknown)) {
            bool ok[3] = {};
            entry.identity =
                FolderIdentity{fields.at(0).toULongLong(&ok[0]), fields.at(1).toULongLong(&ok[1]),
                               fields.at(2).toULongLong(&ok[2])};
            if (!ok[0] || !ok[1] || !ok[2])
                return std::nullopt;
        }
        entries.append(entry);
    }
    return entries;
}

QStringList formatEntries(const QList<Entry> &entries)
{
    QStringList lines{Title};
    for (const Entry &entry : entries) {
        const QString path =
            QString::fromLatin1(QFile::encodeName(entry.folder).toPercentEncoding());
        lines.append(entry.identity ? QStringLiteral("%1 %2 %3 %4")
                                          .arg(entry.identity->device)
                                          .arg(entry.identity->inode)
                                          .arg(entry.identity->birth)
                                          .arg(path)
                                    : QStringLiteral("%1 %1 %1 %2").arg(Unknown, path));
    }
    lines.append(EndLine);
    return lines;
}

// Takes the lock when it is free, or held by a process that is gone, and keeps it while
// the journal lists anything; the folders the file lists then are kept in the journal.
bool takeLock(Journal &journal)
{
    if (journal.lock->isLocked())
        return true;
    if (!journal.lock->tryLock(0))
        return false;
    const TextReadResult read = ReadTextLines(journalPath(journal));
    const auto listed = read.lines ? parseEntries(*read.lines) : std::nullopt;
    for (const Entry &entry : listed.value_or(QList<Entry>())) {
        const bool known =
            std::any_of(journal.entries.cbegin(), journal.entries.cend(),
                        [&](const Entry &own) { return own.folder == entry.folder; });
        if (!known)
            journal.entries.prepend(entry);
    }
    return true;
}

TextWriteResult writeJournal(Journal &journal)
{
    if (!takeLock(journal))
        return {false, journal.lock->error() == QLockFile::LockFailedError
                           ? QStringLiteral("another Zanku is using it")
                           : QStringLiteral("its lock file cannot be made")};
    QFile file(journalPath(journal));
    if (!journal.entries.isEmpty())
        return WriteTextLines(file.fileName(), formatEntries(journal.entries));
    // Nothing left to protect: another Zanku may have the journal now.
    if (file.exists() && !file.remove())
        return {false, file.errorString()};
    journal.lock->unlock();
    return {true, QString()};
}

qsizetype indexOf(const Journal &journal, const QString &folder)
{
    for (qsizetype i = 0; i < journal.entries.size(); ++i) {
        if (journal.entries.at(i).folder == folder)
            return i;
    }
    return -1;
}
} // namespace

void RecoverExtractions(const QString &programDir)
{
    Journal &journal = openJournal(programDir);
    if (!takeLock(journal))
        return;
    QList<Entry> left;
    for (const Entry &entry : std::as_const(journal.entries)) {
        // A folder recorded before it was made cannot be told from one of the player's.
        if (entry.identity &&
            RemoveTree(entry.folder, entry.identity) == RemoveTreeResult::PartlyKept)
            left.append(entry);
    }
    journal.entries = left;
    writeJournal(journal);
}

void BeginExtraction(const QString &folder)
{
    Journal &journal = journalFor(App().ProgramDir);
    if (const qsizetype stale = indexOf(journal, folder); stale >= 0)
        journal.entries.removeAt(stale);
    journal.entries.append({folder, std::nullopt});
    TextWriteResult written = writeJournal(journal);

    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder);
    const std::optional<FolderIdentity> identity = IdentityOf(folder);
    journal.entries[indexOf(journal, folder)].identity = identity;
    if (written.ok && identity)
        written = writeJournal(journal);
    if (!written.ok && !journal.warned) {
        journal.warned = true;
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("Could not write %1: %2\nThe folder %3 will not be removed "
                                   "after a crash.")
                        .arg(QDir::toNativeSeparators(journalPath(journal)), written.error,
                             Quoted(QDir::toNativeSeparators(folder))));
    }
}

void RemoveExtraction(const QString &folder)
{
    Journal &journal = journalFor(App().ProgramDir);
    const qsizetype index = indexOf(journal, folder);
    const std::optional<FolderIdentity> identity =
        index >= 0 ? journal.entries.at(index).identity : std::nullopt;
    if (RemoveTree(folder, identity) == RemoveTreeResult::PartlyKept || index < 0)
        return;
    journal.entries.removeAt(index);
    writeJournal(journal);
}
