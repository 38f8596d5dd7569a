#include "ui/editor/ArchiveLinesOffer.h"

#include "core/editor/EditorRecords.h"
#include "core/import/ArchiveLines.h"
#include "ui/common/Messages.h"
#include "ui/editor/EditorGrid.h"

#include <QCoreApplication>

bool OfferArchiveLineFixes(const QString &caption, EditorGrid &grid, const EmulatorRecord &emulator,
                           const QString &programDir)
{
    const std::vector<GridRow> rows = grid.allRows();
    std::vector<GameRecord> games;
    games.reserve(rows.size());
    for (const GridRow &row : rows)
        games.push_back(RowToGame(row));
    const std::vector<ArchiveLineFix> fixes = ArchiveLineFixes(emulator, programDir, games);
    if (fixes.empty())
        return false;
    const QString question = QCoreApplication::translate(
        "OptionsFrm",
        "%n games of this list name a .7z or .rar archive as their File: the emulator gets "
        "the archive as it is.\nName the game inside each archive instead? Zanku then extracts "
        "it at each launch and keeps its saves. Save to keep the change.",
        nullptr, int(fixes.size()));
    if (ShowMessage(caption, question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    for (const ArchiveLineFix &fix : fixes) {
        GameRecord game = games[size_t(fix.row)];
        game.File = fix.file;
        grid.setRowCells(fix.row, GameToRow(game));
    }
    return true;
}
