#pragma once

#include "core/common/ProgramFiles.h"

#include "core/records/GameKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace zanku {

// What the player chose for games, beyond the star: the emulator a game always launches
// with, and the collections ("Couch Co-op", "Finished") games are grouped into. Kept in
// "Zanku.choices" in the program directory, UTF-8, one entry a line, texts separated by
// tabs (a tab, a line end or a backslash in a text written as \t, \n, \r or \\):
//
//   collection <name>
//   in <collection> <emulator> <name> <file>
//   with <emulator> <name> <file> <emulator to launch with>
//
// A line of any other kind is kept as it is, byte for byte, after the others.
//
// Several Zanku may share one program directory: each change is kept as an operation, and a
// save re-reads the file under a lock and applies this program's operations to it, so two
// Zanku adding games to collections at once both keep theirs.
class PlayerChoices {
public:
    static constexpr auto FileName = own::Choices;
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Reads the file of this program directory; none is no choices. A file that cannot be
    // read is never replaced: the choices are then read-only for the session.
    void load(const QString &programDir);
    // Applies this program's changes to the file as it is now, under a lock. False with
    // `error` when nothing was written; the changes are kept for the next save.
    bool save(QString *error = nullptr);
    bool readOnly() const { return !readError_.isEmpty(); }
    const QString &readError() const { return readError_; }
    const QString &path() const { return path_; }
    bool hasChanges() const { return !pending_.empty(); }

    // The emulator the game launches with; empty for its own.
    QString launchWith(const GameKey &game) const;
    void setLaunchWith(const GameKey &game, const QString &emulator);

    // The collections, in the order they were made.
    const QStringList &collections() const { return state_.collections; }
    QStringList collectionsOf(const GameKey &game) const;
    bool contains(const QString &collection, const GameKey &game) const;
    // Makes the collection when it is not there yet.
    void add(const QString &collection, const GameKey &game);
    void remove(const QString &collection, const GameKey &game);
    void makeCollection(const QString &name);
    // False when `to` is taken or `from` is not a collection.
    bool renameCollection(const QString &from, const QString &to);
    void deleteCollection(const QString &name);

    // A game renamed in its list (and moved to `toEmulator`, when given) keeps its choices.
    void renameGame(const QString &emulator, const QString &file, const QString &from,
                    const QString &to);
    // An emulator renamed: its games and the games launched with it follow.
    void renameEmulator(const QString &from, const QString &to);

    // What another copy of the file holds that this one lacks (a synchroniser's conflict
    // copy): its collections and their games; its emulator choices where this has none.
    void mergeFrom(const PlayerChoices &copy);

    static PlayerChoices parse(QByteArrayView content);
    QByteArray format() const;
    // Lines of a kind this program does not know, as the file has them.
    const std::vector<QByteArray> &unreadLines() const { return state_.unread; }

private:
    struct State {
        QStringList collections;
        QHash<QString, QSet<GameKey>> members;
        QHash<GameKey, QString> launchWith;
        std::vector<QByteArray> unread;

        void renameKeys(const std::function<GameKey(const GameKey &)> &renamed);
    };
    using Operation = std::function<void(State &)>;
    // Applies the operation here and keeps it for the save.
    void apply(Operation operation);
    static State parseState(QByteArrayView content);

    QString path_;
    QString readError_;
    State state_;
    std::vector<Operation> pending_;
};

} // namespace zanku
