#include "core/import/ImportAdd.h"

#include "core/common/CoreText.h"
#include "core/editor/EditorRecords.h"
#include "core/files/TextFile.h"
#include "core/import/ImportDiscs.h"
#include "core/import/ImportNames.h"
#include "core/library/Library.h"

using zanku::ListedNames;

namespace {
AddResult failed(const QString &error)
{
    AddResult result;
    result.added = -1;
    result.error = error;
    return result;
}
} // namespace

AddResult AddToRomList(zanku::Library &library, const EmulatorRecord &emulator,
                       const std::vector<ImportCandidate> &chosen, const QString &type)
{
    const zanku::EmulatorPlaces places(emulator, library.programDir());
    // Read again now: the editor may have saved the list since the scan.
    const zanku::RomListRead read = library.readRomList(emulator.Name);
    if (read.status == TextReadResult::Unreadable)
        return failed(ReadErrorText(places.romList(), read.error) +
                      zanku::CoreText::tr("\nNothing was added."));
    const ListedNames known(places, read.records);

    std::vector<GridRow> rows;
    std::vector<const ImportCandidate *> of; // the candidate of each row
    for (const ImportCandidate &candidate : chosen) {
        if (!candidate.problem.isEmpty() || known.contain(candidate))
            continue;
        const GridRow row = {candidate.name, candidate.file, QString(), QString(), type};
        if (const QString problem = RecordProblem(EditorMode::Roms, row); !problem.isEmpty()) {
            return failed(zanku::CoreText::tr("%1 (%2): %3\nNothing was added.")
                              .arg(candidate.name, candidate.file, problem));
        }
        rows.push_back(row);
        of.push_back(&candidate);
    }
    // Every record is accepted: now the .m3u files the groups of discs stand on.
    AddResult result;
    std::vector<GridRow> kept;
    for (size_t index = 0; index < rows.size(); ++index) {
        const ImportCandidate &candidate = *of[index];
        const QString problem =
            candidate.writeDiscList
                ? zanku::WriteDiscList(places.directory(), candidate.file, candidate.discs)
                : QString();
        if (problem.isEmpty()) {
            kept.push_back(rows[index]);
            continue;
        }
        result.notAdded.append(candidate.file);
        result.problems +=
            zanku::CoreText::tr("%1 was not added: %2\n").arg(candidate.name, problem);
    }
    result.problems.chop(1);
    rows = std::move(kept);
    if (rows.empty())
        return result;

    QStringList lines;
    for (const int index : SortedRowOrder(rows))
        lines.append(FormatRomLine(RowToGame(rows[size_t(index)])));
    const TextWriteResult written = library.appendToRomList(emulator.Name, lines);
    if (!written.ok)
        return failed(SaveErrorText(places.romList(), written.error));
    result.added = int(rows.size());
    return result;
}
