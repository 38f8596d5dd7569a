#pragma once

#include "core/import/ImportCandidate.h"
#include "core/records/Records.h"

#include <QString>
#include <QStringList>

#include <vector>

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
