#pragma once

#include "core/catalogue/GameTable.h"
#include "core/catalogue/ListRead.h"
#include "core/launch/LaunchFailure.h"
#include "core/library/SavesRename.h"
#include "core/records/GameKey.h"
#include "core/records/Records.h"

#include <QObject>
#include <QString>

#include <vector>

namespace zanku {

class GameData;
class Launcher;
class LibraryMetadata;

using ConfigRead = ListRead<EmulatorRecord>;
using RomListRead = ListRead<GameRecord>;

struct SaveResult {
    enum Status { Saved, ChangedSinceRead, Failed };
    Status status = Failed;
    QString error;       // Failed: why, as the "Error" box says it
    FileVersion version; // Saved: what the file now is
};

// The one truth of the program: the program directory, the emulators of "Zanku.ini",
// the games of their ROM lists that are present, and what the last zipped launch
// extracted. It reads, reloads, saves and launches; it never shows anything. The windows
// are its views: they read its tables, send it requests and follow its signals.
//
// Tables keep slot 0 empty and fill slots 1 to the count, so slot numbers read the same
// everywhere. Every path is resolved against an explicit directory: the process's
// working directory is never read or changed.
class Library : public QObject {
    Q_OBJECT
public:
    explicit Library(const QString &programDir, QObject *parent = nullptr);
    ~Library() override;

    const QString &programDir() const { return programDir_; }

    int EmulatorCount() const { return int(Emulators.size()) - 1; }
    const EmulatorRecord &emulator(int slot) const { return Emulators.at(size_t(slot)); }
    int GameCount() const { return int(Games.size()) - 1; }
    // A game whole, made from the table; throws std::out_of_range past the last slot.
    GameRecord game(int slot) const { return Games.record(size_t(slot)); }
    // The games where they lie: their texts without a copy, for what reads them all.
    const GameTable &games() const { return Games; }
    // Why "Zanku.ini" could not be read at the last ReadConfig; empty when it could.
    const QString &configError() const { return configError_; }

    // Start-up: removes what a crashed session extracted, then reads everything.
    void start();
    // Re-reads "Zanku.ini" into the emulator table. A file of a past version empties
    // the table and signals pastVersion; the result is then false.
    bool ReadConfig();
    // Rebuilds the games from every emulator's ROM list, keeping those whose file,
    // directory or archive is present; reports emulators whose directory or list is
    // missing; signals catalogueChanged.
    void LoadCatalogue();
    // The one reload after a change of the files: the clean-up first (a folder still
    // extracted would be listed as the game itself), then ReadConfig and LoadCatalogue.
    void reload();

    // The files as they are now, for an editor; the tables are not touched. A
    // "Zanku.ini" of a past version signals pastVersion.
    ConfigRead readConfigWithoutLoading();
    RomListRead readRomList(const QString &emulatorName) const;
    // Replaces a file with these records, in this order, unless it changed since it was
    // read as `readAs` (a second window, the import, a hand edit): then nothing is
    // written. A Save of a ROM list signals romListChanged.
    SaveResult WriteConfig(const std::vector<EmulatorRecord> &emulators, const FileVersion &readAs);
    SaveResult WriteRomList(const QString &emulatorName, const std::vector<GameRecord> &games,
                            const FileVersion &readAs);
    // Makes an empty ROM list for each of these emulators that has none, so a new
    // emulator is not reported as missing its list; says why for each it could not.
    QStringList makeMissingRomLists(const std::vector<EmulatorRecord> &emulators);
    // After a Save renamed an emulator: its ROM list, its kept saves, what it played and
    // the player's choices follow it. A ROM list of the new name is left as it is; kept
    // saves of the new name are merged with or set aside, as `collision` says. A game
    // running meanwhile keeps its time under the new name. Says what could not be done.
    QStringList renameEmulator(const QString &from, const QString &to,
                               SavesCollision collision = SavesCollision::SetAside);

    // Adds lines after the last one of an emulator's ROM list, leaving its bytes as they
    // are; signals romListChanged.
    TextWriteResult appendToRomList(const QString &emulatorName, const QStringList &lines);

    // The game in `slot` as the catalogue listed it; a null key for no game.
    GameKey keyOf(int slot) const;
    // The slot of the game a key names (the first, when two are listed alike); 0 when the
    // catalogue no longer lists it.
    int slotOf(const GameKey &key) const;
    // The emulator whose game it is: the game's own slot while it still carries the key's
    // name, else the first emulator of that name ("Zanku.ini" may have been edited by hand
    // since the catalogue was read); 0 when none is left.
    int emulatorOf(const GameKey &key) const;
    // The game's snapshot picture, else the picture its details name; empty when it has none.
    QString snapshotOf(const GameKey &key) const;

    // Launches the game a key names, with the emulator of that name (empty: the one the
    // player chose for it, else its own): the clean-up first, "Zanku.ini" read again, then
    // the launcher gets the game and both emulators as they are now. A key the catalogue
    // no longer lists launches nothing.
    void LaunchGame(const GameKey &key, const QString &withEmulator = {});

    // What the player made of each game: plays, stars, choices, collections.
    GameData &gameData() { return *gameData_; }
    const GameData &gameData() const { return *gameData_; }

    // What other programs' files tell of each game, by slot: read once started.
    LibraryMetadata &metadata() { return *metadata_; }
    const LibraryMetadata &metadata() const { return *metadata_; }

    // Removes the folder the last zipped launch extracted into, with everything in it,
    // when that extraction made it, keeping the files the emulator wrote in "Saves"; then
    // forgets it. While any emulator started on it still runs, the removal waits.
    void CleanupExtraction();

    // Whether an emulator a launch started still runs.
    bool anyEmulatorRunning() const;

signals:
    // Something the player must be told, in a box with this title.
    void notice(const QString &title, const QString &text);
    // "Zanku.ini" belongs to a past version: the program ends after saying so.
    void pastVersion(const QString &text);
    // The games are about to be read again: their slots still name what the rows show.
    void catalogueAboutToChange();
    void catalogueChanged();
    void romListChanged(const QString &emulatorName);
    // A launch under way: its status text, and whether it holds the window meanwhile.
    void launchStatus(const QString &text);
    void launchBusy(bool busy);
    // What was played or chosen changed: a launch, a run's end, a favourite, a collection.
    void historyChanged();
    // A launch failed: its emulator could not be started, or ended in error.
    void launchFailed(const zanku::LaunchFailure &failure);
    // A launched emulator has ended: its exit status, or the signal that ended it (0: none).
    void emulatorEnded(const zanku::GameKey &game, int status, int signal);
    // An extraction folder is gone, the player's files in it kept.
    void extractionRemoved(const QString &folder);
    // The first emulator launched now runs (true), or the last of them has ended (false).
    void emulatorsRunning(bool running);
    // A file of game details could be read only up to a fault: which, where; told once.
    void metadataProblem(const QString &text);

private:
    QStringList emulatorDirectories() const;
    void keepNamesOf(const QString &emulatorName, const std::vector<GameRecord> &before,
                     const std::vector<GameRecord> &after);
    SaveResult save(const QString &path, const QStringList &lines, const FileVersion &readAs);
    int findEmulator(const QString &name) const;

    QString programDir_;
    std::vector<EmulatorRecord> Emulators{1};
    GameTable Games; // slot 0 is no game
    // The emulators' names as the catalogue was read: a game's key keeps the name its
    // emulator had then, whatever "Zanku.ini" says since.
    std::vector<QString> listedEmulators_{1};
    QString configError_;
    // The games' slots by their keys' hashes, open-addressed; made at the first look-up
    // after the catalogue was read.
    mutable std::vector<int> slotTable_;
    GameData *gameData_;
    Launcher *launcher_;
    LibraryMetadata *metadata_;
};

} // namespace zanku
