#pragma once

// One line of "Zanku.played", as PlayHistory.h describes it: reading its numbers, date and
// texts, the key a game is looked up by, and writing a game's line.

#include "core/gamedata/PlayHistory.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtAlgorithms>

#include <cstdint>
#include <cstring>
#include <optional>

namespace zanku::history {

inline constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

// A line's four numbers and its texts; false when it has fewer than four spaces.
struct Fields {
    QByteArrayView launches, seconds, date, favourite, texts;
};

// The first space from `at`, or `end`: eight bytes at a time, as the numbers are short
// and memchr's set-up would cost more.
inline const char *firstSpace(const char *at, const char *end)
{
    constexpr uint64_t Ones = 0x0101010101010101ULL, Highs = 0x8080808080808080ULL;
    for (; end - at >= 8; at += 8) {
        uint64_t word;
        std::memcpy(&word, at, 8);
        word ^= Ones * ' ';
        // The lowest byte flagged is the first that was a space.
        if (const uint64_t spaces = (word - Ones) & ~word & Highs)
            return at + (qCountTrailingZeroBits(spaces) / 8);
    }
    while (at != end && *at != ' ')
        ++at;
    return at;
}

// Inline, as every line of a load and of recent() is split.
inline bool split(QByteArrayView line, Fields &fields)
{
    QByteArrayView *const numbers[] = {&fields.launches, &fields.seconds, &fields.date,
                                       &fields.favourite};
    const char *at = line.data();
    const char *const end = at + line.size();
    for (QByteArrayView *number : numbers) {
        const char *const space = firstSpace(at, end);
        if (space == end)
            return false;
        *number = QByteArrayView(at, space - at);
        at = space + 1;
    }
    fields.texts = QByteArrayView(at, end - at);
    return true;
}

// How many bytes end the line that ends at `end`.
inline qsizetype endOfLine(QByteArrayView bytes, qsizetype end)
{
    if (end >= bytes.size())
        return 0;
    return bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
}

// Whether the line is one of the history; `starts` then has where its three texts begin.
bool readable(const Fields &fields, bool checkUtf8, QByteArrayView line, const char *(&starts)[3]);

// A game's key: its three texts as this program writes them, so that a line is looked up
// by its own bytes.
QByteArray keyOf(const QString &emulator, const QString &name, const QString &file);
inline QByteArray keyOf(const GameKey &game)
{
    return keyOf(game.emulator, game.name, game.file);
}
// Whether the texts are escaped as keyOf() escapes them.
bool plainlyEscaped(QByteArrayView texts);
// The three texts of a line.
void textsOf(QByteArrayView texts, QString &emulator, QString &name, QString &file);

// A game as its line has it.
void readStats(QByteArrayView line, PlayHistory::Game &game);
// When a game was last played, in milliseconds since 1970; none for "-".
std::optional<qint64> instantOf(QByteArrayView text);
// A game's line, of these texts as the file has them.
QByteArray lineOf(const PlayHistory::Game &game, QByteArrayView texts);

} // namespace zanku::history
