#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "browser/GameListModel.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Config.h"
#include "catalogue/RomList.h"

#include <QTest>

namespace {
EmulatorRecord emulator(const QString &name, const QString &path, const QString &zips = "zips")
{
    return {name, "emu", path, "%", "snaps", zips};
}

// Loads the catalogue into a registered grid, as the main window does.
struct LoadedGrid {
    LoadedGrid()
    {
        App().Lista = &model;
        ReadConfig();
        LoadCatalogue();
    }
    ~LoadedGrid() { App().Lista = nullptr; }
    QStringList names() const
    {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.cell(row, 0));
        return result;
    }
    GameListModel model;
};

QStringList gameNames()
{
    QStringList names;
    for (int slot = 1; slot <= App().GameCount; ++slot)
        names.append(App().Games[size_t(slot)].Name);
    return names;
}
} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void noEmulatorsGivesAnEmptyGrid();
    void keepsOnlyPresentGames();
    void missingDirectoryIsReportedAndLoadingGoesOn();
    void missingRomListIsReported();
    void pathThatIsAFileIsReported();
    void emptyZippedRomPathLooksAtTheRoot();
    void fillsTheGridSortedWithTheEmulatorName();
    void sameNameUnderTwoEmulatorsGivesTwoRows();
    void loadsFarMoreThanFifteenHundredGames();
    void unreadableRomListIsReported();
    void relativeEmulatorPathIsTakenFromTheProgramDirectory();
    void windows1252PathFindsItsUtf8Folder();
    void countText_data();
    void countText();
};

void CatalogueTest::noEmulatorsGivesAnEmptyGrid()
{
    TestLibrary library;
    ScriptedMessages messages;
    LoadedGrid grid;
    QCOMPARE(App().GameCount, 0);
    QCOMPARE(grid.model.rowCount(), 0);
    QCOMPARE(grid.model.countText(), QStringLiteral("Games  ( 0 Roms )"));
    QVERIFY(messages.shown.isEmpty());
}

void CatalogueTest::keepsOnlyPresentGames()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("emu/file.nes");
    library.write("emu/both.nes");
    library.write("emu/zips/both.zip");
    library.write("emu/zips/puzzle.zip");
    library.write("emu/zips/bare.zip");
    library.write("emu/sub/deep.bin");
    library.write("emu/.hidden.nes");
    library.mkdir("emu/folder");
    library.write("emu/zips/extension.dsk.zip"); // not the archive of "extension.dsk"
    QVERIFY(WriteConfig({emulator("E", library.path("emu"))}));
    library.write("E.rom", "File=file.nes===T\r\n"
                           "Both=both.nes===T\r\n"
                           "Puzzle=puzzle.nes=dest=-x %=A=B\r\n"
                           "Bare=bare===\r\n"
                           "Folder=folder===\r\n"
                           "Deep=sub/deep.bin===\r\n"
                           "Hidden=.hidden.nes===\r\n"
                           "Gone=gone.nes===\r\n"
                           "Extension=extension.dsk===\r\n"
                           "\r\n"
                           "NoFile====\r\n"
                           "Short=file.nes\r\n"
                           "Absolute=" +
                               library.path("emu/file.nes").toLocal8Bit() + "===");
    LoadedGrid grid;

    QCOMPARE(gameNames(), (QStringList{"File", "Both", "Puzzle", "Bare", "Folder", "Deep", "Hidden",
                                       "Short", "Absolute"}));
    const auto &games = App().Games;
    QCOMPARE(games[1].Zipped, false);
    QCOMPARE(games[2].Zipped, false); // the file wins over its archive
    QCOMPARE(games[3].Zipped, true);
    QCOMPARE(games[3], (GameRecord{"Puzzle", "puzzle.nes", "dest", "-x %", "A=B", 1, true}));
    QCOMPARE(games[4].Zipped, true);
    QCOMPARE(games[5].Zipped, false);
    QCOMPARE(games[8], (GameRecord{"Short", "file.nes", "", "", "", 1, false}));
    QCOMPARE(grid.model.countText(), QStringLiteral("Games  ( 9 Roms )"));
    QVERIFY(messages.shown.isEmpty());
    // Loading leaves the last emulator's directory current.
    QCOMPARE(QDir::currentPath(), library.path("emu"));
}

void CatalogueTest::missingDirectoryIsReportedAndLoadingGoesOn()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("two/game.bin");
    const QString huge(300000, u'N'); // a message shows 200 characters of it
    QVERIFY(WriteConfig({emulator("One", library.path("nowhere")), emulator("Empty", ""),
                         emulator(huge, ""), emulator("Two", library.path("two"))}));
    library.write("One.rom", "Lost=game.bin===\r\n");
    library.write("Two.rom", "Found=game.bin===\r\n");
    LoadedGrid grid;

    QCOMPARE(messages.texts(),
             (QStringList{"Emulator One Not configured properly!! Path Not Found!",
                          "Emulator Empty Not configured properly!! Path Not Found!",
                          "Emulator " + huge.left(199) +
                              "\u2026 Not configured properly!! Path Not Found!"}));
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QCOMPARE(gameNames(), QStringList{"Found"});
    QCOMPARE(App().Games[1].EmulatorIndex, 4);
}

void CatalogueTest::missingRomListIsReported()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.mkdir("emu");
    QVERIFY(WriteConfig({emulator("Arcade", library.path("emu"))}));
    LoadedGrid grid;
    QCOMPARE(messages.texts(),
             QStringList{"File Arcade.rom Not Found! You'll not be able to play the game of this "
                         "Emulator!"});
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QCOMPARE(App().GameCount, 0);
    QCOMPARE(QDir::currentPath(), App().ProgramDir);
}

void CatalogueTest::pathThatIsAFileIsReported()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("notadir");
    QVERIFY(WriteConfig({emulator("E", library.path("notadir"))}));
    library.write("E.rom", "G=notadir===\r\n");
    LoadedGrid grid;
    QCOMPARE(messages.texts(), QStringList{"Emulator E Not configured properly!! Path Not Found!"});
    QCOMPARE(App().GameCount, 0);
}

void CatalogueTest::emptyZippedRomPathLooksAtTheRoot()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.mkdir("emu");
    // The archive name then begins with the separator: the root of the file system.
    library.write("emu/zanku-no-such-game.zip");
    QVERIFY(WriteConfig({emulator("E", library.path("emu"), "")}));
    library.write("E.rom", "G=zanku-no-such-game.nes===\r\n");
    LoadedGrid grid;
    QCOMPARE(App().GameCount, 0);
}

void CatalogueTest::fillsTheGridSortedWithTheEmulatorName()
{
    TestLibrary library;
    ScriptedMessages messages;
    for (const char *file : {"a", "b", "c", "d", "e", "f"})
        library.write(QStringLiteral("emu/%1").arg(file));
    QVERIFY(WriteConfig({emulator("Console", library.path("emu"))}));
    library.write("Console.rom", "zelda=a===Adventure\r\n10=b===\r\nApple=c===\r\n"
                                 "9=d===\r\napple=e===\r\nBanana=f===\r\n");
    LoadedGrid grid;
    QCOMPARE(grid.names(), (QStringList{"9", "10", "Apple", "apple", "Banana", "zelda"}));
    QCOMPARE(grid.model.cell(5, 1), QStringLiteral("Adventure"));
    QCOMPARE(grid.model.cell(5, 2), QStringLiteral("Console"));
    QCOMPARE(App().Games[size_t(grid.model.slotAt(5))].File, QStringLiteral("a"));
    QCOMPARE(grid.model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Game Name"));
    QCOMPARE(grid.model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Type"));
    QCOMPARE(grid.model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Emulator"));
}

void CatalogueTest::sameNameUnderTwoEmulatorsGivesTwoRows()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("one/game.bin");
    library.write("two/game.bin");
    QVERIFY(
        WriteConfig({emulator("One", library.path("one")), emulator("Two", library.path("two"))}));
    library.write("One.rom", "Same=game.bin===\r\n");
    library.write("Two.rom", "Same=game.bin===\r\n");
    LoadedGrid grid;
    QCOMPARE(grid.names(), (QStringList{"Same", "Same"}));
    QCOMPARE((QStringList{grid.model.cell(0, 2), grid.model.cell(1, 2)}),
             (QStringList{"One", "Two"}));
    // Each row keeps the slot of its own game.
    QCOMPARE(App().Games[size_t(grid.model.slotAt(0))].EmulatorIndex, 1);
    QCOMPARE(App().Games[size_t(grid.model.slotAt(1))].EmulatorIndex, 2);
}

void CatalogueTest::loadsFarMoreThanFifteenHundredGames()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.mkdir("emu");
    QByteArray lines;
    for (int i = 0; i < 4000; ++i) {
        library.write(QStringLiteral("emu/g%1.bin").arg(i));
        lines += QStringLiteral("Game %1=g%1.bin===\r\n").arg(i).toLatin1();
    }
    QVERIFY(WriteConfig({emulator("E", library.path("emu"))}));
    library.write("E.rom", lines);
    LoadedGrid grid;
    QCOMPARE(App().GameCount, 4000);
    QCOMPARE(grid.model.rowCount(), 4000);
    QCOMPARE(grid.model.countText(), QStringLiteral("Games  ( 4000 Roms )"));
}

void CatalogueTest::unreadableRomListIsReported()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.mkdir("emu");
    library.mkdir("E.rom");
    QVERIFY(WriteConfig({emulator("E", library.path("emu"))}));
    LoadedGrid grid;
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QVERIFY(messages.shown[0].text.contains("E.rom"));
    QCOMPARE(App().GameCount, 0);
}

void CatalogueTest::relativeEmulatorPathIsTakenFromTheProgramDirectory()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("first/one.bin");
    library.write("second/two.bin");
    QVERIFY(WriteConfig({emulator("A", "first"), emulator("B", "second")}));
    library.write("A.rom", "One=one.bin===\r\n");
    library.write("B.rom", "Two=two.bin===\r\n");
    LoadedGrid grid;
    QCOMPARE(gameNames(), (QStringList{"One", "Two"}));
    QVERIFY(messages.shown.isEmpty());
}

void CatalogueTest::windows1252PathFindsItsUtf8Folder()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write(QStringLiteral("Caf\u00e9/game.bin"));
    library.write("Zanku.ini", "[E]\r\ne\r\n" +
                                   library.path(QStringLiteral("Caf\u00e9")).toLatin1() +
                                   "\r\nz\r\ns\r\no\r\n;\r\n");
    library.write("E.rom", "G=game.bin===\r\n");
    LoadedGrid grid;
    QCOMPARE(gameNames(), QStringList{"G"});
    QVERIFY(messages.shown.isEmpty());
}

void CatalogueTest::countText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0 << "Games  ( 0 Roms )";
    QTest::newRow("twelve") << 12 << "Games  ( 12 Roms )";
    QTest::newRow("fifty thousand") << 50000 << "Games  ( 50000 Roms )";
}

void CatalogueTest::countText()
{
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(GameCountText(count), text);
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"
