#include "core/editor/EditorRecords.h"

#include "core/common/CoreText.h"
#include "core/common/Quoted.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace {
QString cell(const GridRow &row, int column)
{
    return column < row.size() ? row.at(column) : QString();
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// Names that Windows reserves for devices, with or without an extension.
bool isDeviceName(const QString &name)
{
    static const QStringList devices = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),
        QStringLiteral("NUL"),  QStringLiteral("COM1"), QStringLiteral("COM2"),
        QStringLiteral("COM3"), QStringLiteral("COM4"), QStringLiteral("COM5"),
        QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"),
        QStringLiteral("LPT3"), QStringLiteral("LPT4"), QStringLiteral("LPT5"),
        QStringLiteral("LPT6"), QStringLiteral("LPT7"), QStringLiteral("LPT8"),
        QStringLiteral("LPT9")};
    QString base = name.section(u'.', 0, 0);
    while (base.endsWith(u' '))
        base.chop(1);
    return devices.contains(base, Qt::CaseInsensitive);
}

QString emulatorNameProblem(const QString &name)
{
    const QString label = FieldLabel(EditorMode::Emulators, 0);
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name) {
        if (forbidden.contains(c)) {
            return zanku::CoreText::tr(
                       "The %1 may not contain \"%2\": it also names the emulator's "
                       "ROM list file.")
                .arg(label, c);
        }
        if (c.unicode() < 0x20) {
            return zanku::CoreText::tr(
                       "The %1 may not contain control characters: it also names the "
                       "emulator's ROM list file.")
                .arg(label);
        }
    }
    if (std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c == u'.' || c == u' '; })) {
        return zanku::CoreText::tr(
                   "The %1 may not be made only of dots and blanks: it also names the "
                   "emulator's ROM list file.")
            .arg(label);
    }
    if (isDeviceName(name)) {
        return zanku::CoreText::tr(
                   "The %1 may not be \"%2\": that name belongs to a device and cannot "
                   "name the emulator's ROM list file.")
            .arg(label, Quoted(name));
    }
    return {};
}
} // namespace

namespace {
// The same answer from either table of fields.
template <typename Visit> auto withFields(EditorMode mode, Visit visit)
{
    return mode == EditorMode::Roms ? visit(zanku::GameFields) : visit(zanku::EmulatorFields);
}

template <typename Record, size_t N>
GridRow toRow(const Record &record, const std::array<zanku::Field<Record>, N> &fields)
{
    GridRow row;
    for (const auto &field : fields)
        row.append(record.*field.member);
    return row;
}

template <typename Record, size_t N>
Record fromRow(const GridRow &row, const std::array<zanku::Field<Record>, N> &fields)
{
    Record record;
    for (size_t column = 0; column < N; ++column)
        record.*fields[column].member = cell(row, int(column));
    return record;
}
} // namespace

int ColumnCountFor(EditorMode mode)
{
    return withFields(mode, [](const auto &fields) { return int(fields.size()); });
}

QStringList ColumnTitlesFor(EditorMode mode)
{
    return withFields(mode, [](const auto &fields) {
        QStringList titles;
        for (const auto &field : fields)
            titles.append(zanku::CoreText::tr(field.title));
        return titles;
    });
}

std::vector<int> ColumnTenthsFor(EditorMode mode)
{
    return withFields(mode, [](const auto &fields) {
        std::vector<int> tenths;
        for (const auto &field : fields)
            tenths.push_back(field.tenths);
        return tenths;
    });
}

int ColumnWidthTwips(int gridWidthTwips, int tenths)
{
    // width / 10 * tenths, exactly, then to the nearest integer with ties to even.
    const long long numerator = static_cast<long long>(gridWidthTwips) * tenths;
    long long quotient = numerator / 10;
    long long remainder = numerator % 10;
    if (remainder < 0) {
        remainder += 10;
        quotient -= 1;
    }
    if (remainder > 5 || (remainder == 5 && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

GridRow EmulatorToRow(const EmulatorRecord &emulator)
{
    return toRow(emulator, zanku::EmulatorFields);
}

EmulatorRecord RowToEmulator(const GridRow &row)
{
    return fromRow(row, zanku::EmulatorFields);
}

GridRow GameToRow(const GameRecord &game)
{
    return toRow(game, zanku::GameFields);
}

GameRecord RowToGame(const GridRow &row)
{
    return fromRow(row, zanku::GameFields);
}

namespace {
template <typename To, typename From, typename Convert>
std::vector<To> convertAll(const std::vector<From> &from, Convert convert)
{
    std::vector<To> to;
    to.reserve(from.size());
    for (const From &item : from)
        to.push_back(convert(item));
    return to;
}
} // namespace

std::vector<GridRow> RowsOf(const std::vector<EmulatorRecord> &emulators)
{
    return convertAll<GridRow>(emulators, EmulatorToRow);
}

std::vector<GridRow> RowsOf(const std::vector<GameRecord> &games)
{
    return convertAll<GridRow>(games, GameToRow);
}

std::vector<EmulatorRecord> EmulatorsOf(const std::vector<GridRow> &rows)
{
    return convertAll<EmulatorRecord>(rows, RowToEmulator);
}

std::vector<GameRecord> GamesOf(const std::vector<GridRow> &rows)
{
    return convertAll<GameRecord>(rows, RowToGame);
}

std::vector<int> SortedRowOrder(const std::vector<GridRow> &rows)
{
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&rows](int a, int b) {
        return QString::compare(cell(rows[size_t(a)], 0), cell(rows[size_t(b)], 0),
                                Qt::CaseSensitive) < 0;
    });
    return order;
}

QString FieldLabel(EditorMode mode, int column)
{
    return withFields(mode, [column](const auto &fields) {
        return column >= 0 && column < int(fields.size())
                   ? zanku::CoreText::tr(fields[size_t(column)].label)
                   : QString();
    });
}

QString RecordProblem(EditorMode mode, const GridRow &row)
{
    if (cell(row, 0).isEmpty() || cell(row, 1).isEmpty())
        return zanku::CoreText::tr(MissingNameOrFileText);

    const int columns = ColumnCountFor(mode);
    for (int column = 0; column < columns; ++column) {
        if (hasLineBreak(cell(row, column))) {
            return zanku::CoreText::tr(
                       "The %1 may not contain a line break: each value is one line "
                       "of its file.")
                .arg(FieldLabel(mode, column));
        }
    }

    if (mode == EditorMode::Roms) {
        // Type may hold "=": the reader gives it everything after the fourth one.
        for (int column = 0; column < 4; ++column) {
            if (cell(row, column).contains(u'=')) {
                return zanku::CoreText::tr(
                           "The %1 may not contain \"=\": the ROM list line would be "
                           "read back split differently.")
                    .arg(FieldLabel(mode, column));
            }
        }
        return {};
    }

    if (const QString problem = emulatorNameProblem(cell(row, 0)); !problem.isEmpty())
        return problem;
    if (cell(row, 5).startsWith(u';')) {
        return zanku::CoreText::tr(
                   "The %1 may not begin with \";\": Zanku.ini would then read as a "
                   "past version and the program would not start.")
            .arg(FieldLabel(mode, 5));
    }
    return {};
}

QString RomSaveProblem(const QString &chosenText, const QString &loadedEmulator,
                       const QStringList &configured)
{
    if (loadedEmulator.isEmpty()) {
        return zanku::CoreText::tr(
            "Choose an emulator from the list first: no ROM list is open, so "
            "nothing was saved.");
    }
    if (!configured.contains(chosenText)) {
        return zanku::CoreText::tr(
                   "\"%1\" is not an emulator of the configuration. Choose one from the "
                   "list; nothing was saved.")
            .arg(Quoted(chosenText));
    }
    if (chosenText != loadedEmulator) {
        return zanku::CoreText::tr("The list shown belongs to \"%1\", not to \"%2\". Choose \"%2\" "
                                   "from the list to edit its games; nothing was saved.")
            .arg(Quoted(loadedEmulator), Quoted(chosenText));
    }
    return {};
}

QString UnreadableSaveProblem(const QString &file)
{
    return zanku::CoreText::tr("%1 could not be read, so the editor does not show what it holds. "
                               "Saving would replace it; nothing was saved.")
        .arg(Quoted(QDir::toNativeSeparators(file)));
}

QStringList DirectoryLadder(const QString &directory)
{
    QStringList ladder;
    QDir dir(QDir::cleanPath(directory));
    for (;;) {
        ladder.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    return ladder;
}

QStringList SubdirectoriesOf(const QString &directory)
{
    const QDir dir(directory);
    QStringList result;
    const QStringList names =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString &name : names)
        result.append(dir.absoluteFilePath(name));
    return result;
}

QStringList ProgramFilesIn(const QString &directory)
{
    const QDir dir(directory);
#ifdef Q_OS_WIN
    return dir.entryList({QStringLiteral("*.exe")}, QDir::Files, QDir::Name);
#else
    QStringList result;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isExecutable())
            result.append(entry.fileName());
    }
    return result;
#endif
}

QStringList GameTypes()
{
    return {QStringLiteral("Beat'em Up"),  QStringLiteral("Driving"),     QStringLiteral("Other"),
            QStringLiteral("Platform"),    QStringLiteral("Puzzle Game"), QStringLiteral("RPG"),
            QStringLiteral("Shoot'em Up"), QStringLiteral("Sports")};
}

QStringList FilesIn(const QString &directory)
{
    return QDir(directory).entryList(QDir::Files, QDir::Name);
}
