#include "core/launch/Extractions.h"

#include "core/common/Quoted.h"
#include "core/common/Version.h"
#include "core/launch/Launch.h"
#include "core/launch/PlayersFiles.h"
#include "core/unzip/VBUnzBas.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zanku {
namespace {
// How often a folder whose emulator's leader has ended looks at its session again.
constexpr int SessionPollMs = 1000;

const QString ErrorTitle = QStringLiteral("Error");

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

bool Extractions::inUse(const QString &folder) const
{
    QList<Session> sessions;
    if (const std::optional<ExtractionMarker> marker = ReadMarker(folder))
        sessions = marker->sessions;
    if (const ExtractionJournal::Entry *entry = journal_.find(folder))
        sessions += entry->sessions;
    return std::any_of(sessions.cbegin(), sessions.cend(), SessionRunning);
}

// Keeps the player's files of a folder the journal lists, then removes it, the marker
// last, so that a removal cut short is finished at the next start. Only a folder still
// the one made then (its identity) and holding the journal's token is touched.
Extractions::Removal Extractions::remove(const QString &folder, QString *waiting)
{
    const ExtractionJournal::Entry *entry = journal_.find(folder);
    if (entry == nullptr || !QFileInfo::exists(folder))
        return Removal::Removed;
    if (inUse(folder))
        return Removal::InUse;
    const std::optional<FolderIdentity> identity = IdentityOf(folder);
    std::optional<ExtractionMarker> marker = ReadMarker(folder);
    const bool ours = entry->identity && identity == entry->identity;
    if (!marker || marker->token != entry->token) {
        // Made by the mkdir and killed before its marker: nothing was extracted into it.
        const bool empty = QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                QDir::NoDotAndDotDot);
        if (empty && !entry->token.isEmpty() && (ours || !entry->identity) && QDir().rmdir(folder))
            return Removal::Removed;
        return Removal::NotOurs;
    }
    if (!ours)
        return Removal::NotOurs;
    // A folder still being extracted when the program ended holds nothing of the player's.
    if (marker->state != FolderState::Extracting) {
        const QString saves = SavesFolder(programDir_, marker->emulator, marker->gameFile);
        const KeepResult kept = KeepPlayersFiles(folder, *marker, saves);
        if (!kept.ok()) {
            *waiting =
                QStringLiteral("The files the emulator wrote in %1 could not be kept in "
                               "%2, so the folder stays until they can:\n%3")
                    .arg(Quoted(native(folder)), Quoted(native(saves)), kept.waiting.join(u'\n'));
            return Removal::Waiting;
        }
    }
    if (RemoveTree(folder, identity, MarkerName) == RemoveTreeResult::PartlyKept) {
        *waiting = QStringLiteral("%1 could not be removed entirely; it is tried again at the "
                                  "next clean-up.")
                       .arg(Quoted(native(folder)));
        return Removal::Waiting;
    }
    return Removal::Removed;
}

void Extractions::tellWaiting(Folder &folder, const QString &waiting)
{
    folder.failed = true;
    if (!std::exchange(folder.told, true))
        emit notice(ErrorTitle, waiting);
}

void Extractions::recover(const QStringList &emulatorDirectories)
{
    QString why;
    if (!journal_.take(&why)) {
        if (why.contains(QLatin1String("in the way")))
            emit notice(ErrorTitle,
                        QStringLiteral("Cannot read %1: %2").arg(native(journal_.path()), why));
        return;
    }
    const QList<ExtractionJournal::Entry> entries = journal_.entries();
    for (const ExtractionJournal::Entry &entry : entries) {
        // Never anything outside the emulators' own folders, whatever the journal says.
        if (std::none_of(emulatorDirectories.cbegin(), emulatorDirectories.cend(),
                         [&](const QString &dir) { return inside(entry.folder, dir); })) {
            journal_.forget(entry.folder);
            continue;
        }
        QString waiting;
        switch (remove(entry.folder, &waiting)) {
        case Removal::Removed:
            emit removed(entry.folder);
            [[fallthrough]];
        case Removal::NotOurs:
            journal_.forget(entry.folder);
            break;
        case Removal::InUse: // still played, maybe since before a restart: watched from now
            waiting_.push_back(std::make_unique<Folder>(Folder{entry.folder}));
            break;
        case Removal::Waiting:
            waiting_.push_back(std::make_unique<Folder>(Folder{entry.folder}));
            tellWaiting(*waiting_.back(), waiting);
            break;
        }
    }
    journal_.save(); // an empty journal goes, and lets its lock go
    if (!waiting_.empty())
        poll_.start();
}

bool Extractions::prepare(const Game &game)
{
    const QString dir = QDir::cleanPath(game.directory);
    if (!game.destination.isEmpty()) {
        // The player's own folder: what it receives stays there.
        const QString target = QDir::cleanPath(QDir(dir).filePath(game.destination));
        if (const int status = ExtractArchive(game.archive, target); status != UnzipOk)
            emit notice(QString::fromUtf8(Version::ProductTitle), QString::number(status));
        return true;
    }
    const QString target = QDir::cleanPath(QDir(dir).filePath(game.file));
    if (!inside(target, dir)) {
        emit notice(ErrorTitle,
                    QStringLiteral("The game file %1 leads out of the emulator's directory %2, "
                                   "so its archive is not extracted and the game is not started.")
                        .arg(Quoted(game.file), Quoted(native(dir))));
        return false;
    }
    // Already there: one this Zanku watches, one another Zanku or an earlier session made
    // (shared, so that it stays while this emulator runs too), or the player's own.
    const auto same = [&](const auto &folder) { return folder->path == target; };
    if (const auto found = std::find_if(waiting_.begin(), waiting_.end(), same);
        found != waiting_.end()) {
        cleanup();
        const auto again = std::find_if(waiting_.begin(), waiting_.end(), same);
        if (again != waiting_.end()) {
            last_ = std::move(*again);
            waiting_.erase(again);
            return true;
        }
    }
    if (QFileInfo::exists(target)) {
        const std::optional<ExtractionMarker> marker = ReadMarker(target);
        if (!marker) {
            // The player's: used as it is when it holds the game, never extracted into
            // (that would write over the player's files) and never removed.
            if (QFileInfo::exists(QDir(target).filePath(QFileInfo(game.file).fileName())))
                return true;
            emit notice(ErrorTitle,
                        QStringLiteral("%1 is in the way of the game's archive: it is not a "
                                       "folder Zanku made, so nothing is extracted into it. Move "
                                       "it away, or give the game a Destination Directory.")
                            .arg(Quoted(native(target))));
            return false;
        }
        if (marker->state == FolderState::Extracting || marker->state == FolderState::Keeping) {
            emit notice(ErrorTitle,
                        QStringLiteral("%1 is being %2 by another Zanku, or was left so by a "
                                       "crash. Try again in a moment.")
                            .arg(Quoted(native(target)), marker->state == FolderState::Extracting
                                                             ? QStringLiteral("extracted")
                                                             : QStringLiteral("removed")));
            return false;
        }
        journal_.take();
        const ExtractionJournal::Entry *entry = journal_.find(target);
        const bool owned = entry != nullptr && entry->token == marker->token;
        last_ = std::make_unique<Folder>(Folder{target, owned});
        return true;
    }

    ExtractionMarker marker{NewToken(), FolderState::Extracting, game.emulator, game.file, {}, {},
                            {}};
    QString warning;
    const bool made = journal_.begin(target, marker.token, &warning);
    if (!warning.isEmpty())
        emit notice(ErrorTitle, warning);
    if (!made)
        return true; // made by someone else meanwhile: not ours to fill
    QString error;
    if (!WriteMarker(target, marker, &error)) {
        RemoveTree(target, IdentityOf(target));
        journal_.forget(target);
        emit notice(
            ErrorTitle,
            QStringLiteral("Cannot extract into %1: %2").arg(Quoted(native(target)), error));
        return true;
    }
    // A failed extraction does not stop the launch; its status number is shown.
    if (const int status = ExtractArchive(game.archive, target); status != UnzipOk)
        emit notice(QString::fromUtf8(Version::ProductTitle), QString::number(status));
    marker.extracted = FilesIn(target);
    // What the emulator wrote last time comes back, over what the archive holds. The
    // marker lists it first: a crash meanwhile keeps it again, never deletes it.
    const QString saves = SavesFolder(programDir_, game.emulator, game.file);
    const auto kept = FilesIn(saves);
    for (auto file = kept.cbegin(); file != kept.cend(); ++file)
        marker.restored.insert(file.key());
    marker.state = FolderState::Ready;
    if (WriteMarker(target, marker) && !marker.restored.isEmpty()) {
        marker.restored = RestoreKeptFiles(saves, target);
        WriteMarker(target, marker);
    }
    last_ = std::make_unique<Folder>(Folder{target});
    return true;
}

void Extractions::started(EmulatorProcess *emulator)
{
    if (!last_ || emulator == nullptr)
        return;
    const Session session{emulator->pid(), emulator->startTime()};
    UpdateMarker(last_->path, [&](ExtractionMarker &marker) {
        if (!marker.sessions.contains(session))
            marker.sessions.append(session);
        if (marker.state == FolderState::Ready)
            marker.state = FolderState::InUse;
    });
    journal_.addSession(last_->path, session);
    connect(emulator, &EmulatorProcess::finished, this, &Extractions::removeUnused);
}

void Extractions::cleanup()
{
    if (last_)
        waiting_.push_back(std::move(last_));
    for (const auto &folder : waiting_)
        folder->failed = false; // tried again
    removeUnused();
}

void Extractions::removeUnused()
{
    for (auto folder = waiting_.begin(); folder != waiting_.end();) {
        Folder &waiting = **folder;
        QString why;
        const Removal removal =
            !waiting.owned ? Removal::NotOurs
                           : (waiting.failed ? Removal::Waiting : remove(waiting.path, &why));
        if (removal == Removal::Removed) {
            journal_.forget(waiting.path);
            emit removed(waiting.path);
        }
        if (removal == Removal::NotOurs && waiting.owned)
            journal_.forget(waiting.path);
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
