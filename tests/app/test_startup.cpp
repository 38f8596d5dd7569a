#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "app/StartupOptions.h"
#include "core/gamedata/GameData.h"
#include "core/launch/PlayersFiles.h"
#include "core/unzip/ZipFixtures.h"
#include "ui/browser/EmptyListHint.h"
#include "ui/browser/MainFrm.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTableView>

#include <csignal>
#include <sys/stat.h>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void options_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<int>("status");      // -1: the program goes on and starts
        QTest::addColumn<QString>("library"); // the program directory, from the start
        QTest::addColumn<QString>("printed"); // on standard error for status 2
        QTest::addColumn<bool>("gamepad");
        QTest::addColumn<bool>("fullScreen");
        const auto row = [](const char *name, const QByteArrayList &arguments, int status,
                            const QString &current, const QString &printed, bool pad = true,
                            bool full = false) {
            QTest::newRow(name) << arguments << status << current << printed << pad << full;
        };
        row("none of its own", {"-platform", "xcb"}, -1, "", "");
        row("made", {"--library", "a/b"}, -1, "a/b", "");
        row("= form", {"--library=lib"}, -1, "lib", "");
        row("@data", {"--library=@data"}, -1, "@data", ""); // in the test's own data folder
        row("under a file", {"--library", "/dev/null/lib"}, 2, "",
            "cannot create the library folder");
        row("no folder", {"--library"}, 2, "", "zanku: --library needs a folder\n");
        row("not UTF-8", {"--library=lib\xff"}, 2, "",
            "folder \"lib\uFFFD\" has a name that is not");
        row("no gamepad", {"--no-gamepad"}, -1, "", "", false);
        row("no gamepad, a library", {"--library=lib", "--no-gamepad"}, -1, "lib", "", false);
        row("help", {"--help"}, 0, "", "--library DIR");
        row("help on controllers", {"--help"}, 0, "", "--no-gamepad   do not let");
        row("version", {"--version"}, 0, "", "Zanku " ZANKU_VERSION "\n");
        row("help on launching", {"--help"}, 0, "", "--launch EMULATOR GAME\n");
        row("launch, no game", {"--launch", "Micro"}, 2, "", "--launch needs an emulator and");
        row("launch", {"--launch", "Micro", "Game", "--library=lib"}, -1, "lib", "");
        row("full screen", {"--full-screen", "--library=lib"}, -1, "lib", "", true, true);
        row("help on full screen", {"--help"}, 0, "", "--full-screen  open full screen");
    }
    void options()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(QString, library);
        QFETCH(bool, gamepad);
        QFETCH(bool, fullScreen);
        TestLibrary start;
        QDir::setCurrent(start.path()); // where the program is started
        const QByteArray odd = QFile::encodeName(start.path()) + "/lib\xff"; // not UTF-8
        QCOMPARE(::mkdir(odd, 0700), 0);
        const auto removeOdd = qScopeGuard([&] { ::rmdir(odd); });
        const StartupOutcome outcome = ApplyStartupOptions(arguments);
        QCOMPARE(outcome.start ? -1 : outcome.exitStatus, status);
        QVERIFY((status == 2 ? outcome.error : outcome.output).contains(printed));
        if (library == "@data")
            library = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (status == -1) {
            QCOMPARE(outcome.programDir, QDir::cleanPath(QDir(start.path()).filePath(library)));
            QVERIFY(QFileInfo(outcome.programDir).isDir());
            QCOMPARE(outcome.gamepad, gamepad);
            QCOMPARE(outcome.fullScreen, fullScreen);
        }
        QVERIFY(status != 2 || QDir(start.path()).isEmpty()); // nothing made
        QCOMPARE(QDir::currentPath(), start.path());          // never changed
        QDir::setCurrent(QDir::tempPath());
    }
    // `zanku --launch`, the program itself: a zipped game extracted, played with its save
    // kept, cleaned up, and the emulator's status the program's; a wrong name said in a line.
    void launch_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error"); // the start of the one line on standard error
        QTest::newRow("zipped") << QStringList{"Micro", "Zipped"} << 0 << "";
        QTest::newRow("refused") << QStringList{"Micro", "Refused"} << 7
                                 << "zanku: Refused did not start in Micro: it ended with status 7";
        QTest::newRow("saves not kept")
            << QStringList{"Micro", "Zipped"} << 1 << "zanku: The files the emulator wrote in ";
        QTest::newRow("no emulator")
            << QStringList{"Mikro", "Zipped"} << 2 << "zanku: no emulator is named \"Mikro\" in ";
        QTest::newRow("no game") << QStringList{"Micro", "Zip"} << 2
                                 << "zanku: the emulator \"Micro\" lists no game named \"Zip\"";
    }
    void launch()
    {
        QFETCH(QStringList, names);
        QFETCH(int, status);
        QFETCH(QString, error);
        TestLibrary library;
        library.write("emu/run",
                      "#!/bin/sh\nfor last in \"$@\"; do :; done\n"
                      "cat \"$last\" >seen && echo SAVE >\"$(dirname \"$last\")/a.srm\"\n"
                      "[ \"$(cat seen)\" = DISK ] || exit 7\n");
        QFile::setPermissions(library.path("emu/run"), QFile::ReadOwner | QFile::ExeOwner);
        library.mkdir("emu/zips");
        QVERIFY(MakeZip(library.path("emu/zips/zip.zip"), {{"zip.dsk", "DISK"}}));
        QVERIFY(MakeZip(library.path("emu/zips/bad.zip"), {{"bad.dsk", "BAD"}}));
        QVERIFY(library.writeConfig({{"Micro", "./run", library.path("emu"), "%", "", "zips"}}));
        library.write("Micro.rom", "Zipped=zip.dsk===\r\nRefused=bad.dsk===\r\n");
        const bool unkept = QTest::currentDataTag() == QByteArray("saves not kept");
        if (unkept) // a file where the kept saves go: the folder stays, said once, no wait
            library.write("Saves", "in the way");
        QProcess zanku;
        zanku.start(ZANKU_PROGRAM, QStringList{"--library", library.path(), "--launch"} + names);
        QVERIFY(zanku.waitForFinished(60000));
        QCOMPARE(zanku.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zanku.exitCode(), status);
        const QStringList said = QString::fromUtf8(zanku.readAllStandardError()).split('\n');
        QCOMPARE(said.size(), error.isEmpty() ? 1 : 2); // the last is after the line's end
        QVERIFY2(said[0].startsWith(error), qPrintable(said[0]));
        const bool started = status != 2, played = status == 0 || unkept; // refused: not played
        const QString file = names[1] == "Refused" ? "bad.dsk" : "zip.dsk";
        QCOMPARE(library.read("emu/seen"), started ? (played ? "DISK" : "BAD") : "");
        if (unkept) {
            QCOMPARE(library.read("emu/zip.dsk/a.srm"), "SAVE\n");
            return;
        }
        QVERIFY(!QFileInfo::exists(library.path("emu/" + file))); // cleaned up
        QCOMPARE(ReadFile(zanku::SavesFolder(library.path(), "Micro", file) + "/a.srm"),
                 started ? "SAVE\n" : "<missing>");
        library.core.start();
        const auto history = library.core.gameData().played(library.keyOf(names[1]));
        QCOMPARE(history ? history->launches : 0, played ? 1 : 0);
    }
    // An unpacked copy puts itself into the menu: its launcher quoted as the format wants.
    void installsTheDesktopEntry()
    {
        TestLibrary library; // its own XDG folders
        qputenv("ZANKU_BUNDLE", "/opt/my \"games\"/zanku");
        const StartupOutcome outcome = ApplyStartupOptions({"--install-desktop-entry"});
        qunsetenv("ZANKU_BUNDLE");
        QVERIFY(!outcome.start && outcome.exitStatus == 0);
        QFile entry(qEnvironmentVariable("XDG_DATA_HOME") +
                    "/applications/io.github.zanku.Zanku.desktop");
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nExec=\"/opt/my \\\\\"games\\\\\"/zanku\" "
                                         "--library=@data\nIcon=io.github.zanku.Zanku\n"));
    }
    void ignoresTheFileSizeSignal()
    {
        struct sigaction action {};
        std::signal(SIGXFSZ, SIG_DFL);
        IgnoreFileSizeSignal();
        QCOMPARE(::sigaction(SIGXFSZ, nullptr, &action), 0);
        QVERIFY(action.sa_handler == SIG_IGN);
    }
    // First start: guidance painted under where the rows go, only while nothing is set up.
    void guidance_data()
    {
        QTest::addColumn<int>("setup"); // 0 nothing, 1 an emulator, 2 one with a game
        QTest::addColumn<QString>("says");
        QTest::newRow("first start") << 0 << "No emulator yet: add one with Options";
        QTest::newRow("an emulator, no games yet") << 1 << "No games listed yet: list them with";
        QTest::newRow("a game") << 2 << "";
        QTest::newRow("Zanku.ini unreadable") << -1 << "Zanku.ini cannot be read: ";
    }
    void guidance()
    {
        QFETCH(int, setup);
        QFETCH(QString, says);
        TestLibrary library;
        ScriptedMessages messages;
        if (setup > 0)
            QVERIFY(library.writeConfig({{"Arcade", "emu", library.path("emu"), "%", "", "zips"}}));
        if (setup > 1)
            library.write("Arcade.rom", "Alpha=" + library.write("emu/a.bin").toUtf8() + "===\r\n");
        if (setup < 0)
            library.mkdir("Zanku.ini");
        MainFrm window(library.core);
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto *list = window.findChild<QTableView *>("Lista");
        QCOMPARE(list->model()->rowCount(), setup > 1 ? 1 : 0);
        const QImage image = list->viewport()->grab().toImage();
        const int top = image.height() / 4; // under the first rows
        QImage blank(image.width(), image.height() - top, image.format());
        blank.fill(list->palette().color(QPalette::Base));
        QCOMPARE(image.copy(0, top, blank.width(), blank.height()) != blank, setup <= 1);
        const QString hint = list->findChild<EmptyListHint *>()->text();
        QVERIFY2(says.isEmpty() ? hint.isEmpty() : hint.startsWith(says), qPrintable(hint));
        QVERIFY(!hint.contains("Config") || setup == 0); // no invitation the editor would refuse
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
