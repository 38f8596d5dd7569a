#include "TestLibrary.h"
#include "browser/CommandLine.h"
#include "browser/Launch.h"
#include "browser/PictureFit.h"

#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void nativeCommandKeepsTheGameOneWord_data();
    void nativeCommandKeepsTheGameOneWord();
    void resolvesTheProgram();
    void fitsThePicture_data();
    void fitsThePicture();
    void findsTheFirstGameOfAName();
    void snapshotPriority();
};

void CommandLineTest::commandLine_data()
{
    QTest::addColumn<QString>("emulatorOptions");
    QTest::addColumn<QString>("gameOptions");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("native");

    QTest::newRow("emulator options") << "-fullscreen %"
                                      << ""
                                      << "puzzle"
                                      << "emu.exe -fullscreen puzzle"
                                      << "emu.exe -fullscreen puzzle";
    QTest::newRow("game options win") << "-fullscreen %"
                                      << "-window % -sound"
                                      << "puzzle"
                                      << "emu.exe -window puzzle -sound"
                                      << "emu.exe -window puzzle -sound";
    QTest::newRow("file with an extension") << "-disk %"
                                            << ""
                                            << "game.dsk"
                                            << "emu.exe -disk .\\game.dsk\\game.dsk"
                                            << "emu.exe -disk ./game.dsk/game.dsk";
    QTest::newRow("no percent") << "-fullscreen"
                                << ""
                                << "puzzle"
                                << "emu.exe -fullscreen"
                                << "emu.exe -fullscreen";
    QTest::newRow("no options") << ""
                                << ""
                                << "puzzle"
                                << "emu.exe "
                                << "emu.exe ";
    QTest::newRow("last percent wins") << "% -x %"
                                       << ""
                                       << "puzzle"
                                       << "emu.exe % -x puzzle"
                                       << "emu.exe % -x puzzle";
    QTest::newRow("final dot is no extension") << "%"
                                               << ""
                                               << "puzzle."
                                               << "emu.exe puzzle."
                                               << "emu.exe puzzle.";
    QTest::newRow("blanks pass unquoted") << "-f %"
                                          << ""
                                          << "my game.rom"
                                          << "emu.exe -f .\\my game.rom\\my game.rom"
                                          << "emu.exe -f ./my game.rom/my game.rom";
}

void CommandLineTest::commandLine()
{
    QFETCH(QString, emulatorOptions);
    QFETCH(QString, gameOptions);
    QFETCH(QString, file);
    QFETCH(QString, windows);
    QFETCH(QString, native);
    const QString options = LaunchOptions(emulatorOptions, gameOptions);
    QCOMPARE(BuildCommandLine("emu.exe", options, GameArgument(file, u'\\')), windows);
    QCOMPARE(BuildCommandLine("emu.exe", options, GameArgument(file, u'/')), native);
}

void CommandLineTest::nativeCommandKeepsTheGameOneWord_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("game");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("plain") << "-fullscreen %"
                           << "puzzle" << QStringList{"-fullscreen", "puzzle"};
    QTest::newRow("blanks and quotes in the game")
        << "-f %"
        << "./my \"best\" game.rom/my \"best\" game.rom"
        << QStringList{"-f", "./my \"best\" game.rom/my \"best\" game.rom"};
    QTest::newRow("shell syntax stays text")
        << "%"
        << "$(rm -rf x); `y`" << QStringList{"$(rm -rf x); `y`"};
    QTest::newRow("quoted option words") << "--title \"Two Words\" --rom=%"
                                         << "g" << QStringList{"--title", "Two Words", "--rom=g"};
    QTest::newRow("last percent in its word") << "-a % -b x%y"
                                              << "g" << QStringList{"-a", "%", "-b", "xgy"};
    QTest::newRow("no percent") << "-x -y"
                                << "g" << QStringList{"-x", "-y"};
    QTest::newRow("empty") << ""
                           << "g" << QStringList{};
}

void CommandLineTest::nativeCommandKeepsTheGameOneWord()
{
    QFETCH(QString, options);
    QFETCH(QString, game);
    QFETCH(QStringList, arguments);
    const LaunchCommand command = BuildLaunchCommand("my emu", options, game);
    QCOMPARE(command.program, QStringLiteral("my emu"));
    QCOMPARE(command.arguments, arguments);
}

void CommandLineTest::resolvesTheProgram()
{
    TestLibrary library;
    library.write("emu dir/run me", "#!/bin/sh\n");
    QFile::setPermissions(library.path("emu dir/run me"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    library.write("emu dir/not executable");
    QCOMPARE(ResolveProgram("run me", library.path("emu dir")), library.path("emu dir/run me"));
    QCOMPARE(ResolveProgram(library.path("emu dir/run me"), "/"), library.path("emu dir/run me"));
    QCOMPARE(ResolveProgram("not executable", library.path("emu dir")), QString());
    QCOMPARE(ResolveProgram("", library.path("emu dir")), QString());
    QCOMPARE(ResolveProgram("zanku-no-such-program", library.path("emu dir")), QString());
    // A bare name not in the emulator's directory is looked up on the PATH.
    QVERIFY(!ResolveProgram("sh", library.path("emu dir")).isEmpty());
}

void CommandLineTest::fitsThePicture_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QPointF>("previous");
    QTest::addColumn<QRectF>("box");
    const QSizeF frame(6135, 5475); // design: usable 5800 wide, 5000 high

    QTest::newRow("no picture takes the design size")
        << QSizeF(0, 0) << QPointF(120, 300)
        << QRectF((6135 - 5895) / 2.0, (5475 - 5055) / 2.0 + 50, 5895, 5055);
    QTest::newRow("exactly frame width less 335 is not cut")
        << QSizeF(5800, 3000) << QPointF(1, 1)
        << QRectF(167.5, (5475 - 3000) / 2.0 + 50, 5800, 3000);
    QTest::newRow("one twip wider is cut")
        << QSizeF(5801, 3000) << QPointF(1, 1) << QRectF(167.5, 1287.5, 5800, 3000);
    QTest::newRow("too wide and too tall cuts only the width")
        << QSizeF(9000, 9000) << QPointF(7, 9) << QRectF(167.5, 9, 5800, 9000);
    QTest::newRow("too tall alone is cut")
        << QSizeF(4800, 6000) << QPointF(1, 1) << QRectF(667.5, 287.5, 4800, 5000);
    QTest::newRow("small pictures are centred 50 twips low")
        << QSizeF(4800, 3600) << QPointF(1, 1) << QRectF(667.5, 987.5, 4800, 3600);
}

void CommandLineTest::fitsThePicture()
{
    QFETCH(QSizeF, picture);
    QFETCH(QPointF, previous);
    QFETCH(QRectF, box);
    QCOMPARE(FitSnapshot(picture, QSizeF(5895, 5055), QSizeF(6135, 5475), previous), box);
}

void CommandLineTest::findsTheFirstGameOfAName()
{
    TestLibrary library;
    App().Games = {
        GameRecord{}, {"A", "a", "", "", ""}, {"B", "b", "", "", ""}, {"A", "a2", "", "", ""}};
    App().GameCount = 3;
    QCOMPARE(FindGame("A"), 1);
    QCOMPARE(FindGame("B"), 2);
    QCOMPARE(FindGame("a"), 0);
    QCOMPARE(FindGame(""), 0);
    App().GameCount = 1; // slots above the count are never read
    QCOMPARE(FindGame("B"), 0);
}

void CommandLineTest::snapshotPriority()
{
    TestLibrary library;
    library.mkdir("emu/snaps");
    const QString emulatorDir = library.path("emu");
    QCOMPARE(FindSnapshot("snaps", "game.nes", emulatorDir), QString());
    library.write("emu/snaps/game.bmp");
    QCOMPARE(FindSnapshot("snaps", "game.nes", emulatorDir), library.path("emu/snaps/game.bmp"));
    library.write("emu/snaps/game.gif");
    QCOMPARE(FindSnapshot("snaps", "game.nes", emulatorDir), library.path("emu/snaps/game.gif"));
    library.write("emu/snaps/game.jpg");
    QCOMPARE(FindSnapshot("snaps", "game.nes", emulatorDir), library.path("emu/snaps/game.jpg"));
    // An absolute snapshot directory works as well.
    QCOMPARE(FindSnapshot(library.path("emu/snaps"), "game", "/"),
             library.path("emu/snaps/game.jpg"));

    // Directories and hidden files do not count.
    library.mkdir("emu/snaps/dir.jpg");
    library.write("emu/snaps/dir.gif");
    QCOMPARE(FindSnapshot("snaps", "dir", emulatorDir), library.path("emu/snaps/dir.gif"));
    library.write("emu/snaps/.jpg");
    library.write("emu/snaps/.gif");
    QCOMPARE(FindSnapshot("snaps", ".nes", emulatorDir), QString());
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
