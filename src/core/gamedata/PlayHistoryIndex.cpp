#include "core/gamedata/PlayHistoryIndex.h"

#include "core/gamedata/PlayHistoryLine.h"

#include <QString>

#include <algorithm>

namespace zanku::history {

void Index::build(QByteArray content)
{
    bytes = std::move(content);
    games.clear();
    unread.clear();
    superseded.clear();
    oddKeys.clear();
    const char *const data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype at = bytes.startsWith(Utf8Bom) ? 3 : 0;
    // Room for every line at once, as the first lines foretell: a large history is not held
    // twice while it grows.
    const qsizetype sample = std::min<qsizetype>(size - at, 256 * 1024);
    const size_t lines = size_t(double(std::count(data + at, data + at + sample, '\n')) * 1.05 *
                                double(size - at) / double(std::max<qsizetype>(sample, 1))) +
                         16;
    games.reserve(lines);
    size_t room = 16;
    while (room < lines * 2)
        room *= 2;
    places.assign(room, 0);
    // Most files are UTF-8 throughout, and then so is each line.
    const bool checkUtf8 = !QByteArrayView(bytes).isValidUtf8();
    // A game's place in the table is looked up a few lines after its line is read, so that
    // fetching it from memory overlaps reading the next lines.
    constexpr size_t Ahead = 8;
    Taken ahead[Ahead], read;
    size_t taken = 0;
    const char *newline = nullptr;
    while (at < size) {
        if (newline == nullptr || newline < data + at) {
            newline = static_cast<const char *>(std::memchr(data + at, '\n', size_t(size - at)));
            if (newline == nullptr)
                newline = data + size;
        }
        const auto *cr =
            static_cast<const char *>(std::memchr(data + at, '\r', size_t(newline - data - at)));
        const qsizetype end = (cr != nullptr ? cr : newline) - data;
        if (take({uint32_t(at), uint32_t(end - at)}, checkUtf8, read)) {
            __builtin_prefetch(&places[read.hash & (places.size() - 1)]);
            Taken &slot = ahead[taken++ % Ahead];
            if (taken > Ahead)
                add(slot);
            std::swap(slot, read);
        }
        at = end + std::max<qsizetype>(endOfLine(bytes, end), 1);
    }
    for (size_t i = taken > Ahead ? taken - Ahead : 0; i < taken; ++i)
        add(ahead[i % Ahead]);
}

QByteArrayView Index::keyOf(uint32_t game) const
{
    if (!oddKeys.isEmpty()) {
        if (const auto odd = oddKeys.constFind(game); odd != oddKeys.cend())
            return *odd;
    }
    return keyOfLine(games[game]);
}

QByteArrayView Index::keyOfLine(Line line) const
{
    Fields fields;
    split(this->line(line), fields);
    return fields.texts;
}

qsizetype Index::lookup(QByteArrayView key, uint32_t hash) const
{
    if (places.empty())
        return -1;
    const size_t mask = places.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        const uint64_t taken = places[at];
        if (taken == 0)
            return -1;
        const auto game = uint32_t(taken) - 1;
        if (uint32_t(taken >> 32) == hash && keyOf(game) == key)
            return game;
    }
}

void Index::grow()
{
    std::vector<uint64_t> old(places.size() * 2, 0);
    old.swap(places);
    const size_t mask = places.size() - 1;
    for (const uint64_t taken : old) {
        if (taken == 0)
            continue;
        size_t at = (taken >> 32) & mask;
        while (places[at] != 0)
            at = (at + 1) & mask;
        places[at] = taken;
    }
}

bool Index::take(Line line, bool checkUtf8, Taken &taken)
{
    if (line.size == 0)
        return false;
    Fields fields;
    const QByteArrayView text = this->line(line);
    const char *starts[3];
    if (!split(text, fields) || !readable(fields, checkUtf8, text, starts)) {
        unread.push_back(line);
        return false;
    }
    taken.line = line;
    taken.odd.clear();
    // A text read from the file is not always the bytes it is written again as: an escape
    // this program would not write, or a byte order mark, which decoding drops.
    const char *const end = fields.texts.data() + fields.texts.size();
    const bool marked = std::any_of(std::begin(starts), std::end(starts), [&](const char *start) {
        return QByteArrayView(start, end - start).startsWith(Utf8Bom);
    });
    if (marked || (std::memchr(fields.texts.data(), '\\', size_t(fields.texts.size())) != nullptr &&
                   !plainlyEscaped(fields.texts))) {
        QString emulator, name, file;
        textsOf(fields.texts, emulator, name, file);
        taken.odd = history::keyOf(emulator, name, file);
    }
    taken.hash = hashOf(taken.odd.isNull() ? fields.texts : QByteArrayView(taken.odd));
    return true;
}

void Index::add(Taken &taken)
{
    const auto sameKey = [&](uint32_t game) {
        return keyOf(game) ==
               (taken.odd.isNull() ? keyOfLine(taken.line) : QByteArrayView(taken.odd));
    };
    const size_t mask = places.size() - 1;
    size_t at = taken.hash & mask;
    for (; places[at] != 0; at = (at + 1) & mask) {
        const auto game = uint32_t(places[at]) - 1;
        if (uint32_t(places[at] >> 32) == taken.hash && sameKey(game)) {
            // Read again further down: the later line is the game's.
            superseded.emplace_back(game, games[game]);
            games[game] = taken.line;
            if (taken.odd.isNull())
                oddKeys.remove(game);
            else
                oddKeys.insert(game, std::move(taken.odd));
            return;
        }
    }
    const auto game = uint32_t(games.size());
    games.push_back(taken.line);
    if (!taken.odd.isNull())
        oddKeys.insert(game, std::move(taken.odd));
    places[at] = uint64_t(taken.hash) << 32 | (game + 1);
    if (games.size() * 2 > places.size())
        grow();
}

void Index::follow(QByteArray merged, const Merge &merge)
{
    bytes = std::move(merged);
    // The games' lines are in the file's order: each moves by what the lines before grew.
    qint64 moved = 0;
    auto resized = merge.resized.begin();
    for (size_t game = 0; game < games.size(); ++game) {
        games[game].at = uint32_t(games[game].at + moved);
        if (resized != merge.resized.end() && resized->first == game) {
            moved += qint64(resized->second) - games[game].size;
            games[game].size = resized->second;
            ++resized;
        }
    }
    for (const auto &[line, hash] : merge.added) {
        Taken taken{line, hash, {}};
        add(taken);
    }
}

} // namespace zanku::history
