#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace zanku {

// What was played: for each game (its emulator, name and file together) how often it was
// launched, how long it was played (from its emulator's start to its end; a run whose end
// the program did not see adds nothing), when it was last played, and whether it is a
// favourite. Kept in "Zanku.played" in the program directory, UTF-8, one game a line:
//
//   <launches> <seconds> <last played, UTC, ISO 8601 or -> <favourite 0|1>
//   <emulator>\t<name>\t<file>
//
// a tab or a backslash in a text written as \t or \\. A line that cannot be read is
// skipped, and written back as it was.
class PlayHistory {
public:
    struct Game {
        QString emulator, name, file;
        int launches = 0;
        qint64 seconds = 0;
        QDateTime lastPlayed; // invalid: never
        bool favourite = false;
    };

    static constexpr auto FileName = "Zanku.played";

    // Reads the file of this program directory; none is an empty history.
    void load(const QString &programDir);
    // Writes it in one step; false with `error` when it cannot.
    bool save(QString *error = nullptr) const;

    const Game *find(const QString &emulator, const QString &name, const QString &file) const;
    void launched(const QString &emulator, const QString &name, const QString &file,
                  const QDateTime &when);
    void played(const QString &emulator, const QString &name, const QString &file, qint64 seconds);
    void setFavourite(const QString &emulator, const QString &name, const QString &file, bool on);
    // A game renamed in its list keeps what it played.
    void rename(const QString &emulator, const QString &file, const QString &from,
                const QString &to);

    // The games last played, newest first.
    std::vector<const Game *> recent(int count) const;

    // "Played 3 times, 2 h 14 min in all, last on 5 Dec 2026", or "Never played".
    static QString describe(const Game *game);

private:
    Game &entry(const QString &emulator, const QString &name, const QString &file);
    static QString keyOf(const QString &emulator, const QString &name, const QString &file);

    QString path_;
    std::vector<Game> games_;
    QHash<QString, size_t> index_; // by key, into games_
    QStringList unread_;           // lines that could not be read, kept as they were
};

} // namespace zanku
