// The launch's side of the extractions: a folder made and extracted, or one that is there
// already shared, taken over or opened again; and the emulator started on it recorded.

#include "core/common/CoreText.h"
#include "core/common/Quoted.h"
#include "core/common/Version.h"
#include "core/launch/Extractions.h"
#include "core/launch/Launch.h"
#include "core/launch/PlayersFiles.h"
#include "core/unzip/VBUnzBas.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace zanku {
namespace {
QString ErrorTitle()
{
    return CoreText::tr("Error");
}
// How long a launch waits for another Zanku extracting or keeping the game's folder.
constexpr qint64 BusyWaitMs = 20 * 1000;
constexpr unsigned long BusyPollMs = 50;

bool inside(const QString &folder, const QString &directory)
{
    const QString clean = QDir::cleanPath(directory);
    return !clean.isEmpty() && folder == QDir::cleanPath(folder) && folder.startsWith(clean + u'/');
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool busy(const ExtractionMarker &marker)
{
    return marker.state == FolderState::Extracting || marker.state == FolderState::Keeping;
}

QString busyText(const QString &folder, FolderState state)
{
    return (state == FolderState::Extracting
                ? CoreText::tr("%1 is being extracted by another Zanku. Try again in a moment.")
                : CoreText::tr("%1 is being removed by another Zanku. Try again in a moment."))
        .arg(Quoted(native(folder)));
}
} // namespace

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
        emit notice(ErrorTitle(),
                    CoreText::tr("The game file %1 leads out of the emulator's directory %2, "
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
            std::unique_ptr<Folder> folder = std::move(*again);
            waiting_.erase(again);
            reopen(*folder); // its files could not be kept: played on as it is
            return claim(game, std::move(folder));
        }
    }
    return QFileInfo::exists(target) ? prepareThere(game, target) : prepareNew(game, target);
}

// Another Zanku's mkdir a moment ago, or a Zanku's removal a moment from its end (the
// marker goes first and last): waited for while the folder is empty.
static std::optional<ExtractionMarker> markerOnceMade(const QString &target)
{
    QElapsedTimer waited;
    waited.start();
    const auto empty = [&] {
        return QDir(target).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                    QDir::NoDotAndDotDot);
    };
    std::optional<ExtractionMarker> marker = ReadMarker(target);
    while (!marker && QFileInfo::exists(target) && empty() && waited.elapsed() < BusyWaitMs) {
        QThread::msleep(BusyPollMs);
        marker = ReadMarker(target);
    }
    return marker;
}

// The game's folder is there: some Zanku's, or the player's.
bool Extractions::prepareThere(const Game &game, const QString &target)
{
    const std::optional<ExtractionMarker> marker = markerOnceMade(target);
    if (marker)
        return prepareFound(game, target, *marker);
    if (!QFileInfo::exists(target) && retries_ < 3) { // removed meanwhile
        ++retries_;
        const bool prepared = prepareNew(game, target);
        --retries_;
        return prepared;
    }
    // The player's: used as it is when it holds the game, never extracted into
    // (that would write over the player's files) and never removed.
    if (QFileInfo::exists(QDir(target).filePath(QFileInfo(game.file).fileName())))
        return true;
    emit notice(ErrorTitle(), CoreText::tr("%1 is in the way of the game's archive: it is not a "
                                           "folder Zanku made, so nothing is extracted into it. "
                                           "Move it away, or give the game a Destination "
                                           "Directory.")
                                  .arg(Quoted(native(target))));
    return false;
}

// A folder some Zanku extracted. Its maker, or the journal's owner, removes it; when that
// Zanku has ended, this one does.
bool Extractions::prepareFound(const Game &game, const QString &target, ExtractionMarker marker)
{
    const Session self = ThisProcess();
    // Another Zanku extracting or keeping it is done in a moment: waited for.
    QElapsedTimer waited;
    waited.start();
    while (busy(marker) && marker.owner != self && Alive(marker.owner)) {
        if (waited.elapsed() > BusyWaitMs) {
            emit notice(ErrorTitle(), busyText(target, marker.state));
            return false;
        }
        QThread::msleep(BusyPollMs);
        if (!QFileInfo::exists(target)) {
            return prepareNew(game, target);
        }
        if (const std::optional<ExtractionMarker> now = ReadMarker(target))
            marker = *now; // else its marker, removed last, is going
    }
    if (busy(marker)) // left so by a crash, or by a keep that failed
        return takeOver(game, target, marker);
    const QList<ExtractionJournal::Entry> listed = journal_.entries();
    const auto entry = std::find_if(listed.cbegin(), listed.cend(), [&](const auto &entry) {
        return entry.folder == target && entry.token == marker.token;
    });
    const Session owner = entry != listed.cend() ? entry->owner : marker.owner;
    const bool owned = owner == self || !Alive(owner);
    const std::optional<FolderIdentity> identity =
        entry != listed.cend() ? entry->identity : IdentityOf(target);
    if (owned && owner != self)
        journal_.own(target, identity, marker.token);
    return claim(game, std::make_unique<Folder>(Folder{target, marker.token, identity, {}, owned}));
}

// A folder left being extracted or kept by a Zanku that is gone, or by a keep of this one
// that failed: removed, its files kept, then extracted again; when its files still cannot
// be kept, played on as it is.
bool Extractions::takeOver(const Game &game, const QString &target, const ExtractionMarker &marker)
{
    auto folder = std::make_unique<Folder>(Folder{target, marker.token, IdentityOf(target), {}});
    journal_.own(target, folder->identity, marker.token);
    QString waiting;
    switch (remove(*folder, &waiting)) {
    case Removal::Removed:
        journal_.forget(target, marker.token);
        emit removed(target);
        return prepareNew(game, target);
    case Removal::Waiting:
        tellWaiting(*folder, waiting);
        if (marker.state == FolderState::Keeping) {
            reopen(*folder);
            return claim(game, std::move(folder));
        }
        waiting_.push_back(std::move(folder));
        return false;
    case Removal::InUse:
        return retry(game, target, marker.state);
    case Removal::NotOurs:
        journal_.forget(target, marker.token);
        break;
    }
    emit notice(
        ErrorTitle(),
        CoreText::tr("%1 is in the way of the game's archive.").arg(Quoted(native(target))));
    return false;
}

// A folder whose keep failed goes back to being played: what was kept meanwhile comes
// back, never over what the keep left in the folder.
void Extractions::reopen(Folder &folder)
{
    UpdateMarker(folder.path, [&](ExtractionMarker &marker) {
        if (marker.token != folder.token || marker.state != FolderState::Keeping)
            return false;
        const QString saves = SavesFolder(programDir_, marker.emulator, marker.gameFile);
        marker.restored += RestoreKeptFiles(saves, folder.path, false);
        marker.state = FolderState::Ready;
        return true;
    });
}

// Lists this Zanku among the folder's sessions until its emulator is, so the one keeping
// it never removes it meanwhile; false when it is being kept already.
// Another Zanku began keeping the folder meanwhile, or removed it, or made it again:
// looked at again, a few times.
bool Extractions::retry(const Game &game, const QString &target, FolderState state)
{
    if (retries_ >= 3 && !QFileInfo::exists(target)) {
        emit notice(ErrorTitle(),
                    CoreText::tr("Cannot make the folder %1 to extract the game into.")
                        .arg(Quoted(native(target))));
        return false;
    }
    if (retries_ >= 3) {
        emit notice(ErrorTitle(), busyText(target, state));
        return false;
    }
    ++retries_;
    const bool prepared =
        QFileInfo::exists(target) ? prepareThere(game, target) : prepareNew(game, target);
    --retries_;
    return prepared;
}

bool Extractions::claim(const Game &game, std::unique_ptr<Folder> folder)
{
    FolderState state = FolderState::Ready;
    const bool claimed = UpdateMarker(folder->path, [&](ExtractionMarker &marker) {
        state = marker.state;
        if (marker.token != folder->token || busy(marker))
            return false;
        if (!marker.sessions.contains(ThisProcess()))
            marker.sessions.append(ThisProcess());
        return true;
    });
    if (!claimed) // being kept, or gone, since it was looked at
        return retry(game, folder->path, state);
    folder->claimed = claimed;
    last_ = std::move(folder);
    return true;
}

void Extractions::release(Folder &folder)
{
    if (std::exchange(folder.claimed, false))
        UpdateMarker(folder.path, [](ExtractionMarker &marker) {
            return marker.sessions.removeAll(ThisProcess()) > 0;
        });
}

bool Extractions::prepareNew(const Game &game, const QString &target)
{
    ExtractionMarker marker{NewToken(),
                            FolderState::Extracting,
                            ThisProcess(),
                            game.emulator,
                            game.file,
                            game.name,
                            {},
                            {},
                            {},
                            {}};
    QString warning;
    const bool made = journal_.begin(target, marker.token, &warning);
    if (!warning.isEmpty())
        emit notice(ErrorTitle(), warning);
    if (!made) // made, or being removed, by another Zanku meanwhile
        return retry(game, target, FolderState::Extracting);
    auto folder = std::make_unique<Folder>(Folder{target, marker.token, IdentityOf(target), {}});
    QString error;
    if (!WriteMarker(target, marker, &error)) {
        RemoveTree(target, folder->identity);
        journal_.forget(target, marker.token);
        emit notice(ErrorTitle(),
                    CoreText::tr("Cannot extract into %1: %2").arg(Quoted(native(target)), error));
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
    last_ = std::move(folder);
    return true;
}

void Extractions::started(EmulatorProcess *emulator)
{
    if (!last_ || emulator == nullptr)
        return;
    const Session session{emulator->pid(), emulator->startTime()};
    const ExtractionMarker::Run run{session, ThisProcess(), QDateTime::currentSecsSinceEpoch()};
    UpdateMarker(last_->path, [&](ExtractionMarker &marker) {
        marker.sessions.removeAll(ThisProcess()); // the emulator's own from now on
        if (!marker.sessions.contains(session))
            marker.sessions.append(session);
        marker.runs.append(run);
        if (marker.state == FolderState::Ready)
            marker.state = FolderState::InUse;
        return true;
    });
    last_->claimed = false;
    journal_.addSession(last_->path, last_->token, session);
    connect(emulator, &EmulatorProcess::finished, this, &Extractions::removeUnused);
}

} // namespace zanku
