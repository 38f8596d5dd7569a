// The configuration editor's widget-free rules: modes, column widths, the grid <-> record
// conversions, the sort and the checks before a record or a ROM list is taken.

#include "editor/EditorRecords.h"

#include <QTest>

Q_DECLARE_METATYPE(EditorMode)

class TestEditorRecords : public QObject {
    Q_OBJECT

private slots:
    void modeIsRomOnlyForExactlyRom()
    {
        QCOMPARE(EditorModeFor("ROM"), EditorMode::Roms);
        for (const char *other : {"EMU", "rom", "ROM ", ""})
            QCOMPARE(EditorModeFor(other), EditorMode::Emulators);
        QCOMPARE(ParseTitleString(">Right|^Mid|<Left|Plain")[1].alignment, Qt::AlignHCenter);
        QCOMPARE(ParseTitleString(">Right|^Mid|<Left|Plain")[2].title, QString("Left"));
    }

    void columnWidthsRoundTiesToEven_data()
    {
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("width");
        QTest::newRow("4 of 9375") << 9375 << 4 << 3750;
        QTest::newRow("5 of 9375: tie up to even") << 9375 << 5 << 4688;
        QTest::newRow("3 of 9375: tie down to even") << 9375 << 3 << 2812;
        QTest::newRow("1 of 125: tie down") << 125 << 1 << 12;
        QTest::newRow("1 of 135: tie up") << 135 << 1 << 14;
        QTest::newRow("below half") << 9374 << 1 << 937;
        QTest::newRow("above half") << 9376 << 1 << 938;
    }
    void columnWidthsRoundTiesToEven()
    {
        QFETCH(int, gridWidth);
        QFETCH(int, tenths);
        QFETCH(int, width);
        QCOMPARE(ColumnWidthTwips(gridWidth, tenths), width);
    }

    void rowsFollowTheGridColumns()
    {
        EmulatorRecord emulator{"Arc", "arc.exe", "C:\\Arc", "-f %", "C:\\snap", "C:\\zip"};
        const GridRow row = EmulatorToRow(emulator);
        QCOMPARE(row, QStringList({"Arc", "arc.exe", "C:\\Arc", "C:\\zip", "C:\\snap", "-f %"}));
        QCOMPARE(RowToEmulator(row), emulator);
        EmulatorRecord only;
        only.Name = "Only";
        QCOMPARE(RowToEmulator({"Only"}), only);

        const GameRecord game{"Pac", "pac.bin", "tmp", "-x", "Maze", 3, true};
        QCOMPARE(GameToRow(game), QStringList({"Pac", "pac.bin", "tmp", "-x", "Maze"}));
        QCOMPARE(RowToGame(GameToRow(game)), (GameRecord{"Pac", "pac.bin", "tmp", "-x", "Maze"}));
    }

    void sortIsCaseSensitiveAndStable()
    {
        const std::vector<GridRow> rows = {{"b", "1"}, {"B", "2"}, {"a", "3"}, {"A", "4"},
                                           {"b", "5"}, {"", "6"},  {"B", "7"}};
        QStringList seconds;
        for (int index : SortedRowOrder(rows))
            seconds.append(rows[size_t(index)].at(1));
        QCOMPARE(seconds, QStringList({"6", "4", "2", "7", "3", "1", "5"}));
    }

    void recordChecks_data()
    {
        QTest::addColumn<EditorMode>("mode");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("refusal"); // empty: taken; else parts of the message
        const auto games = EditorMode::Roms;
        const auto emus = EditorMode::Emulators;
        const QString missing = MissingNameOrFileText;
        // clang-format off
        QTest::newRow("game") << games << QStringList{"Pac", "pac.bin", "", "", ""} << "";
        QTest::newRow("game blanks, paths need not exist") << games << QStringList{" ", " ", "Q:\\no", "", ""} << "";
        QTest::newRow("game no name") << games << QStringList{"", "f", "", "", ""} << missing;
        QTest::newRow("game no file, a bad name") << games << QStringList{"a=b", "", "", "", ""} << missing;
        QTest::newRow("game name =") << games << QStringList{"a=b", "f", "", "", ""} << "Game Name|\"=\"";
        QTest::newRow("game file =") << games << QStringList{"a", "f=", "", "", ""} << "Game File or Directory|\"=\"";
        QTest::newRow("destination =") << games << QStringList{"a", "f", "=", "", ""} << "Destination Directory|\"=\"";
        QTest::newRow("game options =") << games << QStringList{"a", "f", "", "=", ""} << "Game Options|\"=\"";
        QTest::newRow("game type = and ;") << games << QStringList{"a", "f", "", ";x", "A=B"} << "";
        QTest::newRow("game type line break") << games << QStringList{"a", "f", "", "", "A\nB"} << "Game Type|line break";
        QTest::newRow("game name CR") << games << QStringList{"a\rb", "f", "", "", ""} << "Game Name|line break";
        QTest::newRow("emulator") << emus << QStringList{"A=B [x]", " ", "", "", "", "-x;y=z"} << "";
        QTest::newRow("no program") << emus << QStringList{"M", "", "", "", "", ""} << missing;
        QTest::newRow("options ;") << emus << QStringList{"M", "m", "", "", "", ";-x"} << "Options|\";\"|past version";
        QTest::newRow("path line break") << emus << QStringList{"A", "m", "C:\\a\nb", "", "", ""} << "Emulator Path|line break";
        QTest::newRow("snapshot line break") << emus << QStringList{"A", "m", "", "", "s\n", ""} << "Snapshot Path|line break";
        for (const char *bad : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"})
            QTest::addRow("emulator name %s", bad) << emus << QStringList{QString("A%1B").arg(bad), "m"} << QString("Emulator Name|\"%1\"").arg(bad);
        QTest::newRow("name tab") << emus << QStringList{"A\tB", "m"} << "Emulator Name|control";
        for (const char *odd : {"..", "   ", ". ."})
            QTest::addRow("name '%s'", odd) << emus << QStringList{odd, "m"} << "Emulator Name|dots and blanks";
        QTest::newRow("name device") << emus << QStringList{"con", "m"} << "Emulator Name|device";
        QTest::newRow("name device with extension") << emus << QStringList{"NUL.x", "m"} << "Emulator Name|device";
        QTest::newRow("name like a device") << emus << QStringList{"Console", "m"} << "";
        // clang-format on
    }
    void recordChecks()
    {
        QFETCH(EditorMode, mode);
        QFETCH(QStringList, row);
        QFETCH(QString, refusal);
        const QString problem = RecordProblem(mode, row);
        QCOMPARE(problem.isEmpty(), refusal.isEmpty());
        for (const QString &part : refusal.split('|', Qt::SkipEmptyParts))
            QVERIFY2(problem.contains(part), qPrintable(problem));
    }

    void romSaveNeedsTheEmulatorShown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("before a pick") << "Choose an Emulator"
                                       << "" << false;
        QTest::newRow("before a pick, a name typed") << "Arcade"
                                                     << "" << false;
        QTest::newRow("picked") << "Arcade"
                                << "Arcade" << true;
        QTest::newRow("unknown typed") << "Nope"
                                       << "Arcade" << false;
        QTest::newRow("other emulator typed") << "Console"
                                              << "Arcade" << false;
        QTest::newRow("case differs") << "arcade"
                                      << "Arcade" << false;
    }
    void romSaveNeedsTheEmulatorShown()
    {
        QFETCH(QString, text);
        QFETCH(QString, loaded);
        QFETCH(bool, allowed);
        QCOMPARE(RomSaveProblem(text, loaded, {"Arcade", "Console"}).isEmpty(), allowed);
    }
};

QTEST_GUILESS_MAIN(TestEditorRecords)
#include "test_editor_records.moc"
