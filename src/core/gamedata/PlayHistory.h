#pragma once

#include "core/common/ProgramFiles.h"

#include "core/gamedata/PlayHistoryIndex.h"
#include "core/records/GameKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zanku {

class PlayHistorySave;

// What was played: for each game (its emulator, name and file together) how often it was
// launched, how long it was played (from its emulator's start to its end; a run whose end
// the program did not see adds nothing), when it was last played, and whether it is a
// favourite. Kept in "Zanku.played" in the program directory, UTF-8, one game a line:
//
//   <launches> <seconds> <last played, UTC, ISO 8601 or -> <favourite 0|1>
//   <emulator>\t<name>\t<file>
//
// a tab or a backslash in a text written as \t or \\. A line that cannot be read (not
// UTF-8, or not of this form) is skipped, and written back byte for byte.
//
// Several Zanku may share one program directory: a save re-reads the file under a lock
// and adds only what this program changed since, so no launch or favourite is lost. Only
// the lines of the games changed are written anew; the others keep their bytes.
class PlayHistory {
public:
    struct Game {
        GameKey key;
        int launches = 0;
        qint64 seconds = 0;
        QDateTime lastPlayed; // invalid: never
        bool favourite = false;
    };

    static constexpr auto FileName = own::History;
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    // Reads the file of this program directory; none is an empty history. A file that is
    // there but cannot be read (too large, not a file, not permitted) is never replaced:
    // the history is then read-only for the session, and readError() says why.
    void load(const QString &programDir);
    // Merges what was changed here since the last load or save into the file as it is
    // now, under a lock; the history then shows the merged file. False with `error` when
    // nothing was written; what changed is kept for the next save.
    bool save(QString *error = nullptr);
    // The end of a save run on another thread (PlayHistorySave): the history then shows the
    // file as saved, and what changed since the save began stays to be saved. False with
    // `error` when nothing was written; what changed is kept for the next save.
    bool finishSave(PlayHistorySave &save, QString *error = nullptr);
    // Whether anything changed here is not in the file yet.
    bool hasChanges() const { return !changes_.empty() || !renames_.empty(); }

    bool readOnly() const { return !readError_.isEmpty(); }
    const QString &readError() const { return readError_; }
    const QString &path() const { return path_; }
    // How many games the history has; costs nothing.
    qsizetype count() const;
    // Every game of the history, in the file's order, each made from its line: for tests
    // and small histories.
    std::vector<Game> games() const;
    // The lines that could not be read, as they are in the file.
    std::vector<QByteArray> unreadLines() const;

    std::optional<Game> find(const GameKey &game) const;
    void launched(const GameKey &game, const QDateTime &when);
    void played(const GameKey &game, qint64 seconds);
    void setFavourite(const GameKey &game, bool on);
    // A game renamed in its list keeps what it played; with `toEmulator`, it moves to that
    // emulator too.
    void rename(const QString &emulator, const QString &file, const QString &from,
                const QString &to, const QString &toEmulator = {});
    // An emulator renamed keeps what its games played. False when it had none.
    bool renameEmulator(const QString &from, const QString &to);

    // What another copy of the file holds (a synchroniser's conflict copy), merged in as
    // changes of this program: for each game the larger count and time, the later date,
    // a star from either.
    void mergeCopy(const PlayHistory &copy);

    // The `count` games last played, newest first.
    std::vector<Game> recent(int count) const;
    // Hands the games played to `take`, newest first, until it returns false: one pass
    // over the history however far the caller has to look.
    void visitRecent(const std::function<bool(const Game &)> &take) const;

    // "Played 3 times, 2 h 14 min in all, last on 5 Dec 2026", or "Never played".
    static QString describe(const std::optional<Game> &game);

    // The history a file of these bytes holds, as load() reads it.
    static PlayHistory parse(QByteArrayView content);
    // The file's bytes for this history.
    QByteArray format() const;

private:
    friend class PlayHistorySave;

    // The file as last read or saved, and where its games are.
    using Index = history::Index;
    // The renames made here, as they fall on one file's games.
    struct Renamed {
        struct To {
            qsizetype game;
            QString emulator, name, file;
        };
        QHash<QByteArray, To> byKey;
        QHash<qsizetype, QByteArray> keyOf; // of a game renamed
        qsizetype locate(const Index &index, const QByteArray &key) const;
    };
    // What this program changed in a game since the last load or save.
    struct Change {
        GameKey key;
        int launches = 0;
        qint64 seconds = 0;
        QDateTime lastPlayed;
        std::optional<bool> favourite;

        // Shown here, a launch's date is the last one's; merged into the file, the later
        // of the two is kept.
        void applyTo(Game &game, bool merging) const;
        // What is left once `written` (this change as it was earlier) is in the file.
        void forget(const Change &written);
        bool isEmpty() const
        {
            return launches == 0 && seconds == 0 && !lastPlayed.isValid() && !favourite;
        }
    };
    struct Rename {
        QString emulator, file, from, to, toEmulator;
    };

    // What a merge rewrites, in PlayHistoryMerge.cpp.
    struct Merging;

    // This program's changes: those on a game of the file, by that game; the others, new.
    struct Placed {
        std::unordered_map<qsizetype, const Change *> placed;
        std::vector<const Change *> added;
    };
    Placed placedChanges() const;
    // The games played, the `wanted` newest, newest first.
    struct Played {
        qint64 when;
        qsizetype order; // the games' own order among those played at once
        const Change *change;
    };
    std::vector<Played> newestFirst(size_t wanted) const;
    Renamed resolve(const Index &index) const;
    const Change *changeOf(const QByteArray &key) const;
    Change &change(const GameKey &game);
    Game gameAt(qsizetype game, const Change *change) const;
    // The file's bytes with this program's changes merged in; `merge`, when given, learns
    // whether the index can follow them without reading the result anew.
    QByteArray merged(const Index &index, Index::Merge *merge = nullptr) const;

    QString path_;
    QString readError_;
    Index index_;
    Renamed renamed_; // resolve(index_), kept up to date
    std::vector<Change> changes_;
    QHash<QByteArray, size_t> changeIndex_; // by key
    std::vector<Rename> renames_;
};

} // namespace zanku
