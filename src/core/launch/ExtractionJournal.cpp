#include "core/launch/ExtractionJournal.h"

#include "core/common/Quoted.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zanku {
namespace {
// The file lists one folder a line between a title and an end line, so a journal cut
// short is seen as such: "<device> <inode> <birth> <path>", the path percent-encoded,
// and "- - -" for a folder recorded before it was made.
const QString Title = QStringLiteral("Zanku extraction journal");
const QString EndLine = QStringLiteral("end");
const QString Unknown = QStringLiteral("-");

using Journal = ExtractionJournal;

std::optional<QList<Journal::Entry>> parseEntries(const QStringList &lines)
{
    if (lines.size() < 2 || lines.first() != Title || lines.last() != EndLine)
        return std::nullopt;
    QList<Journal::Entry> entries;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u' ');
        if (fields.size() != 4)
            return std::nullopt;
        Journal::Entry entry;
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

QStringList formatEntries(const QList<Journal::Entry> &entries)
{
    QStringList lines{Title};
    for (const Journal::Entry &entry : entries) {
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
    if (!lock_->tryLock(0))
        return false;
    const TextReadResult read = ReadTextLines(path());
    const auto listed =
        read.status == TextReadResult::Read ? parseEntries(read.lines) : std::nullopt;
    for (const Entry &entry : listed.value_or(QList<Entry>())) {
        const bool known = std::any_of(entries_.cbegin(), entries_.cend(), [&](const Entry &own) {
            return own.folder == entry.folder;
        });
        if (!known)
            entries_.prepend(entry);
    }
    return true;
}

ExtractionJournal::WriteResult ExtractionJournal::write()
{
    if (!takeLock())
        return {false, lock_->error() == QLockFile::LockFailedError
                           ? QStringLiteral("another Zanku is using it")
                           : QStringLiteral("its lock file cannot be made")};
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
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (entries_.at(i).folder == folder)
            return i;
    }
    return -1;
}

void ExtractionJournal::recover()
{
    if (!takeLock())
        return;
    QList<Entry> left;
    for (const Entry &entry : std::as_const(entries_)) {
        // A folder recorded before it was made cannot be told from one of the player's.
        if (entry.identity &&
            RemoveTree(entry.folder, entry.identity) == RemoveTreeResult::PartlyKept)
            left.append(entry);
    }
    entries_ = left;
    write();
}

QString ExtractionJournal::begin(const QString &folder)
{
    if (const qsizetype stale = indexOf(folder); stale >= 0)
        entries_.removeAt(stale);
    entries_.append({folder, std::nullopt});
    WriteResult written = write();

    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder);
    const std::optional<FolderIdentity> identity = IdentityOf(folder);
    entries_[indexOf(folder)].identity = identity;
    if (written.ok && identity)
        written = write();
    if (written.ok || std::exchange(warned_, true))
        return {};
    return QStringLiteral(
               "Could not write %1: %2\nThe folder %3 will not be removed after a crash.")
        .arg(QDir::toNativeSeparators(path()), written.error,
             Quoted(QDir::toNativeSeparators(folder)));
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
