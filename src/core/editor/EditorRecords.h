#pragma once

#include "core/records/Records.h"

#include <QString>
#include <QStringList>

#include <vector>

// The configuration editor edits either the emulator list ("Zanku.ini") or the ROM list
// of one emulator. The mode is fixed when the editor loads and every later step uses it.
enum class EditorMode { Emulators, Roms };

// One row of the editor's grid, its cells in the mode's column order.
using GridRow = QStringList;

int ColumnCountFor(EditorMode mode);

// Each column's title and its width in tenths of the grid's width.
QStringList ColumnTitlesFor(EditorMode mode);
std::vector<int> ColumnTenthsFor(EditorMode mode);

// The game types the record editor and the import offer, in their list order.
QStringList GameTypes();

// The grid's width divided by 10 and multiplied by the tenths, rounded to the nearest
// whole twip with ties to the even number (9375 and 5 tenths give 4688).
int ColumnWidthTwips(int gridWidthTwips, int tenths);

// Grid rows and the records of the files, a column per field of EmulatorFields or
// GameFields. Missing cells read as empty.
GridRow EmulatorToRow(const EmulatorRecord &emulator);
EmulatorRecord RowToEmulator(const GridRow &row);
GridRow GameToRow(const GameRecord &game);
GameRecord RowToGame(const GridRow &row);
// Whole lists of them, in their order.
std::vector<GridRow> RowsOf(const std::vector<EmulatorRecord> &emulators);
std::vector<GridRow> RowsOf(const std::vector<GameRecord> &games);
std::vector<EmulatorRecord> EmulatorsOf(const std::vector<GridRow> &rows);
std::vector<GameRecord> GamesOf(const std::vector<GridRow> &rows);

// The order in which the editor shows its rows: by the text of column 0, compared
// case-sensitively, rows of equal names keeping their order. Entry i is the index of
// the row that goes to place i.
std::vector<int> SortedRowOrder(const std::vector<GridRow> &rows);

// What the record editor calls each field when it refuses a value.
QString FieldLabel(EditorMode mode, int column);

inline constexpr auto MissingNameOrFileText =
    QT_TRANSLATE_NOOP("Core", "At Least Game and File MUST be added");

// Why the record editor refuses a record, or an empty text when it can be taken. A
// record needs a name and a file (or program); beyond that only values that would
// corrupt the files or keep the program from starting are refused: a line break
// anywhere, "=" in the first four game fields, emulator options that begin with ";",
// and an emulator name that cannot name its ROM list file.
QString RecordProblem(EditorMode mode, const GridRow &row);

// Why a Save in ROM mode must not write, or an empty text when it may. The list shown
// belongs to `loadedEmulator` (empty before the first pick); `chosenText` is the
// selector's text; `configured` the emulator names of the configuration.
QString RomSaveProblem(const QString &chosenText, const QString &loadedEmulator,
                       const QStringList &configured);

// Why a Save must not write over `file`, which could not be read when it was loaded.
QString UnreadableSaveProblem(const QString &file);

// The directories from the root down to `directory` (an absolute path), root first.
QStringList DirectoryLadder(const QString &directory);

// The directories directly inside `directory`, by name, as absolute paths.
QStringList SubdirectoriesOf(const QString &directory);

// The program files of `directory`, names only, sorted: "*.exe" on Windows, the
// executable files elsewhere.
QStringList ProgramFilesIn(const QString &directory);

// All the files of `directory`, names only, sorted.
QStringList FilesIn(const QString &directory);
