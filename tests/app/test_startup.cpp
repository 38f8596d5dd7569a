#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "app/StartupOptions.h"
#include "ui/browser/EmptyListHint.h"
#include "ui/browser/MainFrm.h"

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
        const auto row = [](const char *name, const QByteArrayList &arguments, int status,
                            const QString &current, const QString &printed, bool pad = true) {
            QTest::newRow(name) << arguments << status << current << printed << pad;
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
    }
    void options()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(QString, library);
        QFETCH(bool, gamepad);
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
        }
        QVERIFY(status != 2 || QDir(start.path()).isEmpty()); // nothing made
        QCOMPARE(QDir::currentPath(), start.path());          // never changed
        QDir::setCurrent(QDir::tempPath());
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
