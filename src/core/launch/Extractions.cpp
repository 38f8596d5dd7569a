#include "core/launch/Extractions.h"

#include "core/common/CoreText.h"
#include "core/common/Quoted.h"

#include "core/launch/Launch.h"
#include "core/launch/PlayersFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zanku {
namespace {
// How often a folder whose emulator's leader has ended looks at its session again.
constexpr int SessionPollMs = 1000;

QString ErrorTitle()
{
    return CoreText::tr("Error");
}

bool inside(const QString &folder, const QString &directory)
{
    const QString clean = QDir::cleanPath(directory);
    return !clean.isEmpty() && folder == QDir::cleanPath(folder) && folder.startsWith(clean + u'/');
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

Extractions::Extractions(const QString &programDir, QObject *parent)
    : QObject(parent)
    , programDir_(programDir)
    , journal_(programDir)
{
    poll_.setInterval(SessionPollMs);
    connect(&poll_, &QTimer::timeout, this, &Extractions::removeUnused);
}

Extractions::~Extractions() = default;

bool Extractions::isExtraction(const QString &folder)
{
    return QFileInfo(folder).isDir() && ReadMarker(folder).has_value();
}

// Whether an emulator of the folder runs: a session listed (by the marker, or by the
// journal when the marker could not say it), or any process started with its tag.
bool Extractions::running(const ExtractionMarker &marker, const QList<Session> &listed)
{
    const QList<Session> sessions = marker.sessions + listed;
    return std::any_of(sessions.cbegin(), sessions.cend(), SessionRunning) ||
           TaggedProcessRunning(marker.token);
}

// Keeps the player's files of a folder this Zanku owns, then removes it, the marker
// last, so that a removal cut short is finished at the next start. Only a folder still
// the one made then (its identity) and holding its token is touched.
Extractions::Removal Extractions::remove(Folder &folder, QString *waiting)
{
    if (!QFileInfo::exists(folder.path))
        return Removal::Removed;
    const std::optional<FolderIdentity> identity = IdentityOf(folder.path);
    const std::optional<ExtractionMarker> found = ReadMarker(folder.path);
    const bool ours = folder.identity && identity == folder.identity;
    if (!found || found->token != folder.token) {
        // Made by the mkdir and killed before its marker: nothing was extracted into it.
        const bool empty =
            QDir(folder.path)
                .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        if (empty && !folder.token.isEmpty() && (ours || !folder.identity) &&
            QDir().rmdir(folder.path))
            return Removal::Removed;
        return Removal::NotOurs;
    }
    if (!ours)
        return Removal::NotOurs;
    // Unused, it is this Zanku's to keep from now on, in one step under the folder's lock:
    // a Zanku sharing it meanwhile has either listed itself first or finds it being kept.
    bool busy = false;
    ExtractionMarker marker;
    const bool claimed = UpdateMarker(folder.path, [&](ExtractionMarker &now) {
        // Another Zanku's keep under way is waited for too.
        const bool keptByAnother =
            now.state == FolderState::Keeping && now.owner != ThisProcess() && Alive(now.owner);
        busy = now.token != folder.token || keptByAnother || running(now, folder.sessions);
        marker = now;
        now.owner = ThisProcess();
        now.runs.clear(); // counted below, once
        if (now.state != FolderState::Extracting)
            now.state = FolderState::Keeping;
        return !busy;
    });
    if (busy) {
        folder.seenInUse = true;
        return Removal::InUse;
    }
    const QString saves = SavesFolder(programDir_, marker.emulator, marker.gameFile);
    if (!claimed && !QFileInfo::exists(folder.path))
        return Removal::Removed; // by a Zanku that took it over meanwhile
    if (!claimed && ReadMarker(folder.path).value_or(ExtractionMarker{}).token != folder.token)
        return Removal::NotOurs;
    if (!claimed) {
        *waiting = CoreText::tr("The files the emulator wrote in %1 could not be kept in %2, "
                                "so the folder stays until they can: its marker cannot be "
                                "written.")
                       .arg(Quoted(native(folder.path)), Quoted(native(saves)));
        return Removal::Waiting;
    }
    countRuns(folder, marker);
    // A folder still being extracted when the program ended holds nothing of the player's.
    if (marker.state != FolderState::Extracting) {
        marker.owner = ThisProcess();
        marker.runs.clear();
        const KeepResult kept = KeepPlayersFiles(folder.path, marker, saves);
        if (!kept.ok()) {
            *waiting = CoreText::tr("The files the emulator wrote in %1 could not be kept in "
                                    "%2, so the folder stays until they can:\n%3")
                           .arg(Quoted(native(folder.path)), Quoted(native(saves)),
                                kept.waiting.join(u'\n'));
            return Removal::Waiting;
        }
    }
    if (RemoveTree(folder.path, identity, MarkerName) == RemoveTreeResult::PartlyKept) {
        *waiting = CoreText::tr("%1 could not be removed entirely; it is tried again at the "
                                "next clean-up.")
                       .arg(Quoted(native(folder.path)));
        return Removal::Waiting;
    }
    return Removal::Removed;
}

// The runs of the folder's emulators whose Zanku has ended: no one else counts them. One
// seen running until now ended now; one that ended before, when it last wrote there.
void Extractions::countRuns(const Folder &folder, const ExtractionMarker &marker)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    qint64 end = now;
    if (!folder.seenInUse) {
        qint64 newest = 0;
        const auto files = FilesIn(folder.path);
        for (const ExtractionMarker::Stamp &stamp : files)
            newest = std::max(newest, stamp.modified / 1000);
        end = std::min(now, newest);
    }
    for (const ExtractionMarker::Run &run : marker.runs) {
        if (run.by != ThisProcess() && !Alive(run.by))
            emit played(marker.emulator, marker.gameName, marker.gameFile,
                        std::max<qint64>(0, end - run.started));
    }
}

void Extractions::tellWaiting(Folder &folder, const QString &waiting)
{
    folder.failed = true;
    if (!std::exchange(folder.told, true))
        emit notice(ErrorTitle(), waiting);
}

void Extractions::recover(const QStringList &emulatorDirectories)
{
    directories_ = emulatorDirectories;
    adoptOrphans(true);
}

// The folders of the journal whose Zanku has ended (a crash, or a quit while its emulator
// ran) become this Zanku's, to remove once nothing uses them.
void Extractions::adoptOrphans(bool atStart)
{
    if (!atStart && !QFileInfo::exists(journal_.path()))
        return;
    QString why;
    const QList<ExtractionJournal::Entry> entries = journal_.adopt(&why);
    // Told only when something is in the way of the lock, in whatever language it is said.
    const QStringList inTheWay =
        CoreText::tr("%1 is in the way of its lock file").split(QStringLiteral("%1"));
    if (atStart && inTheWay.size() == 2 && why.startsWith(inTheWay[0]) && why.endsWith(inTheWay[1]))
        emit notice(ErrorTitle(),
                    CoreText::tr("Cannot read %1: %2").arg(native(journal_.path()), why));
    for (const ExtractionJournal::Entry &entry : entries) {
        const auto same = [&](const auto &folder) {
            return folder->path == entry.folder && folder->token == entry.token;
        };
        if ((last_ && same(last_)) || std::any_of(waiting_.cbegin(), waiting_.cend(), same))
            continue;
        // Never anything outside the emulators' own folders, whatever the journal says.
        if (std::none_of(directories_.cbegin(), directories_.cend(),
                         [&](const QString &dir) { return inside(entry.folder, dir); })) {
            journal_.forget(entry.folder, entry.token);
            continue;
        }
        waiting_.push_back(std::make_unique<Folder>(
            Folder{entry.folder, entry.token, entry.identity, entry.sessions}));
    }
    removeUnused();
}

void Extractions::renameEmulator(const QString &from, const QString &to)
{
    std::vector<Folder *> folders;
    if (last_)
        folders.push_back(last_.get());
    for (const std::unique_ptr<Folder> &waiting : waiting_)
        folders.push_back(waiting.get());
    for (const Folder *folder : folders) {
        UpdateMarker(folder->path, [&](ExtractionMarker &now) {
            if (now.token != folder->token || now.emulator != from)
                return false;
            now.emulator = to;
            return true;
        });
    }
}

QString Extractions::tag() const
{
    return last_ ? last_->token : QString();
}

void Extractions::cleanup()
{
    if (last_) {
        release(*last_);
        waiting_.push_back(std::move(last_));
    }
    for (const auto &folder : waiting_)
        folder->failed = false; // tried again
    if (!directories_.isEmpty())
        adoptOrphans(false);
    else
        removeUnused();
}

void Extractions::removeUnused()
{
    for (auto folder = waiting_.begin(); folder != waiting_.end();) {
        Folder &waiting = **folder;
        QString why;
        const Removal removal = !waiting.owned
                                    ? Removal::NotOurs
                                    : (waiting.failed ? Removal::Waiting : remove(waiting, &why));
        if (removal == Removal::Removed) {
            journal_.forget(waiting.path, waiting.token);
            emit removed(waiting.path);
        }
        if (removal == Removal::NotOurs && waiting.owned)
            journal_.forget(waiting.path, waiting.token);
        if (removal == Removal::Waiting && !why.isEmpty())
            tellWaiting(waiting, why);
        if (removal == Removal::Removed || removal == Removal::NotOurs)
            folder = waiting_.erase(folder);
        else
            ++folder;
    }
    const bool watching = std::any_of(waiting_.cbegin(), waiting_.cend(),
                                      [](const auto &folder) { return !folder->failed; });
    if (watching)
        poll_.start();
    else
        poll_.stop();
}

} // namespace zanku
