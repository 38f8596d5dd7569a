#pragma once

// Where the games of a "Zanku.played" are in its bytes, for PlayHistory.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace zanku::history {

// A key's place in the index's table. Eight bytes at a time: most of a load is spent here
// and on the table.
inline uint32_t hashOf(QByteArrayView key)
{
    const char *at = key.data();
    const auto size = size_t(key.size());
    uint64_t hash = 0x9e3779b97f4a7c15ULL ^ size;
    uint64_t word = 0;
    for (size_t left = size; left >= 8; left -= 8, at += 8) {
        std::memcpy(&word, at, 8);
        hash = (hash ^ word) * 0xff51afd7ed558ccdULL;
        hash ^= hash >> 29;
    }
    word = 0;
    if (size >= 8) // the last eight bytes, some of them hashed already
        std::memcpy(&word, key.data() + size - 8, 8);
    else
        for (size_t i = 0; i < size; ++i)
            word |= uint64_t(uint8_t(at[i])) << (8 * i);
    hash = (hash ^ word) * 0xc4ceb9fe1a85ec53ULL;
    hash ^= hash >> 32;
    hash *= 0xff51afd7ed558ccdULL;
    return uint32_t(hash >> 32);
}

// A file's bytes, kept as read, and where its games are: a game is made from its line
// only when it is asked for.
struct Index {
    struct Line {
        uint32_t at = 0, size = 0;
    };
    QByteArray bytes;
    // Each game's line, in the order the games first appear; a game written twice is
    // read from its last line.
    std::vector<Line> games;
    // Open addressing by the key's hash: hash << 32 | (game + 1), 0 free.
    std::vector<uint64_t> places;
    std::vector<Line> unread;
    // Lines of a game superseded by a later line of it.
    std::vector<std::pair<uint32_t, Line>> superseded;
    // The key of a game whose line escapes it otherwise than this program would.
    QHash<uint32_t, QByteArray> oddKeys;

    void build(QByteArray content);
    qsizetype lookup(QByteArrayView key, uint32_t hash) const;
    QByteArrayView line(Line line) const
    {
        return QByteArrayView(bytes).sliced(line.at, line.size);
    }
    QByteArrayView keyOf(uint32_t game) const;
    // A line read, its game not yet in the table.
    struct Taken {
        Line line;
        uint32_t hash = 0;
        QByteArray odd; // its key, when the line escapes it otherwise
    };
    bool take(Line line, bool checkUtf8, Taken &taken); // false: not a game
    void add(Taken &taken);
    QByteArrayView keyOfLine(Line line) const;
    void grow();
    // What a merge that only rewrote lines of games in their places and added others did.
    struct Merge {
        bool inPlace = false;
        std::vector<std::pair<uint32_t, uint32_t>> resized; // a game's line and its new size
        std::vector<std::pair<Line, uint32_t>> added;       // a new game's line and key's hash
    };
    // Follows such a merge.
    void follow(QByteArray merged, const Merge &merge);
};

} // namespace zanku::history
