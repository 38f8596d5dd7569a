// The configuration editor's widget-free rules: modes, grid titles and widths, the
// grid <-> record conversions, the sort, the record checks and the chooser's lists.

#include "editor/EditorRecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Rows = std::vector<GridRow>;
Q_DECLARE_METATYPE(EditorMode)

class TestEditorRecords : public QObject {
    Q_OBJECT

private slots:
    void modeComesFromEditMode_data()
    {
        QTest::addColumn<QString>("editMode");
        QTest::addColumn<EditorMode>("mode");
        QTest::newRow("ROM") << "ROM" << EditorMode::Roms;
        QTest::newRow("EMU") << "EMU" << EditorMode::Emulators;
        QTest::newRow("lower case") << "rom" << EditorMode::Emulators;
        QTest::newRow("trailing blank") << "ROM " << EditorMode::Emulators;
        QTest::newRow("empty") << "" << EditorMode::Emulators;
    }
    void modeComesFromEditMode()
    {
        QFETCH(QString, editMode);
        QFETCH(EditorMode, mode);
        QCOMPARE(EditorModeFor(editMode), mode);
    }

    void titleStringsGiveTitlesAndAlignment()
    {
        const auto roms = ParseTitleString(TitleStringFor(EditorMode::Roms));
        QStringList titles;
        for (const GridColumnTitle &column : roms) {
            titles.append(column.title);
            QCOMPARE(column.alignment, Qt::AlignLeft);
        }
        QCOMPARE(titles, QStringList({"Game Name", "File or Dir Name", "Destination Dir",
                                      "Game Options", "Game Type"}));
        QCOMPARE(int(roms.size()), ColumnCountFor(EditorMode::Roms));

        titles.clear();
        for (const GridColumnTitle &column :
             ParseTitleString(TitleStringFor(EditorMode::Emulators)))
            titles.append(column.title);
        QCOMPARE(titles, QStringList({"Emulator Name", "Emul Program", "Emul Path",
                                      "Zipped Roms Path", "Emul Snapshot", "Emul Options"}));

        const auto marks = ParseTitleString(">Right|^Centre|Plain");
        QCOMPARE(marks[0].title, QString("Right"));
        QCOMPARE(marks[0].alignment, Qt::AlignRight);
        QCOMPARE(marks[1].alignment, Qt::AlignHCenter);
        QCOMPARE(marks[2].title, QString("Plain"));
    }

    void columnWidthsRoundTiesToEven_data()
    {
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("width");
        QTest::newRow("4 of 9375") << 9375 << 4 << 3750;
        QTest::newRow("2 of 9375") << 9375 << 2 << 1875;
        QTest::newRow("5 of 9375, tie up to even") << 9375 << 5 << 4688;
        QTest::newRow("3 of 9375, tie down to even") << 9375 << 3 << 2812;
        QTest::newRow("1 of 9375, tie up") << 9375 << 1 << 938;
        QTest::newRow("7 of 9375, tie down") << 9375 << 7 << 6562;
        QTest::newRow("1 of 125") << 125 << 1 << 12;
        QTest::newRow("1 of 135") << 135 << 1 << 14;
        QTest::newRow("below half") << 9374 << 1 << 937;
        QTest::newRow("above half") << 9376 << 1 << 938;
        QTest::newRow("zero") << 0 << 4 << 0;
    }
    void columnWidthsRoundTiesToEven()
    {
        QFETCH(int, gridWidth);
        QFETCH(int, tenths);
        QFETCH(int, width);
        QCOMPARE(ColumnWidthTwips(gridWidth, tenths), width);
    }

    void layoutWidthsOfBothModes()
    {
        std::vector<int> roms, emulators;
        for (int tenths : ColumnTenthsFor(EditorMode::Roms))
            roms.push_back(ColumnWidthTwips(9375, tenths));
        for (int tenths : ColumnTenthsFor(EditorMode::Emulators))
            emulators.push_back(ColumnWidthTwips(9375, tenths));
        QCOMPARE(roms, std::vector<int>({3750, 1875, 1875, 4688, 1875}));
        QCOMPARE(emulators, std::vector<int>({1875, 2812, 2812, 2812, 2812, 3750}));
    }

    void emulatorRowsFollowTheGridColumns()
    {
        EmulatorRecord emulator;
        emulator.Name = "Arcade";
        emulator.Program = "arc.exe";
        emulator.Path = "C:\\Arc";
        emulator.Options = "-f %";
        emulator.SnapshotPath = "C:\\Arc\\snap";
        emulator.ZippedRomPath = "C:\\Arc\\zip";
        const GridRow row = EmulatorToRow(emulator);
        QCOMPARE(row, QStringList({"Arcade", "arc.exe", "C:\\Arc", "C:\\Arc\\zip", "C:\\Arc\\snap",
                                   "-f %"}));
        QCOMPARE(RowToEmulator(row), emulator);
        QCOMPARE(RowToEmulator({"Only"}).Name, QString("Only"));
        QVERIFY(RowToEmulator({"Only"}).Options.isEmpty());
    }

    void gameRowsFollowTheGridColumns()
    {
        GameRecord game;
        game.Name = "Puzzle";
        game.File = "puzzle.nes";
        game.DestinationDir = "tmp";
        game.Options = "-x";
        game.Type = "Puzzle Game";
        game.EmulatorIndex = 3;
        game.Zipped = true;
        const GridRow row = GameToRow(game);
        QCOMPARE(row, QStringList({"Puzzle", "puzzle.nes", "tmp", "-x", "Puzzle Game"}));
        const GameRecord back = RowToGame(row);
        QCOMPARE(back.Name, game.Name);
        QCOMPARE(back.File, game.File);
        QCOMPARE(back.DestinationDir, game.DestinationDir);
        QCOMPARE(back.Options, game.Options);
        QCOMPARE(back.Type, game.Type);
        QCOMPARE(back.EmulatorIndex, 0);
        QCOMPARE(back.Zipped, false);
    }

    void sortIsCaseSensitiveAndStable()
    {
        const Rows rows = {{"b", "1"}, {"B", "2"}, {"a", "3"}, {"A", "4"},
                           {"b", "5"}, {"", "6"},  {"B", "7"}};
        const std::vector<int> order = SortedRowOrder(rows);
        QStringList seconds;
        for (int index : order)
            seconds.append(rows[size_t(index)].at(1));
        // Empty first, capitals before small letters, equal names in their old order.
        QCOMPARE(seconds, QStringList({"6", "4", "2", "7", "3", "1", "5"}));
        QVERIFY(SortedRowOrder({}).empty());
    }

    void recordChecks_data()
    {
        QTest::addColumn<EditorMode>("mode");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("refusal"); // empty: taken; else a part of the message
        QTest::addColumn<QString>("field");   // the field the message must name

        const auto games = EditorMode::Roms;
        const auto emus = EditorMode::Emulators;
        const QString missing = MissingNameOrFileText;
        // clang-format off
        QTest::newRow("game complete") << games << QStringList{"Pac", "pac.zip", "", "", ""} << "" << "";
        QTest::newRow("game no name") << games << QStringList{"", "pac.zip", "", "", ""} << missing << "";
        QTest::newRow("game no file") << games << QStringList{"Pac", "", "", "", ""} << missing << "";
        QTest::newRow("game blanks only") << games << QStringList{" ", "  ", "", "", ""} << "" << "";
        QTest::newRow("game paths need not exist") << games << QStringList{"G", "Z:\\none\\x.bin", "Q:\\nope", "", ""} << "" << "";
        QTest::newRow("game name =") << games << QStringList{"a=b", "f", "", "", ""} << "\"=\"" << "Game Name";
        QTest::newRow("game file =") << games << QStringList{"a", "f=g", "", "", ""} << "\"=\"" << "Game File or Directory";
        QTest::newRow("game destination =") << games << QStringList{"a", "f", "d=", "", ""} << "\"=\"" << "Destination Directory";
        QTest::newRow("game options =") << games << QStringList{"a", "f", "", "-x=1", ""} << "\"=\"" << "Game Options";
        QTest::newRow("game type = is free") << games << QStringList{"a", "f", "", "", "A=B"} << "" << "";
        QTest::newRow("game type line break") << games << QStringList{"a", "f", "", "", "A\nB"} << "line break" << "Game Type";
        QTest::newRow("game name carriage return") << games << QStringList{"a\rb", "f", "", "", ""} << "line break" << "Game Name";
        QTest::newRow("game options ; is free") << games << QStringList{"a", "f", "", ";x", ""} << "" << "";

        QTest::newRow("emulator complete") << emus << QStringList{"MAME", "mame.exe", "C:\\m", "", "", "%"} << "" << "";
        QTest::newRow("emulator no program") << emus << QStringList{"MAME", "", "C:\\m", "", "", ""} << missing << "";
        QTest::newRow("emulator options ;") << emus << QStringList{"MAME", "m", "", "", "", ";-x"} << "\";\"" << "Options";
        QTest::newRow("emulator options ; later") << emus << QStringList{"MAME", "m", "", "", "", "-x;"} << "" << "";
        QTest::newRow("emulator options = is free") << emus << QStringList{"MAME", "m", "", "", "", "-a=b"} << "" << "";
        QTest::newRow("emulator name with =") << emus << QStringList{"A=B", "m", "", "", "", ""} << "" << "";
        QTest::newRow("emulator name brackets") << emus << QStringList{"[A]", "m", "", "", "", ""} << "" << "";
        QTest::newRow("emulator program blanks") << emus << QStringList{"A", "   ", "", "", "", ""} << "" << "";
        for (const char *bad : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"}) {
            QTest::addRow("emulator name %s", bad)
                << emus << QStringList{QString("A%1B").arg(bad), "m", "", "", "", ""}
                << QString("\"%1\"").arg(bad) << "Emulator Name";
        }
        QTest::newRow("emulator name tab") << emus << QStringList{"A\tB", "m", "", "", "", ""} << "control" << "Emulator Name";
        QTest::newRow("emulator name dots") << emus << QStringList{"..", "m", "", "", "", ""} << "dots and blanks" << "Emulator Name";
        QTest::newRow("emulator name blanks") << emus << QStringList{"   ", "m", "", "", "", ""} << "dots and blanks" << "Emulator Name";
        QTest::newRow("emulator name dot blank") << emus << QStringList{". .", "m", "", "", "", ""} << "dots and blanks" << "Emulator Name";
        QTest::newRow("emulator name device") << emus << QStringList{"con", "m", "", "", "", ""} << "device" << "Emulator Name";
        QTest::newRow("emulator name device extension") << emus << QStringList{"NUL.x", "m", "", "", "", ""} << "device" << "Emulator Name";
        QTest::newRow("emulator name like a device") << emus << QStringList{"Console", "m", "", "", "", ""} << "" << "";
        QTest::newRow("emulator path line break") << emus << QStringList{"A", "m", "C:\\a\nb", "", "", ""} << "line break" << "Emulator Path";
        QTest::newRow("emulator snapshot line break") << emus << QStringList{"A", "m", "", "", "s\n", ""} << "line break" << "Snapshot Path";
        // clang-format on
    }
    void recordChecks()
    {
        QFETCH(EditorMode, mode);
        QFETCH(QStringList, row);
        QFETCH(QString, refusal);
        QFETCH(QString, field);
        const QString problem = RecordProblem(mode, row);
        if (refusal.isEmpty()) {
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            return;
        }
        QVERIFY2(problem.contains(refusal), qPrintable(problem));
        QVERIFY2(problem.contains(field), qPrintable(problem));
    }

    void missingFieldsComeFirst()
    {
        // The old message wins over every other problem of the record.
        QCOMPARE(RecordProblem(EditorMode::Roms, {"a=b", ""}), QString(MissingNameOrFileText));
        QCOMPARE(RecordProblem(EditorMode::Emulators, {}), QString(MissingNameOrFileText));
    }

    void romSaveNeedsTheEmulatorShown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("before a pick") << "Choose an Emulator"
                                       << "" << false;
        QTest::newRow("before a pick, a real name typed") << "Arcade"
                                                          << "" << false;
        QTest::newRow("picked") << "Arcade"
                                << "Arcade" << true;
        QTest::newRow("typed unknown") << "Nope"
                                       << "Arcade" << false;
        QTest::newRow("typed other emulator") << "Console"
                                              << "Arcade" << false;
        QTest::newRow("case differs") << "arcade"
                                      << "Arcade" << false;
    }
    void romSaveNeedsTheEmulatorShown()
    {
        QFETCH(QString, text);
        QFETCH(QString, loaded);
        QFETCH(bool, allowed);
        const QString problem = RomSaveProblem(text, loaded, {"Arcade", "Console"});
        QCOMPARE(problem.isEmpty(), allowed);
    }

    void ladderRunsFromTheRoot()
    {
        QTemporaryDir temp;
        const QString deep = temp.path() + "/a/b";
        QVERIFY(QDir().mkpath(deep));
        const QStringList ladder = DirectoryLadder(deep);
        QVERIFY(QDir(ladder.first()).isRoot());
        QCOMPARE(ladder.last(), QDir(deep).absolutePath());
        QCOMPARE(ladder.at(ladder.size() - 2), QDir(temp.path() + "/a").absolutePath());
        QCOMPARE(DirectoryLadder(QDir::rootPath()), QStringList({QDir::rootPath()}));
    }

    void listsOfSubdirectoriesAndPrograms()
    {
        QTemporaryDir temp;
        QDir dir(temp.path());
        QVERIFY(dir.mkdir("beta"));
        QVERIFY(dir.mkdir("alpha"));
        const auto touch = [&dir](const QString &name, bool executable) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
            file.close();
            if (executable)
                file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
        };
        touch("run.exe", true);
        touch("zrun", true);
        touch("notes.txt", false);
        QCOMPARE(SubdirectoriesOf(temp.path()),
                 QStringList({dir.absoluteFilePath("alpha"), dir.absoluteFilePath("beta")}));
#ifdef Q_OS_WIN
        QCOMPARE(ProgramFilesIn(temp.path()), QStringList({"run.exe"}));
#else
        QCOMPARE(ProgramFilesIn(temp.path()), QStringList({"run.exe", "zrun"}));
#endif
        QVERIFY(ProgramFilesIn(temp.path() + "/missing").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEditorRecords)
#include "test_editor_records.moc"
