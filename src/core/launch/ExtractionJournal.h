#pragma once

#include "core/common/ProgramFiles.h"

#include "core/files/RemoveTree.h"
#include "core/launch/ExtractionMarker.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace zanku {

// The journal's file in the program directory; its lock is this name + ".lock".
inline constexpr auto JournalFileName = own::Journal;

// The extraction journal: "Zanku.extract" in the program directory lists every folder a
// zipped launch made and has not removed yet, with the Zanku that owns it, so that the
// next start (or another Zanku) removes what a crash left behind, or what an emulator
// still used when its Zanku ended. Any number of Zanku share it: each change is made under
// its lock, held only while the file is read, changed and written, so no Zanku waits on
// another's session and a kill at any moment leaves the file whole.
//
// It is a record only: what may be done with a listed folder is decided by the one who
// reads it (the folder's identity, its marker, its sessions). A folder the program did
// not make itself is never recorded.
class ExtractionJournal {
public:
    // A folder the journal lists, what proves it is the one made then, the sessions of
    // the emulators started on it, and the Zanku that removes it (none in an earlier
    // version's journal).
    struct Entry {
        QString folder;
        std::optional<FolderIdentity> identity;
        QString token;
        QList<Session> sessions;
        Session owner;
    };

    explicit ExtractionJournal(const QString &programDir);

    QString path() const;

    // Reads the file under its lock, lets `change` alter the list and writes it back, on
    // disk before the lock goes (with nothing listed the file goes). False, with `why`,
    // when it cannot.
    bool update(const std::function<void(QList<Entry> &)> &change, QString *why = nullptr);
    // What the file lists now.
    QList<Entry> entries() const;
    // The entries whose Zanku has ended become this one's; they are returned.
    QList<Entry> adopt(QString *why = nullptr);

    // Before a zipped launch extracts into `folder` (absolute): records it with `token`
    // as this Zanku's and makes it. False when the folder was there already (the player's:
    // it is neither recorded nor ever removed). When the journal cannot be written the
    // launch goes on; `warning` then says why, once per session.
    bool begin(const QString &folder, const QString &token, QString *warning);
    // Lists a folder found unlisted (its journal could not be written then) as this Zanku's.
    void own(const QString &folder, const std::optional<FolderIdentity> &identity,
             const QString &token);
    // An emulator started on the folder: until its session ends no start removes it.
    void addSession(const QString &folder, const QString &token, const Session &session);
    // The folder is gone, or never to be acted on: it leaves the journal.
    void forget(const QString &folder, const QString &token);

private:
    QString programDir_;
    bool warned_ = false;
};

// The journal as its file holds it, and back; a file cut short or of another kind reads
// as nothing.
QStringList FormatJournal(const QList<ExtractionJournal::Entry> &entries);
std::optional<QList<ExtractionJournal::Entry>> ParseJournal(const QStringList &lines);

} // namespace zanku
