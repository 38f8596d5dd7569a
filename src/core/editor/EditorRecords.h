#pragma once

#include "core/common/AppState.h"

#include <QString>
#include <QStringList>

#include <vector>

// The configuration editor edits either the emulator list ("Zanku.ini") or the ROM list
// of one emulator. The mode is fixed when the editor loads and every later step uses it.
enum class EditorMode { Emulators, Roms };

// "ROM", compared exactly, edits the game lists; every other value the emulator list.
EditorMode EditorModeFor(const QString &editMode);

// One row of the editor's grid, its cells in the mode's column order.
using GridRow = QStringList;

inline constexpr auto RomTitleString =
    "<Game Name|<File or Dir Name|<Destination Dir|<Game Options|<Game Type";
inline constexpr auto EmulatorTitleString =
    "<Emulator Name|<Emul Program|<Emul Path|<Zipped Roms Path|<Emul Snapshot|<Emul Options";

QString TitleStringFor(EditorMode mode);
int ColumnCountFor(EditorMode mode);

// Each column's width in tenths of the grid's width.
std::vector<int> ColumnTenthsFor(EditorMode mode);

// The game types the record editor and the import offer, in their list order.
QStringList GameTypes();

// The column titles of a title string: "|" separates the columns; the leading "<" of
// each marks a left-aligned column, as every column of the editor is.
QStringList ColumnTitles(const QString &titleString);

// The grid's width divided by 10 and multiplied by the tenths, rounded to the nearest
// whole twip with ties to the even number (9375 and 5 tenths give 4688).
int ColumnWidthTwips(int gridWidthTwips, int tenths);

// Grid rows and the records of the files. Emulator columns: Name, Program, Path,
// ZippedRomPath, SnapshotPath, Options. Game columns: Name, File, DestinationDir,
// Options, Type. Missing cells read as empty.
GridRow EmulatorToRow(const EmulatorRecord &emulator);
EmulatorRecord RowToEmulator(const GridRow &row);
GridRow GameToRow(const GameRecord &game);
GameRecord RowToGame(const GridRow &row);

// The order in which the editor shows its rows: by the text of column 0, compared
// case-sensitively, rows of equal names keeping their order. Entry i is the index of
// the row that goes to place i.
std::vector<int> SortedRowOrder(const std::vector<GridRow> &rows);

// What the record editor calls each field when it refuses a value.
QString FieldLabel(EditorMode mode, int column);

inline constexpr auto MissingNameOrFileText = "At Least Game and File MUST be added";

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

// The directories from the root down to `directory` (an absolute path), root first.
QStringList DirectoryLadder(const QString &directory);

// The directories directly inside `directory`, by name, as absolute paths.
QStringList SubdirectoriesOf(const QString &directory);

// The program files of `directory`, names only, sorted: "*.exe" on Windows, the
// executable files elsewhere.
QStringList ProgramFilesIn(const QString &directory);
