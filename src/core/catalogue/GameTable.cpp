#include "core/catalogue/GameTable.h"

#include <algorithm>

quint32 GameTable::valueOf(QStringView value, quint32 &last)
{
    if (value.isEmpty())
        return 0;
    if (values_[last] == value)
        return last;
    if (const auto known = valueIndex_.find(value); known != valueIndex_.end())
        return last = known->second;
    last = quint32(values_.size());
    values_.push_back(value.toString());
    valueIndex_.emplace(values_.back(), last);
    return last;
}

const char16_t *GameTable::keep(QStringView text)
{
    // Blocks of a quarter of a megabyte: few allocations, and little left unused.
    constexpr size_t ChunkCharacters = 128 * 1024;
    const auto size = size_t(text.size());
    if (size == 0)
        return nullptr;
    if (size > room_) {
        room_ = std::max(ChunkCharacters, size);
        chunks_.push_back(std::make_unique_for_overwrite<char16_t[]>(room_));
        free_ = chunks_.back().get();
    }
    char16_t *const kept = std::copy_n(text.utf16(), size, free_) - size;
    free_ += size;
    room_ -= size;
    return kept;
}

void GameTable::add(QStringView name, QStringView file, QStringView destination,
                    QStringView options, QStringView type, int emulator, bool zipped,
                    GameArchive archive)
{
    games_.push_back({keep(name), keep(file), quint32(name.size()), quint32(file.size()),
                      valueOf(destination, lastDestination_), valueOf(options, lastOptions_),
                      valueOf(type, lastType_), emulator, zipped, archive});
}

void GameTable::add(const GameRecord &game)
{
    add(game.Name, game.File, game.DestinationDir, game.Options, game.Type, game.EmulatorIndex,
        game.Zipped, game.Archive);
}

GameRecord GameTable::record(size_t at) const
{
    const Game &game = games_.at(at);
    return {name(at).toString(),   file(at).toString(), values_[game.destination],
            values_[game.options], values_[game.type],  game.emulator,
            game.zipped,           game.archive};
}
