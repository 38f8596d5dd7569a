#pragma once

#include "core/launch/ExtractionJournal.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

namespace zanku {

class EmulatorProcess;

// The life of every folder a zipped launch extracts into, from its mkdir to its removal:
// made and marked, extracted, the player's kept files brought back, used by the
// emulators started on it (from this Zanku or another, before a restart or after), its
// player's files kept again and only then removed, and whatever a crash left recovered
// at the next start. The journal and the folder's marker are its records; nothing else
// in the program removes an extraction.
class Extractions : public QObject {
    Q_OBJECT
public:
    explicit Extractions(const QString &programDir, QObject *parent = nullptr);
    ~Extractions() override;

    // At start-up: removes what a crashed or ended session left in these directories
    // (the emulators' own), and watches what an emulator still uses.
    void recover(const QStringList &emulatorDirectories);

    // A zipped game to launch: the archive, the emulator's directory and name, the game's
    // File, and its DestinationDir (empty: a folder named after File in the directory).
    struct Game {
        QString emulator;
        QString directory;
        QString archive;
        QString file;
        QString destination;
        QString name; // the game's Name, for the play time a later Zanku counts
    };
    // Makes the game's folder ready: extracted now, or one some Zanku extracted and an
    // emulator may still use, shared. False, after a notice, when the launch must not
    // go on. A destination directory receives the archive for good, as it always did.
    bool prepare(const Game &game);
    // What the emulator of the folder prepared last is started with (EmulatorProcess's
    // `tag`): the folder stays while any process carrying it runs. Empty without a folder.
    QString tag() const;
    // The emulator started for the folder prepared last: the folder stays while its
    // session runs.
    void started(EmulatorProcess *emulator);
    // The folder prepared last is removed as soon as no emulator uses it any more.
    void cleanup();
    // An emulator renamed while its games' folders are in use: what its emulators wrote
    // there is kept under the new name.
    void renameEmulator(const QString &from, const QString &to);

    // Whether the folder is an extraction a Zanku made.
    static bool isExtraction(const QString &folder);

signals:
    // Something the player must be told, in a box with this title.
    void notice(const QString &title, const QString &text);
    // An extraction folder is gone, the player's files in it kept.
    void removed(const QString &folder);
    // An emulator started by a Zanku that has ended since has ended too, after these
    // seconds: its play time, which no one else counts.
    void played(const QString &emulator, const QString &name, const QString &file, qint64 seconds);

private:
    struct Folder {
        QString path;
        QString token;
        std::optional<FolderIdentity> identity; // when it was made
        QList<Session> sessions;                // the journal's, besides the marker's
        bool owned = true;                      // recorded by this Zanku: it removes it
        bool failed = false; // its files could not be kept: tried again at the next clean-up
        bool told = false;
        bool claimed = false;   // this Zanku is listed among its sessions until its emulator is
        bool seenInUse = false; // an emulator was seen running on it: its end is seen now
    };
    enum class Removal { Removed, InUse, NotOurs, Waiting };

    static bool running(const ExtractionMarker &marker, const QList<Session> &listed);
    Removal remove(Folder &folder, QString *waiting);
    void countRuns(const Folder &folder, const ExtractionMarker &marker);
    void removeUnused();
    void adoptOrphans(bool atStart);
    void tellWaiting(Folder &folder, const QString &waiting);
    void release(Folder &folder);
    // prepare()'s steps for a folder that is there already, and for a new one.
    bool prepareFound(const Game &game, const QString &target, ExtractionMarker marker);
    bool prepareNew(const Game &game, const QString &target);
    bool prepareThere(const Game &game, const QString &target);
    bool takeOver(const Game &game, const QString &target, const ExtractionMarker &marker);
    bool claim(const Game &game, std::unique_ptr<Folder> folder);
    bool retry(const Game &game, const QString &target, FolderState state);
    void reopen(Folder &folder);

    QString programDir_;
    ExtractionJournal journal_;
    QStringList directories_; // the emulators' own: nothing elsewhere is ever removed
    std::unique_ptr<Folder> last_;
    std::vector<std::unique_ptr<Folder>> waiting_;
    int retries_ = 0; // of a launch waiting for another Zanku
    // A wrapper's session outlives the process the program watches: looked at again
    // while a folder waits.
    QTimer poll_;
};

} // namespace zanku
