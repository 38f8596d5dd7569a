#pragma once

#include "core/import/ImportCandidate.h"
#include "core/records/Records.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Finds the games an emulator's folders hold that its ROM list does not name yet: the
// files and folders of its directory and the ".zip", ".7z" and ".rar" archives of its
// zipped-game directory, one level deep. Plain logic, run off the user-interface thread.

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
