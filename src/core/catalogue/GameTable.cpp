#include "core/catalogue/GameTable.h"

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

void GameTable::add(QStringView name, QStringView file, QStringView destination,
                    QStringView options, QStringView type, int emulator, bool zipped,
                    GameArchive archive)
{
    games_.push_back({name.toString(), file.toString(), valueOf(destination, lastDestination_),
                      valueOf(options, lastOptions_), valueOf(type, lastType_), emulator, zipped,
                      archive});
}

void GameTable::add(const GameRecord &game)
{
    games_.push_back({game.Name, game.File, valueOf(game.DestinationDir, lastDestination_),
                      valueOf(game.Options, lastOptions_), valueOf(game.Type, lastType_),
                      game.EmulatorIndex, game.Zipped, game.Archive});
}

GameRecord GameTable::record(size_t at) const
{
    const Game &game = games_.at(at);
    return {game.name,
            game.file,
            values_[game.destination],
            values_[game.options],
            values_[game.type],
            game.emulator,
            game.zipped,
            game.archive};
}
