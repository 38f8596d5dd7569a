#pragma once

#include "core/files/RemoveTree.h"

#include <QList>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace zanku {

// The journal's file in the program directory; its lock is this name + ".lock".
inline constexpr auto JournalFileName = "Zanku.extract";

// The extraction journal: "Zanku.extract" in the program directory lists every folder a
// zipped launch made and has not removed yet, so that the next start removes what a crash
// left behind, or what an emulator still used when the program ended. One Zanku at a
// time keeps it: whichever has a folder listed holds its lock until the folder is
// removed, and meanwhile another Zanku leaves the journal alone.
//
// An entry is acted on only when it cannot hurt the player: the folder lies inside an
// emulator's Games Directory, holds the marker with the entry's token, is still the
// folder made then (its identity), and the emulator that used it has ended. A folder the
// program did not make itself is never recorded.
class ExtractionJournal {
public:
    explicit ExtractionJournal(const QString &programDir);

    // At start-up: takes the journal for this session and removes every folder it may
    // (keeping the player's files, as ExtractionFolder says), inside these directories.
    void recover(const QStringList &emulatorDirectories);

    // Before a zipped launch extracts into `folder` (absolute): records it with `token`
    // and makes it. False when the folder was there already (the player's: it is neither
    // recorded nor ever removed). When the journal cannot be written the launch goes on;
    // `warning` then says why, once per session.
    bool begin(const QString &folder, const QString &token, QString *warning);

    // The emulator using the folder: while it runs, no start removes the folder.
    void setOwner(const QString &folder, qint64 pid, quint64 startTime);

    // Removes `folder`, made by begin(), with everything in it when it is still the
    // folder made then, and forgets it once it is gone.
    void remove(const QString &folder);

    // A folder the journal lists, and what proves it is the one made then.
    struct Entry {
        QString folder;
        std::optional<FolderIdentity> identity;
        QString token;
        qint64 pid = 0;
        quint64 startTime = 0;
    };

private:
    struct WriteResult {
        bool ok = false;
        QString error;
    };

    QString path() const;
    bool takeLock();
    WriteResult write();
    qsizetype indexOf(const QString &folder) const;
    bool mayRemove(const Entry &entry) const;

    QString programDir_;
    std::unique_ptr<QLockFile> lock_;
    QList<Entry> entries_; // what the file should list, this session's folders among them
    bool warned_ = false;
};

} // namespace zanku
