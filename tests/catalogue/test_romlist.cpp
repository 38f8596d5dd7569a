#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "catalogue/RomList.h"

#include <QTest>

class RomListTest : public QObject {
    Q_OBJECT
private slots:
    void stripsTheLastExtension_data();
    void stripsTheLastExtension();
    void splitsAtTheFirstFourEquals_data();
    void splitsAtTheFirstFourEquals();
    void archivePath_data();
    void archivePath();
    void writesAndReadsBack();
    void readSkipsBlankLinesAndMissingFileIsEmpty();
};

void RomListTest::stripsTheLastExtension_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("one extension") << "puzzle.nes"
                                   << "puzzle";
    QTest::newRow("two dots") << "a.b.c"
                              << "a.b";
    QTest::newRow("only an extension") << ".nes"
                                       << "";
    QTest::newRow("final dot") << "puzzle."
                               << "puzzle.";
    QTest::newRow("no dot") << "puzzle"
                            << "puzzle";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("single dot") << "."
                                << ".";
    QTest::newRow("two final dots") << "a.."
                                    << "a";
    QTest::newRow("folder with a dot") << "dir.v2/game"
                                       << "dir";
}

void RomListTest::stripsTheLastExtension()
{
    QFETCH(QString, file);
    QFETCH(QString, stripped);
    const QString before = file;
    QCOMPARE(StripExtension(file), stripped);
    QCOMPARE(file, before);
}

void RomListTest::splitsAtTheFirstFourEquals_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields"); // Name, File, DestinationDir, Options, Type

    QTest::newRow("five fields") << "Puzzle=puzzle.nes=dest=-x %=Puzzle Game"
                                 << QStringList{"Puzzle", "puzzle.nes", "dest", "-x %",
                                                "Puzzle Game"};
    QTest::newRow("empty fields") << "====" << QStringList{"", "", "", "", ""};
    QTest::newRow("surplus goes to the type")
        << "a=b=c=d=e=f==g" << QStringList{"a", "b", "c", "d", "e=f==g"};
    QTest::newRow("no equals") << "lonely" << QStringList{"lonely", "", "", "", ""};
    QTest::newRow("two equals") << "n=f=d" << QStringList{"n", "f", "d", "", ""};
    QTest::newRow("three equals") << "n=f=d=o" << QStringList{"n", "f", "d", "o", ""};
    QTest::newRow("blanks kept") << " n = f ===  " << QStringList{" n ", " f ", "", "", "  "};
}

void RomListTest::splitsAtTheFirstFourEquals()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    const GameRecord game = ParseRomLine(line);
    QCOMPARE((QStringList{game.Name, game.File, game.DestinationDir, game.Options, game.Type}),
             fields);
}

void RomListTest::archivePath_data()
{
    QTest::addColumn<QString>("zippedRomPath");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("archive");
    QTest::newRow("windows") << "C:\\Zips"
                             << "puzzle.nes" << QChar('\\') << "C:\\Zips\\puzzle.zip";
    QTest::newRow("native") << "/srv/zips"
                            << "puzzle.nes" << QChar('/') << "/srv/zips/puzzle.zip";
    QTest::newRow("no extension") << "zips"
                                  << "puzzle" << QChar('/') << "zips/puzzle.zip";
    QTest::newRow("empty path is the root") << ""
                                            << "puzzle.nes" << QChar('\\') << "\\puzzle.zip";
}

void RomListTest::archivePath()
{
    QFETCH(QString, zippedRomPath);
    QFETCH(QString, file);
    QFETCH(QChar, separator);
    QFETCH(QString, archive);
    QCOMPARE(ArchivePathFor(zippedRomPath, file, separator), archive);
}

void RomListTest::writesAndReadsBack()
{
    TestLibrary library;
    const std::vector<GameRecord> games = {
        {"Zed", "zed.nes", "", "", "Platform"},
        {"Alpha", "alpha", "out", "-w % -s", "Type=With=Equals"},
        {" ", "  ", "", "", ""},
    };
    QVERIFY(WriteRomList("My Emu", games));
    QCOMPARE(library.read("My Emu.rom"),
             QByteArray("Zed=zed.nes===Platform\r\nAlpha=alpha=out=-w % -s=Type=With=Equals\r\n"
                        " =  ===\r\n"));
    QCOMPARE(ReadRomList(library.path("My Emu.rom")), games);

    QVERIFY(WriteRomList("My Emu", {}));
    QCOMPARE(library.read("My Emu.rom"), QByteArray());
}

void RomListTest::readSkipsBlankLinesAndMissingFileIsEmpty()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("E.rom", "a=a.nes===\n\nb=b.nes===\r\n");
    QCOMPARE(ReadRomList(library.path("E.rom")).size(), size_t(2));
    QVERIFY(ReadRomList(library.path("missing.rom")).empty());
    QVERIFY(messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(RomListTest)
#include "test_romlist.moc"
