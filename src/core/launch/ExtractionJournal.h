#pragma once

#include "core/files/RemoveTree.h"

#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

namespace zanku {

// The journal's file in the program directory; its lock is this name + ".lock".
inline constexpr auto JournalFileName = "Zanku.extract";

// The extraction journal: "Zanku.extract" in the program directory lists every folder a
// zipped launch made and has not removed yet, with the folder's identity, so that the
// next start removes what a crash left behind. One Zanku at a time keeps it: whichever
// has a folder listed holds its lock until the folder is removed, and meanwhile another
// Zanku leaves the journal alone.
class ExtractionJournal {
public:
    explicit ExtractionJournal(const QString &programDir);

    // At start-up: takes the journal for this session, removes every folder it lists
    // that is still the one recorded, and empties it. A journal that cannot be read
    // whole is ignored.
    void recover();

    // Before a zipped launch extracts into `folder` (absolute, not there yet): records
    // it, creates it and records its identity. When the journal cannot be written the
    // launch goes on; the result then says why, once per session (empty otherwise).
    QString begin(const QString &folder);

    // Removes `folder`, made by begin(), with everything in it when it is still the
    // folder made then, and forgets it once it is gone.
    void remove(const QString &folder);

    // A folder the journal lists, and its identity once it was made.
    struct Entry {
        QString folder;
        std::optional<FolderIdentity> identity;
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

    QString programDir_;
    std::unique_ptr<QLockFile> lock_;
    QList<Entry> entries_; // what the file should list, this session's folders among them
    bool warned_ = false;
};

} // namespace zanku
