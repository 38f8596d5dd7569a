#pragma once

#include "core/records/Records.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <unordered_map>
#include <vector>

// The catalogue's games, kept compactly, since a large library holds hundreds of
// thousands: a game's name and file are characters in large blocks the table owns (no
// string, no allocation of their own), while its destination, options and type, which
// repeat from game to game, are numbers into one table of the values met. A game takes
// 48 bytes here and its characters, where a GameRecord takes 128 and four allocations.
// The names and files are seen through views valid as long as the table: a text kept
// beyond it is copied out (toString()).
class GameTable {
public:
    GameTable() = default;
    GameTable(GameTable &&) = default;
    GameTable &operator=(GameTable &&) = default;
    GameTable(const GameTable &) = delete; // its views would see the other's characters
    GameTable &operator=(const GameTable &) = delete;

    size_t size() const { return games_.size(); }
    void reserve(size_t games) { games_.reserve(games); }

    void add(const GameRecord &game);
    // The same from the fields of a list's line, each value made a string once.
    void add(QStringView name, QStringView file, QStringView destination, QStringView options,
             QStringView type, int emulator, bool zipped, GameArchive archive);

    // The game at `at` whole; throws std::out_of_range past the end.
    GameRecord record(size_t at) const;
    QStringView name(size_t at) const
    {
        const Game &game = games_.at(at);
        return {game.name, game.nameSize};
    }
    QStringView file(size_t at) const
    {
        const Game &game = games_.at(at);
        return {game.file, game.fileSize};
    }
    const QString &type(size_t at) const { return values_[games_.at(at).type]; }
    int emulator(size_t at) const { return games_.at(at).emulator; }

private:
    struct Game {
        const char16_t *name = nullptr, *file = nullptr; // in chunks_
        quint32 nameSize = 0, fileSize = 0;
        quint32 destination = 0, options = 0, type = 0; // in values_
        qint32 emulator = 0;
        bool zipped = false;
        GameArchive archive = GameArchive::Zip;
    };
    // The value's number, one made for a value not met before. `last` is the number this
    // field had in the game before: a list's games mostly share theirs, and comparing
    // with it costs less than a look-up.
    quint32 valueOf(QStringView value, quint32 &last);
    // A copy of the text's characters in the current block, or in a new one.
    const char16_t *keep(QStringView text);

    struct Hash {
        using is_transparent = void;
        size_t operator()(QStringView text) const noexcept { return qHash(text); }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
    };
    std::vector<Game> games_;
    std::vector<std::unique_ptr<char16_t[]>> chunks_;
    char16_t *free_ = nullptr; // room left in the last block
    size_t room_ = 0;
    std::vector<QString> values_{QString()}; // 0: empty
    std::unordered_map<QString, quint32, Hash, Equal> valueIndex_;
    quint32 lastDestination_ = 0, lastOptions_ = 0, lastType_ = 0;
};
