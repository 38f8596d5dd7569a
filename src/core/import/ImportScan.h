#pragma once

#include "core/records/Records.h"

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Finds the games an emulator's folders hold that its ROM list does not name yet: the
// files and folders of its directory and the ".zip", ".7z" and ".rar" archives of its
// zipped-game directory, one level deep. Plain logic, run off the user-interface thread.

enum class ImportKind { File, Folder, Zip };

struct ImportCandidate;
// What the import window's Kind column says: "file", "folder", or the archive's kind ("zip",
// "7z", "rar").
QString KindText(const ImportCandidate &candidate);

struct ImportCandidate {
    QString name; // suggested game name
    QString file; // the File of its ROM list line
    ImportKind kind = ImportKind::File;
    QString entry;        // its name on disk: the file, folder or archive
    QString member;       // an archive's game member, as named inside it
    QString problem;      // why it cannot be listed; empty when it can
    bool pending = false; // an archive whose member is not read yet: File is its base name

    QStringList discs;          // an .m3u's discs, in order
    bool writeDiscList = false; // the .m3u is not there yet: Add Checked writes it

    // What the table says beside it: the problem, "inside: x.nes" when the launch will
    // find the game under another name than its member's, or an .m3u's discs.
    QString note() const;
};

// The order of the table: by File, without regard to case.
bool ImportFileBefore(const ImportCandidate &a, const ImportCandidate &b);

// Puts rows sorted by File before their archives were read back in that order: only the
// archives can have moved.
template <typename Row, typename Candidate> void SortReadRows(std::vector<Row> &rows, Candidate of)
{
    const auto before = [&of](const Row &a, const Row &b) {
        return ImportFileBefore(of(a), of(b));
    };
    const auto archives = std::stable_partition(rows.begin(), rows.end(), [&of](const Row &row) {
        return of(row).kind != ImportKind::Zip;
    });
    std::stable_sort(archives, rows.end(), before);
    std::inplace_merge(rows.begin(), archives, rows.end(), before);
}

// Lets the user-interface thread follow and stop a scan.
struct ImportScanControl {
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    std::atomic<int> total{0};
};

struct ImportScanResult {
    std::vector<ImportCandidate> candidates; // sorted by file name
    QString error;                           // the emulator's directory cannot be read
    bool cancelled = false;                  // stopped: no candidates
};

// Scans the emulator's folders; `listed` is its ROM list as it stands. A relative
// directory is taken from `programDir` (the emulator's) or from the emulator's
// directory (the zipped-game and snapshot ones), as the catalogue takes them. When the
// emulator's directory is the program directory, the program's own files there are
// passed over: "Zanku.ini", the ROM lists of `emulatorNames` (every emulator
// configured), the extraction journal, the play history and their locks, the controller
// mappings and the "Saves" folder. An extraction's marker is passed over anywhere. An
// archive whose game member the extraction would not write (an unsafe or overlong
// name, a link) is offered with the reason it cannot be listed.
ImportScanResult ScanForImport(const EmulatorRecord &emulator, const QString &programDir,
                               const std::vector<GameRecord> &listed, ImportScanControl &control,
                               const QStringList &emulatorNames = {});

// What reading a pending archive told.
struct ImportArchiveRead {
    size_t index = 0;          // the candidate's place in the names' list
    ImportCandidate candidate; // filled in: File, member, problem
    bool dropped = false;      // the list, or a file of the same name, already has the game
};
using ImportReads = std::vector<ImportArchiveRead>;

// The same scan in two steps, for a window that shows the names at once: listNames()
// lists the folders and makes every candidate from its name alone, sorted by File (an
// archive is `pending`); readArchives() then reads the pending archives' central
// directories, handing what it learns to `report` in batches. Applied, and the rows
// put back in order with SortReadRows, they give what ScanForImport gives.
class ImportScan {
public:
    ImportScan(const EmulatorRecord &emulator, const QString &programDir,
               const std::vector<GameRecord> &listed, ImportScanControl &control,
               const QStringList &emulatorNames = {});
    ~ImportScan();
    ImportScanResult listNames();
    // `names`: what listNames() gave. False when cancelled.
    bool readArchives(const std::vector<ImportCandidate> &names,
                      const std::function<void(ImportReads &&)> &report);

    struct Data; // what a scan knows of its emulator

private:
    std::unique_ptr<Data> d;
};

// A game name from a base name: "_" and "." become blanks, then trimmed.
QString ImportName(QStringView baseName);

struct ArchiveMember;
// The member that holds the game: the only one, else the largest whose base name is
// the archive's, else the largest of all. -1 for an archive without files.
int GameMemberIndex(const std::vector<ArchiveMember> &members, const QString &archiveBase);

// Name patterns separated by blanks, "*.nes *.zip", without regard to case. No pattern
// matches everything.
class ImportFilter {
public:
    explicit ImportFilter(const QString &patterns = {});
    bool matches(const QString &name) const;

private:
    std::vector<QRegularExpression> patterns_;
};

namespace zanku {
class Library;
}

// Appends the candidates that can be listed and are not listed yet to the emulator's
// ROM list, sorted by name as the editor sorts, each with `type`. What the file held
// stays byte for byte. Nothing is written when a record is refused or the file cannot
// be read; a failed save leaves the old file whole. The .m3u of a group of discs is
// written first; a group whose .m3u cannot be is left out, and the others added.
struct AddResult {
    int added = 0;        // games added, or -1 on failure
    QString error;        // on failure, what the "Error" box says
    QStringList notAdded; // the Files of the groups left out
    QString problems;     // why, one line each, for the "Error" box
};
AddResult AddToRomList(zanku::Library &library, const EmulatorRecord &emulator,
                       const std::vector<ImportCandidate> &chosen, const QString &type);
