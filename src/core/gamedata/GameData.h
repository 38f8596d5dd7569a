#pragma once

#include "core/common/BackgroundWork.h"
#include "core/gamedata/PlayHistory.h"
#include "core/gamedata/PlayerChoices.h"
#include "core/records/GameKey.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace zanku {

// Everything the player made of each game, kept beside the catalogue and never in its
// files: what was played and the stars ("Zanku.played"), the emulator a game always
// launches with and the collections ("Zanku.choices"). Every game is named by its key, as
// the catalogue listed it. Each change is saved at once, merged with what another Zanku
// saved meanwhile; the history is saved on a worker, so a launch or a star never waits for
// a long history's file, and what is still being saved is saved before a load and at the
// end.
class PlayHistorySave;

class GameData : public QObject {
    Q_OBJECT
public:
    explicit GameData(QObject *parent = nullptr);
    ~GameData() override;

    // Reads both files of the program directory, then merges in the conflict copies a file
    // synchroniser left beside them; a copy is removed once its merge is saved.
    void load(const QString &programDir);
    // Waits for the history's save under way, then saves what changed since: everything
    // played and starred is in the file when it returns (or was told as not saved).
    void flush();

    const PlayHistory &history() const { return history_; }
    std::optional<PlayHistory::Game> played(const GameKey &game) const;
    bool isFavourite(const GameKey &game) const;
    void setFavourite(const GameKey &game, bool favourite);
    // A launch now, and the time its run took once it ended.
    void launched(const GameKey &game);
    void ended(const GameKey &game, qint64 seconds);

    // The emulator the game launches with when none is named: empty for its own.
    QString launchWith(const GameKey &game) const;
    void setLaunchWith(const GameKey &game, const QString &emulator);

    const QStringList &collections() const { return choices_.collections(); }
    QStringList collectionsOf(const GameKey &game) const;
    bool isIn(const GameKey &game, const QString &collection) const;
    void addToCollection(const GameKey &game, const QString &collection);
    void removeFromCollection(const GameKey &game, const QString &collection);
    bool renameCollection(const QString &from, const QString &to);
    void deleteCollection(const QString &name);

    // A game renamed in its list while the catalogue still shows the old name: what it
    // played and its choices go with it, and the old key still reaches them until the
    // catalogue is read again.
    void renameGame(const QString &emulator, const QString &file, const QString &from,
                    const QString &to);
    void renameEmulator(const QString &from, const QString &to);
    // The key the catalogue still shows a game by, of the key its data is kept under.
    GameKey shownKey(const GameKey &kept) const;
    // The catalogue was read again: its keys carry the new names.
    void catalogueRead()
    {
        renamedSinceLoad_.clear();
        shownSinceLoad_.clear();
    }

signals:
    // What was played or chosen changed.
    void changed();
    // Something the player must be told, in a box with this title.
    void notice(const QString &title, const QString &text);

private:
    // The key a game's data is kept under: its new name when its list renamed it since the
    // catalogue was read.
    GameKey dataKey(const GameKey &game) const;
    void mergeConflictCopies(const QString &programDir);
    void saveHistory();
    void startHistorySave();
    void historySaved();
    void saveChoices();

    PlayHistory history_;
    std::unique_ptr<PlayHistorySave> historySave_; // under way on historyWork_
    bool saveAgain_ = false;                       // a change came while it ran
    BackgroundWork historyWork_{this};
    PlayerChoices choices_;
    bool historyWarned_ = false;
    bool choicesWarned_ = false;
    QHash<GameKey, QString> renamedSinceLoad_;
    QHash<GameKey, GameKey> shownSinceLoad_; // the other way: the shown key of a kept one
};

} // namespace zanku
