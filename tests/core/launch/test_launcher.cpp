#include "TestLibrary.h"
#include "core/gamedata/GameData.h"
#include "core/import/ArchiveLines.h"
#include "core/launch/LaunchLog.h"
#include "core/launch/Launcher.h"
#include "core/launch/PlayersFiles.h"
#include "core/unzip/ArchiveFixtures.h"
#include "core/unzip/ZipFixtures.h"

#include <QSignalSpy>
#include <QTest>

namespace {
// An emulator that writes a save beside the game it was handed, then where it ran and what
// it was given into launched.txt in its own directory (whole, by a rename: a reader never
// sees it half written).
const QByteArray StandIn = R"sh(#!/bin/sh
for last in "$@"; do :; done
[ -f "$last" ] && echo SAVE >"$(dirname "$last")/game.srm"
printf '%s\n%s\n' "$(pwd -P)" "$*" >launched.tmp
mv launched.tmp launched.txt
exit 0
)sh";

// "Micro" lists "Game" (a file) and "Zipped" (only its archive); "Other" lists nothing of
// its own, in a directory of its own with options of its own.
void writeLibrary(TestLibrary &library)
{
    for (const QString dir : {"emu", "other"}) {
        library.write(dir + "/run", StandIn);
        QFile::setPermissions(library.path(dir + "/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    library.write("emu/game.dsk");
    library.mkdir("emu/zips");
    QVERIFY(MakeZip(library.path("emu/zips/zip.zip"), {{"zip.dsk", "DISK"}}));
    QVERIFY(library.writeConfig({{"Micro", "./run", library.path("emu"), "-own %", "", "zips"},
                                 {"Other", "./run", library.path("other"), "-other %", "", ""}}));
    library.write("Micro.rom", "Game=game.dsk==-game-options %=\r\nZipped=zip.dsk===\r\n");
    library.write("Other.rom", "");
}

// What the emulator in `dir` was given, once it has run: its directory, its arguments.
QStringList launchedIn(const TestLibrary &library, const QString &dir)
{
    const QString record = library.path(dir + "/launched.txt");
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(record); }, 5000))
        return {};
    const QStringList lines = QString::fromUtf8(library.read(dir + "/launched.txt")).split('\n');
    QFile::remove(record);
    return lines.mid(0, 2);
}
} // namespace

class LauncherTest : public QObject {
    Q_OBJECT
private slots:
    void launchWithAnotherEmulator();
    void alwaysLaunchWithOutlivesRestartsAndRenames();
    void eachEndIsToldOnce_data();
    void eachEndIsToldOnce();
    void theLogIsBounded();
    void archivesBesideTheGames_data();
    void archivesBesideTheGames();
    void renameWhileItRuns();
    void renameOntoKeptSaves_data();
    void renameOntoKeptSaves();
};

// Another emulator's program and options, in its own directory, with the game's own file by
// its full path; a zipped game extracted from its own emulator's archives, its save kept
// under its own emulator.
void LauncherTest::launchWithAnotherEmulator()
{
    TestLibrary library;
    writeLibrary(library);
    zanku::Library &core = library.core;
    core.start();
    core.LaunchGame(library.keyOf("Game"), "Other");
    QCOMPARE(launchedIn(library, "other"),
             (QStringList{library.path("other"), "-other " + library.path("emu/game.dsk")}));
    core.LaunchGame(library.keyOf("Game")); // its own: its own options, as stored
    QCOMPARE(launchedIn(library, "emu"),
             (QStringList{library.path("emu"), "-game-options game.dsk"}));

    core.LaunchGame(library.keyOf("Zipped"), "Other");
    QCOMPARE(launchedIn(library, "other"),
             (QStringList{library.path("other"), "-other " + library.path("emu/zip.dsk/zip.dsk")}));
    QTRY_VERIFY(!core.anyEmulatorRunning());
    core.CleanupExtraction();
    QTRY_VERIFY(!QFileInfo::exists(library.path("emu/zip.dsk")));
    QCOMPARE(ReadFile(zanku::SavesFolder(library.path(), "Micro", "zip.dsk") + "/game.srm"),
             "SAVE\n");
    QCOMPARE(core.gameData().played(library.keyOf("Zipped"))->launches, 1);

    core.LaunchGame(library.keyOf("Game"), "Gone"); // named, and not there: said, not started
    QVERIFY(library.notices.last().contains("Gone"));
}

// Enter's launch follows the choice; the choice is in the program's own file, read again
// after a restart, and follows the emulator's rename and the game's.
void LauncherTest::alwaysLaunchWithOutlivesRestartsAndRenames()
{
    TestLibrary library;
    writeLibrary(library);
    const QByteArray romList = library.read("Micro.rom");
    {
        zanku::Library first(library.path());
        first.start();
        first.gameData().setLaunchWith(first.keyOf(1), "Other");
    }
    QCOMPARE(library.read("Micro.rom"), romList);
    zanku::Library &core = library.core;
    core.start();
    QCOMPARE(core.gameData().launchWith(library.keyOf("Game")), "Other");
    core.LaunchGame(library.keyOf("Game"));
    QCOMPARE(launchedIn(library, "other").value(0), library.path("other"));

    QVERIFY(library.writeConfig({{"Micro", "./run", library.path("emu"), "-own %", "", "zips"},
                                 {"Second", "./run", library.path("other"), "-second %", "", ""}}));
    core.renameEmulator("Other", "Second");
    zanku::RomListRead list = core.readRomList("Micro");
    list.records[0].Name = "Game Deluxe";
    QCOMPARE(core.WriteRomList("Micro", list.records, list.version).status,
             zanku::SaveResult::Saved);
    core.reload();
    core.LaunchGame(library.keyOf("Game Deluxe"));
    QCOMPARE(launchedIn(library, "other").value(1), "-second " + library.path("emu/game.dsk"));

    core.gameData().setLaunchWith(library.keyOf("Game Deluxe"), "Micro"); // its own again
    core.LaunchGame(library.keyOf("Game Deluxe"));
    QCOMPARE(launchedIn(library, "emu").value(1), "-game-options game.dsk");
}

void LauncherTest::eachEndIsToldOnce_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("counted");
    QTest::addColumn<QString>("reason");   // empty: no failure
    QTest::addColumn<QString>("lastLine"); // its last non-empty line
    QTest::newRow("ends well") << QByteArray("echo fine\n") << true << QString() << QString();
    QTest::newRow("refuses the game")
        << QByteArray("echo 'ERROR: Unrecognized ROM file type' >&2\necho\nexit 3\n") << false
        << "it ended with status 3"
        << "ERROR: Unrecognized ROM file type";
    QTest::newRow("stopped by a signal") << QByteArray("echo crashing\nkill -SEGV $$\n") << false
                                         << "it was stopped by signal 11 (Segmentation fault)"
                                         << "crashing";
    QTest::newRow("fails after a while")
        << QByteArray("sleep 6\necho 'lost the disc' >&2\nexit 2\n") << true
        << "it ended with status 2"
        << "lost the disc";
    QTest::newRow("cannot be started")
        << QByteArray() << false << "./run could not be started: the program is not executable"
        << QString();
}

// A launch counts as played only once the game could be played; a failure is told with
// the emulator's last words, which its log keeps; a rename while it runs moves its key.
void LauncherTest::eachEndIsToldOnce()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, counted);
    QFETCH(QString, reason);
    QFETCH(QString, lastLine);
    TestLibrary library;
    writeLibrary(library);
    if (!script.isEmpty())
        library.write("emu/run", "#!/bin/sh\n" + script);
    else
        QFile::setPermissions(library.path("emu/run"), QFile::ReadOwner | QFile::WriteOwner);
    zanku::Launcher launcher(library.path(), nullptr, library.path("logs"));
    QSignalSpy started(&launcher, &zanku::Launcher::started);
    QSignalSpy ended(&launcher, &zanku::Launcher::ended);
    QSignalSpy failed(&launcher, &zanku::Launcher::failed);
    const EmulatorRecord micro{"Micro", "./run", library.path("emu"), "%", "", ""};
    launcher.start(
        {{"Micro", "Game", "game.dsk"}, {"Game", "game.dsk", "", "", "", 1}, micro, micro});
    launcher.renameGame("Micro", "game.dsk", "Game", "Game II"); // while it runs
    QTRY_VERIFY_WITH_TIMEOUT(launcher.running() == 0, 10000);
    const zanku::GameKey renamed{"Micro", script.isEmpty() ? "Game" : "Game II", "game.dsk"};
    QCOMPARE(started.size(), int(counted));
    QCOMPARE(ended.size(), int(counted));
    if (counted)
        QCOMPARE(ended[0][0].value<zanku::GameKey>(), renamed);
    QCOMPARE(failed.size(), int(!reason.isEmpty()));
    const QString log = library.path("logs/Micro.log");
    QVERIFY(library.read("logs/Micro.log").startsWith("=== Zanku: "));
    if (reason.isEmpty())
        return;
    const auto failure = failed[0][0].value<zanku::LaunchFailure>();
    QCOMPARE(failure.key, renamed);
    QVERIFY2(failure.reason.startsWith(reason), qPrintable(failure.reason));
    QCOMPARE(failure.lastLine, lastLine);
    QCOMPARE(failure.played, counted);
    QCOMPARE(failure.log, log);
    QVERIFY(library.read("logs/Micro.log").contains(lastLine.toUtf8()));
}

// Older launches go first; a launch that printed more than the bound keeps its last lines.
void LauncherTest::theLogIsBounded()
{
    TestLibrary library;
    const QString log = library.path("logs/Micro.log");
    const QByteArray line = QByteArray(99, 'x') + '\n';
    auto launch = [&](const QString &game, int lines) {
        QVERIFY(zanku::BeginLaunchLog(log, game) > 0);
        QFile file(log);
        QVERIFY(file.open(QIODevice::Append));
        file.write(line.repeated(lines) + game.toUtf8() + " said its last\n");
    };
    for (const QString game : {"First", "Second", "Third"})
        launch(game, 1000); // 100 KB each
    zanku::BoundLaunchLog(log);
    QByteArray kept = library.read("logs/Micro.log");
    QVERIFY(kept.size() <= zanku::LaunchLogMaxBytes);
    QVERIFY(kept.startsWith("=== Zanku: ") && kept.contains(", Second\n") &&
            !kept.contains("First"));
    launch("Fourth", 3000); // 300 KB alone
    zanku::BoundLaunchLog(log);
    kept = library.read("logs/Micro.log");
    QVERIFY(kept.size() <= zanku::LaunchLogMaxBytes &&
            kept.size() > zanku::LaunchLogMaxBytes - 200);
    QVERIFY(kept.startsWith(line) && kept.endsWith("Fourth said its last\n"));
}

void LauncherTest::archivesBesideTheGames_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("namedAsFile"); // a line of old names the archive as its File
    QTest::newRow("zip") << ".zip" << false;
    QTest::newRow("7z") << ".7z" << false;
    QTest::newRow("7z named as the File, fixed") << ".7z" << true;
    QTest::newRow("zip named as the File, kept") << ".zip" << true;
}

// With no Zipped Rom Path the archives lie beside the games: listed, extracted, the save
// kept and the folder removed as for any zipped game.
void LauncherTest::archivesBesideTheGames()
{
    QFETCH(QString, extension);
    QFETCH(bool, namedAsFile);
    TestLibrary library;
    writeLibrary(library);
    const QString archive = library.path("other/beside" + extension);
    for (const QString &made : {archive, library.path("emu/beside" + extension)})
        QVERIFY(extension == ".zip" ? MakeZip(made, {{"beside.dsk", "DISK"}})
                                    : WriteFile(made, SevenZip({{"beside.dsk", "DISK"}})));
    const QString line = "Beside=beside" + (namedAsFile ? extension : ".dsk") + "===\r\n";
    library.write("Other.rom", line.toUtf8());
    zanku::Library &core = library.core;
    core.start();
    if (namedAsFile) { // fixed where the catalogue reaches that archive: not in Micro's "zips"
        zanku::RomListRead list = core.readRomList("Other");
        const auto fixes = ArchiveLineFixes(core.emulator(2), library.path(), list.records);
        QVERIFY(ArchiveLineFixes(core.emulator(1), library.path(), list.records).empty());
        QCOMPARE(fixes.size(), size_t(extension == ".7z"));
        if (fixes.empty())
            return;
        QCOMPARE(fixes[0].file, "beside.dsk");
        list.records[size_t(fixes[0].row)].File = fixes[0].file;
        QCOMPARE(core.WriteRomList("Other", list.records, list.version).status,
                 zanku::SaveResult::Saved);
        core.reload();
    }
    QVERIFY(core.game(library.slotOf("Beside")).Zipped);
    core.LaunchGame(library.keyOf("Beside"));
    QCOMPARE(launchedIn(library, "other").value(1), "-other ./beside.dsk/beside.dsk");
    QTRY_VERIFY(!core.anyEmulatorRunning());
    core.CleanupExtraction();
    QTRY_VERIFY(!QFileInfo::exists(library.path("other/beside.dsk")));
    QCOMPARE(ReadFile(zanku::SavesFolder(library.path(), "Other", "beside.dsk") + "/game.srm"),
             "SAVE\n");
    QVERIFY(QFileInfo::exists(archive));
}

// A folder in use belongs to its game: the emulator renamed meanwhile, the save written
// after the rename and the time played are kept under the new name.
void LauncherTest::renameWhileItRuns()
{
    TestLibrary library;
    writeLibrary(library);
    library.write("emu/run", "#!/bin/sh\nfor last in \"$@\"; do :; done\nsleep 1.5\n"
                             "echo SAVE >\"$(dirname \"$last\")/game.srm\"\n");
    zanku::Library &core = library.core;
    core.start();
    core.LaunchGame(library.keyOf("Zipped"));
    QVERIFY(core.anyEmulatorRunning());
    QVERIFY(library.writeConfig({{"Renamed", "./run", library.path("emu"), "-own %", "", "zips"},
                                 {"Other", "./run", library.path("other"), "-other %", "", ""}}));
    QVERIFY(core.renameEmulator("Micro", "Renamed").isEmpty());
    QTRY_VERIFY(!core.anyEmulatorRunning());
    core.CleanupExtraction();
    QTRY_VERIFY(!QFileInfo::exists(library.path("emu/zip.dsk")));
    QCOMPARE(ReadFile(zanku::SavesFolder(library.path(), "Renamed", "zip.dsk") + "/game.srm"),
             "SAVE\n");
    const auto played = core.gameData().played({"Renamed", "Zipped", "zip.dsk"});
    QVERIFY(played && played->launches == 1 && played->seconds >= 1);
}

void LauncherTest::renameOntoKeptSaves_data()
{
    QTest::addColumn<int>("collision");
    QTest::addColumn<QStringList>("tree");
    QTest::newRow("merge") << int(zanku::SavesCollision::Merge)
                           << QStringList{"New/",
                                          "New/game.dsk/",
                                          "New/game.dsk/a (old).srm",
                                          "New/game.dsk/a.srm",
                                          "New/other.dsk/",
                                          "New/other.dsk/b.srm"};
    QTest::newRow("set aside") << int(zanku::SavesCollision::SetAside)
                               << QStringList{"New (old)/",
                                              "New (old)/game.dsk/",
                                              "New (old)/game.dsk/a.srm",
                                              "New (old)/other.dsk/",
                                              "New (old)/other.dsk/b.srm",
                                              "New/",
                                              "New/game.dsk/",
                                              "New/game.dsk/a.srm"};
}

// Kept saves of the new name (an emulator of that name removed earlier) are never what the
// renamed emulator's games load, and nothing is written over.
void LauncherTest::renameOntoKeptSaves()
{
    QFETCH(int, collision);
    QFETCH(QStringList, tree);
    TestLibrary library;
    library.write("Saves/Old/game.dsk/a.srm", "CURRENT");
    library.write("Saves/New/game.dsk/a.srm", "STALE");
    library.write("Saves/New/other.dsk/b.srm", "OTHER");
    QVERIFY(zanku::SavesCollide(library.path(), "Old", "New"));
    QVERIFY(zanku::RenameSaves(library.path(), "Old", "New", zanku::SavesCollision(collision))
                .isEmpty());
    QCOMPARE(Tree(library.path("Saves")), tree);
    QCOMPARE(library.read("Saves/New/game.dsk/a.srm"), "CURRENT");
}

QTEST_GUILESS_MAIN(LauncherTest)
#include "test_launcher.moc"
