#pragma once

#include <QHashFunctions>
#include <QMetaType>
#include <QString>

namespace zanku {

// Which game is meant, in every layer: its emulator's name, its Name and its File, as
// the catalogue listed them. Windows and the core pass keys (or slots), never the text of
// a grid's cells; the history keeps what was played under the same three texts.
struct GameKey {
    QString emulator;
    QString name;
    QString file;

    // No game: nothing chosen.
    bool isNull() const { return emulator.isEmpty() && name.isEmpty() && file.isEmpty(); }

    friend bool operator==(const GameKey &, const GameKey &) = default;
    friend size_t qHash(const GameKey &key, size_t seed = 0)
    {
        return qHashMulti(seed, key.emulator, key.name, key.file);
    }
};

} // namespace zanku

Q_DECLARE_METATYPE(zanku::GameKey)
