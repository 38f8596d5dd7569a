#include "core/gamedata/PlayHistory.h"

#include "core/common/CoreText.h"
#include "core/files/TextFile.h"
#include "core/gamedata/PlayHistoryFile.h"
#include "core/gamedata/PlayHistoryLine.h"

#include <QDir>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace zanku {

using history::hashOf;
using history::instantOf;
using history::readHistory;
using history::readStats;
using history::ReadStatus;
using history::split;
using history::textsOf;

qsizetype PlayHistory::Renamed::locate(const Index &index, const QByteArray &key) const
{
    if (!byKey.isEmpty()) {
        if (const auto renamed = byKey.constFind(key); renamed != byKey.cend())
            return renamed->game;
    }
    const qsizetype game = index.lookup(key, hashOf(key));
    return game >= 0 && keyOf.contains(game) ? -1 : game;
}

PlayHistory::Renamed PlayHistory::resolve(const Index &index) const
{
    Renamed renamed;
    for (const Rename &rename : renames_) {
        const QByteArray from = history::keyOf(rename.emulator, rename.from, rename.file);
        const QByteArray to = history::keyOf(rename.toEmulator, rename.to, rename.file);
        const qsizetype game = renamed.locate(index, from);
        if (game < 0 || renamed.locate(index, to) >= 0)
            continue;
        renamed.byKey.remove(from);
        renamed.byKey.insert(to, {game, rename.toEmulator, rename.to, rename.file});
        renamed.keyOf.insert(game, to);
    }
    return renamed;
}

const PlayHistory::Change *PlayHistory::changeOf(const QByteArray &key) const
{
    const auto found = changeIndex_.constFind(key);
    return found == changeIndex_.cend() ? nullptr : &changes_[found.value()];
}

void PlayHistory::Change::applyTo(Game &game, bool merging) const
{
    game.launches =
        int(std::min<qint64>(qint64(game.launches) + launches, std::numeric_limits<int>::max()));
    game.seconds += seconds;
    if (lastPlayed.isValid() &&
        (!merging || !game.lastPlayed.isValid() || lastPlayed > game.lastPlayed))
        game.lastPlayed = lastPlayed;
    if (favourite)
        game.favourite = *favourite;
}

void PlayHistory::Change::forget(const Change &written)
{
    launches -= written.launches;
    seconds -= written.seconds;
    // A date or a star set again since stays: the file has the earlier one.
    if (lastPlayed == written.lastPlayed)
        lastPlayed = {};
    if (favourite == written.favourite)
        favourite.reset();
}

PlayHistory::Game PlayHistory::gameAt(qsizetype game, const Change *change) const
{
    Game made;
    if (game >= 0) {
        readStats(index_.line(index_.games[size_t(game)]), made);
        if (const auto renamed = renamed_.keyOf.constFind(game); renamed != renamed_.keyOf.cend()) {
            const Renamed::To to = renamed_.byKey.value(*renamed);
            made.key = {to.emulator, to.name, to.file};
        } else {
            history::Fields fields;
            split(index_.line(index_.games[size_t(game)]), fields);
            textsOf(fields.texts, made.key.emulator, made.key.name, made.key.file);
        }
    } else {
        made.key = change->key;
    }
    if (change != nullptr)
        change->applyTo(made, false);
    return made;
}

PlayHistory PlayHistory::parse(QByteArrayView content)
{
    PlayHistory history;
    history.index_.build(content.toByteArray());
    return history;
}

void PlayHistory::load(const QString &programDir)
{
    path_ = QDir(programDir).filePath(QLatin1String(FileName));
    readError_.clear();
    changes_.clear();
    changeIndex_.clear();
    renames_.clear();
    renamed_ = {};
    QByteArray content;
    QString error;
    if (readHistory(path_, content, error) == ReadStatus::Unreadable) {
        readError_ = error;
        content.clear();
    }
    index_.build(std::move(content));
}

bool PlayHistory::save(QString *error)
{
    return history::SaveShared(path_, readError_, error, [this](QString &reason) {
        // What another Zanku saved since is kept: this program's changes go on top of it.
        QByteArray content;
        if (readHistory(path_, content, reason) == ReadStatus::Unreadable)
            return false;
        // Most often the file is as this program last read or wrote it, and its index is
        // at hand.
        const bool unchanged = content == index_.bytes;
        Index now;
        if (!unchanged)
            now.build(std::move(content));
        Index &base = unchanged ? index_ : now;
        Index::Merge merge;
        QByteArray written = merged(base, &merge);
        if (!history::writeHistory(path_, written, reason))
            return false;
        if (merge.inPlace)
            base.follow(std::move(written), merge);
        else
            base.build(std::move(written));
        if (!unchanged)
            index_ = std::move(now);
        renamed_ = {};
        changes_.clear();
        changeIndex_.clear();
        renames_.clear();
        return true;
    });
}

PlayHistory::Change &PlayHistory::change(const GameKey &game)
{
    const QByteArray key = history::keyOf(game);
    if (const auto found = changeIndex_.constFind(key); found != changeIndex_.cend())
        return changes_[found.value()];
    changeIndex_.insert(key, changes_.size());
    changes_.push_back({game, 0, 0, {}, std::nullopt});
    return changes_.back();
}

std::optional<PlayHistory::Game> PlayHistory::find(const GameKey &wanted) const
{
    const QByteArray key = history::keyOf(wanted);
    const Change *change = changeOf(key);
    const qsizetype game = renamed_.locate(index_, key);
    if (game < 0 && change == nullptr)
        return std::nullopt;
    Game found;
    found.key = wanted;
    if (game >= 0)
        readStats(index_.line(index_.games[size_t(game)]), found);
    if (change != nullptr)
        change->applyTo(found, false);
    return found;
}

void PlayHistory::launched(const GameKey &game, const QDateTime &when)
{
    Change &change = this->change(game);
    ++change.launches;
    change.lastPlayed = when;
}

void PlayHistory::played(const GameKey &game, qint64 seconds)
{
    change(game).seconds += seconds;
}

void PlayHistory::setFavourite(const GameKey &game, bool on)
{
    change(game).favourite = on;
}

void PlayHistory::rename(const QString &emulator, const QString &file, const QString &from,
                         const QString &to, const QString &toEmulator)
{
    const QString &movedTo = toEmulator.isEmpty() ? emulator : toEmulator;
    if (!find({emulator, from, file}) || find({movedTo, to, file}))
        return;
    renames_.push_back({emulator, file, from, to, movedTo});
    const QByteArray key = history::keyOf(emulator, from, file);
    if (const auto found = changeIndex_.constFind(key); found != changeIndex_.cend()) {
        const size_t at = found.value();
        changeIndex_.erase(found);
        changes_[at].key.emulator = movedTo;
        changes_[at].key.name = to;
        changeIndex_.insert(history::keyOf(movedTo, to, file), at);
    }
    renamed_ = resolve(index_);
}

bool PlayHistory::renameEmulator(const QString &from, const QString &to)
{
    bool any = false;
    for (const Game &game : games()) {
        if (game.key.emulator == from) {
            rename(from, game.key.file, game.key.name, game.key.name, to);
            any = true;
        }
    }
    return any;
}

void PlayHistory::mergeCopy(const PlayHistory &copy)
{
    for (const Game &theirs : copy.games()) {
        const std::optional<Game> ours = find(theirs.key);
        Game here;
        here.key = theirs.key;
        if (ours)
            here = *ours;
        if (theirs.launches <= here.launches && theirs.seconds <= here.seconds &&
            (!theirs.lastPlayed.isValid() ||
             (here.lastPlayed.isValid() && theirs.lastPlayed <= here.lastPlayed)) &&
            (!theirs.favourite || here.favourite))
            continue;
        Change &change = this->change(theirs.key);
        change.launches += std::max(0, theirs.launches - here.launches);
        change.seconds += std::max<qint64>(0, theirs.seconds - here.seconds);
        if (theirs.lastPlayed.isValid() &&
            (!here.lastPlayed.isValid() || theirs.lastPlayed > here.lastPlayed))
            change.lastPlayed = theirs.lastPlayed;
        if (theirs.favourite && !here.favourite)
            change.favourite = true;
    }
}

qsizetype PlayHistory::count() const
{
    qsizetype total = qsizetype(index_.games.size());
    for (const Change &change : changes_)
        total += renamed_.locate(index_, history::keyOf(change.key)) < 0;
    return total;
}

PlayHistory::Placed PlayHistory::placedChanges() const
{
    Placed changes;
    for (const Change &change : changes_) {
        const qsizetype game = renamed_.locate(index_, history::keyOf(change.key));
        if (game < 0)
            changes.added.push_back(&change);
        else
            changes.placed.emplace(game, &change);
    }
    return changes;
}

std::vector<PlayHistory::Game> PlayHistory::games() const
{
    const auto [placed, added] = placedChanges();
    std::vector<Game> games;
    games.reserve(index_.games.size() + added.size());
    for (size_t game = 0; game < index_.games.size(); ++game) {
        const auto change = placed.find(qsizetype(game));
        games.push_back(gameAt(qsizetype(game), change == placed.end() ? nullptr : change->second));
    }
    for (const Change *change : added)
        games.push_back(gameAt(-1, change));
    return games;
}

std::vector<QByteArray> PlayHistory::unreadLines() const
{
    std::vector<QByteArray> lines;
    for (const Index::Line line : index_.unread)
        lines.push_back(index_.line(line).toByteArray());
    return lines;
}

std::vector<PlayHistory::Played> PlayHistory::newestFirst(size_t wanted) const
{
    const auto [placed, added] = placedChanges();
    const auto newer = [](const Played &a, const Played &b) {
        return a.when != b.when ? a.when > b.when : a.order < b.order;
    };
    const auto baseCount = qsizetype(index_.games.size());
    // A few asked of many: only they are kept, in a heap whose top is the oldest of them.
    const bool few = wanted < size_t(baseCount) / 8;
    std::vector<Played> played;
    const auto take = [&](const Played &game) {
        if (!few) {
            played.push_back(game);
        } else if (played.size() < wanted) {
            played.push_back(game);
            std::push_heap(played.begin(), played.end(), newer);
        } else if (wanted > 0 && newer(game, played.front())) {
            std::pop_heap(played.begin(), played.end(), newer);
            played.back() = game;
            std::push_heap(played.begin(), played.end(), newer);
        }
    };
    for (qsizetype game = 0; game < baseCount; ++game) {
        const auto change = placed.empty() ? placed.end() : placed.find(game);
        const Change *changed = change == placed.end() ? nullptr : change->second;
        if (changed != nullptr && changed->lastPlayed.isValid()) {
            take({changed->lastPlayed.toMSecsSinceEpoch(), game, changed});
            continue;
        }
        history::Fields fields;
        split(index_.line(index_.games[size_t(game)]), fields);
        if (const auto when = instantOf(fields.date))
            take({*when, game, changed});
    }
    for (size_t i = 0; i < added.size(); ++i) {
        if (added[i]->lastPlayed.isValid())
            take({added[i]->lastPlayed.toMSecsSinceEpoch(), baseCount + qsizetype(i), added[i]});
    }
    const size_t kept = std::min(played.size(), wanted);
    std::partial_sort(played.begin(), played.begin() + qsizetype(kept), played.end(), newer);
    played.resize(kept);
    return played;
}

std::vector<PlayHistory::Game> PlayHistory::recent(int count) const
{
    const std::vector<Played> played = newestFirst(size_t(std::max(count, 0)));
    const auto baseCount = qsizetype(index_.games.size());
    std::vector<Game> games;
    games.reserve(played.size());
    for (const Played &game : played)
        games.push_back(gameAt(game.order < baseCount ? game.order : -1, game.change));
    return games;
}

void PlayHistory::visitRecent(const std::function<bool(const Game &)> &take) const
{
    // The order costs a date a game; a game's texts are decoded only when it is handed out.
    const auto baseCount = qsizetype(index_.games.size());
    for (const Played &game : newestFirst(std::numeric_limits<size_t>::max())) {
        if (!take(gameAt(game.order < baseCount ? game.order : -1, game.change)))
            return;
    }
}

QString PlayHistory::describe(const std::optional<Game> &game)
{
    if (!game || game->launches == 0)
        return CoreText::tr("Never played");
    const qint64 minutes = game->seconds / 60;
    const QString time =
        minutes >= 60 ? CoreText::tr("%1 h %2 min").arg(LocalNumber(minutes / 60)).arg(minutes % 60)
                      : CoreText::tr("%1 min").arg(LocalNumber(minutes));
    // The date in the player's language, in the order the translation gives.
    const QString date =
        QLocale().toString(game->lastPlayed.toLocalTime().date(), CoreText::tr("d MMM yyyy"));
    return CoreText::tr("Played %n times, %1 in all, last on %2", nullptr, int(game->launches))
        .arg(time, date);
}

} // namespace zanku
