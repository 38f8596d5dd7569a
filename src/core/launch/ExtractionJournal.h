#pragma once

#include "core/files/RemoveTree.h"
#include "core/launch/ExtractionMarker.h"

#include <QList>
#include <QLockFile>
#include <QString>

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
// It is a record only: what may be done with a listed folder is decided by the one who
// reads it (the folder's identity, its marker, its sessions). A folder the program did
// not make itself is never recorded.
class ExtractionJournal {
public:
    // A folder the journal lists, what proves it is the one made then, and the sessions
    // of the emulators started on it.
    struct Entry {
        QString folder;
        std::optional<FolderIdentity> identity;
        QString token;
        QList<Session> sessions;
    };

    explicit ExtractionJournal(const QString &programDir);

    QString path() const;

    // Takes the journal for this session when no other Zanku holds it, adding what its
    // file lists to this session's entries. False, with `why`, when it cannot.
    bool take(QString *why = nullptr);
    const QList<Entry> &entries() const { return entries_; }
    const Entry *find(const QString &folder) const;

    // Before a zipped launch extracts into `folder` (absolute): records it with `token`
    // and makes it. False when the folder was there already (the player's: it is neither
    // recorded nor ever removed). When the journal cannot be written the launch goes on;
    // `warning` then says why, once per session.
    bool begin(const QString &folder, const QString &token, QString *warning);
    // An emulator started on the folder: until its session ends no start removes it.
    void addSession(const QString &folder, const Session &session);
    // The folder is gone, or never to be acted on: it leaves the journal.
    void forget(const QString &folder);
    // Writes what the journal lists now; with nothing listed its file goes, and its lock.
    void save() { write(); }

private:
    struct WriteResult {
        bool ok = false;
        QString error;
    };

    WriteResult write();
    qsizetype indexOf(const QString &folder) const;

    QString programDir_;
    std::unique_ptr<QLockFile> lock_;
    QList<Entry> entries_; // what the file should list, this session's folders among them
    bool warned_ = false;
};

// The journal as its file holds it, and back; a file cut short or of another kind reads
// as nothing.
QStringList FormatJournal(const QList<ExtractionJournal::Entry> &entries);
std::optional<QList<ExtractionJournal::Entry>> ParseJournal(const QStringList &lines);

} // namespace zanku
