#pragma once

#include "core/records/Records.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <unordered_map>
#include <vector>

// The catalogue's games, kept compactly, since a large library holds hundreds of
// thousands: a game's name and file are strings of its own, while its destination, options
// and type, which repeat from game to game, are numbers into one table of the values met.
// A game takes 72 bytes here where a GameRecord takes 128.
class GameTable {
public:
    size_t size() const { return games_.size(); }
    void reserve(size_t games) { games_.reserve(games); }

    void add(const GameRecord &game);
    // The same from the fields of a list's line, each value made a string once.
    void add(QStringView name, QStringView file, QStringView destination, QStringView options,
             QStringView type, int emulator, bool zipped, GameArchive archive);

    // The game at `at` whole; throws std::out_of_range past the end.
    GameRecord record(size_t at) const;
    const QString &name(size_t at) const { return games_.at(at).name; }
    const QString &file(size_t at) const { return games_.at(at).file; }
    const QString &type(size_t at) const { return values_[games_.at(at).type]; }
    int emulator(size_t at) const { return games_.at(at).emulator; }

private:
    struct Game {
        QString name, file;
        quint32 destination = 0, options = 0, type = 0; // in values_
        qint32 emulator = 0;
        bool zipped = false;
        GameArchive archive = GameArchive::Zip;
    };
    // The value's number, one made for a value not met before. `last` is the number this
    // field had in the game before: a list's games mostly share theirs, and comparing
    // with it costs less than a look-up.
    quint32 valueOf(QStringView value, quint32 &last);

    struct Hash {
        using is_transparent = void;
        size_t operator()(QStringView text) const noexcept { return qHash(text); }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
    };
    std::vector<Game> games_;
    std::vector<QString> values_{QString()}; // 0: empty
    std::unordered_map<QString, quint32, Hash, Equal> valueIndex_;
    quint32 lastDestination_ = 0, lastOptions_ = 0, lastType_ = 0;
};
