#include "JournalLibrary.h"
#include "core/launch/Extractions.h"

class JournalTest : public QObject {
    Q_OBJECT
private slots:
    void whatTheEmulatorWroteIsKept_data();
    void whatTheEmulatorWroteIsKept();
    void aFolderThereAlreadyIsNeverTaken();
    void playersFilesAreNeverLost_data();
    void playersFilesAreNeverLost();
    void theFolderStaysWhileAnyEmulatorUsesIt_data();
    void theFolderStaysWhileAnyEmulatorUsesIt();
    void savesNamesNeverCollide();
    void theMarkerIsNeverWrittenShort();
    void nothingInTheWayHangsOrLeadsOut();
};

// An emulator that writes a save beside its game and changes the game, staying open a
// moment: the clean-up waits for it, keeps both, and the next launch finds them back.
void JournalTest::whatTheEmulatorWroteIsKept_data()
{
    QTest::addColumn<QString>("format"); // of the game's archive
    QTest::newRow("zip") << "zip";
    QTest::newRow("7z") << "7z";
}

void JournalTest::whatTheEmulatorWroteIsKept()
{
    QFETCH(QString, format);
    TestLibrary library;
    writeLibrary(library, format);
    library.write("emu/emulator", R"sh(#!/bin/sh
d=$(dirname "$2"); cat "$d/save.srm" >"$d/../seen.tmp" 2>/dev/null; mv "$d/../seen.tmp" "$d/../seen.txt"
echo saved >"$d/save.srm"; echo changed >>"$2"; sleep 0.5)sh");
    library.write("Saves/Micro/game.dsk/save.srm.zanku-part", "a copy cut short by a kill");
    zanku::Library &core = library.core;
    core.start();
    QSignalSpy removed(&core, &zanku::Library::extractionRemoved);
    core.LaunchGame(library.keyOf("Game"));
    QTRY_VERIFY(QFileInfo::exists(library.path("emu/game.dsk/save.srm")));
    QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk/save.srm.zanku-part"))); // no save
    core.CleanupExtraction(); // another row is clicked while the game runs
    QVERIFY(QFileInfo::exists(library.path("emu/game.dsk/save.srm")) && removed.isEmpty());
    QVERIFY(removed.wait(5000));
    QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk")));
    QCOMPARE(library.read("Saves/Micro/game.dsk/save.srm"), "saved\n");
    QCOMPARE(library.read("Saves/Micro/game.dsk/game.dsk"), "DISKchanged\n");
    QCOMPARE(library.read("emu/seen.txt"), "");
    core.LaunchGame(library.keyOf("Game"));
    QTRY_COMPARE(library.read("emu/seen.txt"), "saved\n"); // back before the emulator started
    QTRY_COMPARE(library.read("emu/game.dsk/game.dsk"), "DISKchanged\nchanged\n");
    core.CleanupExtraction();
    QVERIFY(removed.wait(5000));
    RemoveTree(library.path("emu/game.dsk"));
}

// Made by the player between the launch's look and its mkdir: not recorded, never removed.
void JournalTest::aFolderThereAlreadyIsNeverTaken()
{
    TestLibrary library;
    zanku::ExtractionJournal journal(library.path());
    QString warning;
    QVERIFY(!journal.begin(library.mkdir("emu/game.dsk"), "token", &warning));
    zanku::Extractions(library.path()).recover({library.path("emu")});
    QVERIFY(QFileInfo::exists(library.path("emu/game.dsk")) && warning.isEmpty());
    QVERIFY(!QFileInfo::exists(library.path("Zanku.extract")));
}

void JournalTest::playersFilesAreNeverLost_data()
{
    QTest::addColumn<QString>("emulator"); // what it does in its game's folder $d
    QTest::addColumn<bool>("elsewhere");   // the games on another file system than "Saves"
    QTest::addColumn<QString>("game");     // the game's File
    QTest::addColumn<QByteArray>("kept");  // the path in its "Saves" folder, as bytes
    QTest::newRow("name not UTF-8") << R"(printf s >"$d/SPIELST$(printf '\216')ND.SAV")" << false
                                    << "game.dsk" << QByteArray("SPIELST\x8eND.SAV");
    QTest::newRow("many folders deep")
        << "echo s >\"$d/save.srm\"" << false << QString("x/").repeated(90) + "game.dsk"
        << QByteArray("x/").repeated(90) + "save.srm"; // beside the game, in its folders
    QTest::newRow("a file where Saves goes")
        << "echo s >\"$d/save.srm\"" << false << "game.dsk" << QByteArray("save.srm");
    QTest::newRow("file system full")
        << "echo s >\"$d/save.srm\"; head -c 65536 /dev/zero >>\"$d/save.srm\"" << true
        << "game.dsk" << QByteArray("save.srm");
    QTest::newRow("a sparse disk elsewhere")
        << "truncate -s 1G \"$d/disk.img\"; echo s >>\"$d/disk.img\"" << true << "game.dsk"
        << QByteArray("disk.img");
}

// What the emulator writes survives every clean-up: kept in "Saves" when it can be, else
// left where it is (and said so, once) until it can; and it comes back at the next launch.
void JournalTest::playersFilesAreNeverLost()
{
    QFETCH(QString, emulator);
    QFETCH(bool, elsewhere);
    QFETCH(QString, game);
    QFETCH(QByteArray, kept);
    TestLibrary library;
    QTemporaryDir shm(QStringLiteral("/dev/shm/zanku-XXXXXX"));
    if (elsewhere &&
        (!shm.isValid() || IdentityOf(shm.path())->device == IdentityOf(library.path())->device))
        QSKIP("no second file system here");
    const QString emu = elsewhere ? shm.path() : library.mkdir("emu");
    QDir().mkpath(emu + "/zips");
    QDir().mkpath(QFileInfo(emu + "/zips/" + game).absolutePath());
    QVERIFY(MakeZip(emu + "/zips/" + game.chopped(4) + ".zip", {{game.toUtf8(), "DISK"}}));
    QVERIFY(QFile::copy(FAKE_EMULATOR, emu + "/emulator"));
    library.write(emu + "/emulator", ("#!/bin/sh\nd=$(dirname \"$2\")\n" + emulator).toUtf8());
    QVERIFY(library.writeConfig({{"Micro", "emulator", emu, "-disk %", "", "zips"}}));
    library.write("Micro.rom", ("Game=" + game + "===\r\n").toUtf8());
    zanku::Library &core = library.core;
    core.start();
    const QString folder = QDir::cleanPath(emu + "/" + game);
    const QByteArray saves = QFile::encodeName(zanku::SavesFolder(library.path(), "Micro", game));
    const QByteArray keptFile = saves + "/" + kept;
    struct stat st {};
    const auto keptSize = [&] {
        struct stat st {};
        return ::stat(keptFile.constData(), &st) == 0 ? qint64(st.st_size) : -1;
    };
    core.LaunchGame(core.keyOf(1));
    QTRY_VERIFY(!core.anyEmulatorRunning());
    QSignalSpy removed(&core, &zanku::Library::extractionRemoved);
    const bool blocked = QTest::currentDataTag() == QLatin1String("a file where Saves goes") ||
                         QTest::currentDataTag() == QLatin1String("file system full");
    if (QTest::currentDataTag() == QLatin1String("a file where Saves goes"))
        library.write("Saves", "in the way");
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit small{4096, unlimited.rlim_max};
    if (QTest::currentDataTag() == QLatin1String("file system full")) {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
        setrlimit(RLIMIT_FSIZE, &small);
    }
    core.CleanupExtraction();
    core.CleanupExtraction(); // said once
    setrlimit(RLIMIT_FSIZE, &unlimited);
    if (blocked) { // nothing deleted, the journal still lists it, the player told where
        QCOMPARE(library.notices.size(), 1);
        QVERIFY2(library.notices[0].contains("could not be kept"), qPrintable(library.notices[0]));
        QVERIFY(::stat(QFile::encodeName(folder) + "/" + kept, &st) == 0);
        QVERIFY(
            library.read("Zanku.extract").contains(QFile::encodeName(folder).toPercentEncoding()));
        QVERIFY(removed.isEmpty());
        QFile::remove(library.path("Saves"));
        core.CleanupExtraction(); // tried again
    }
    QCOMPARE(removed.size(), 1);
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY2(keptSize() > 0, keptFile);
    if (kept == "disk.img") { // its holes kept: a gigabyte written, a few pages on disk
        QVERIFY(::stat(keptFile.constData(), &st) == 0 && st.st_size == (1 << 30) + 2);
        QVERIFY(st.st_blocks * 512 < (1 << 20));
    }
    core.LaunchGame(core.keyOf(1)); // back before the emulator starts
    QTRY_VERIFY(!core.anyEmulatorRunning());
    QVERIFY(::stat(QFile::encodeName(folder) + "/" + kept, &st) == 0);
    core.CleanupExtraction();
    QVERIFY(!QFileInfo::exists(folder) && keptSize() > 0);
}

void JournalTest::theFolderStaysWhileAnyEmulatorUsesIt_data()
{
    QTest::addColumn<QString>("second"); // who uses the folder besides the first launch
    for (const char *second :
         {"a wrapper's own child", "a setsid -f wrapper", "a launch after a reload",
          "a second Zanku", "a Zanku started again"})
        QTest::newRow(second) << QString::fromLatin1(second);
}

// The emulator saves 1.5 s after its start, through a wrapper that ends at once, or while
// another launch of the same game ends first: the folder waits for the last of them, and
// the save is kept. A save the emulator deletes is not brought back.
void JournalTest::theFolderStaysWhileAnyEmulatorUsesIt()
{
    QFETCH(QString, second);
    TestLibrary library;
    writeLibrary(library);
    library.write("emu/real", "#!/bin/sh\nsleep 2; echo late >\"$(dirname \"$2\")/save.srm\"");
    QVERIFY(QFile::setPermissions(library.path("emu/real"), QFile::ExeOwner | QFile::ReadOwner));
    const bool wrapper = second.contains("wrapper");
    library.write("emu/emulator", second == "a setsid -f wrapper"     ? R"sh(#!/bin/sh
exec setsid -f "$(dirname "$0")/real" "$@" </dev/null >/dev/null 2>&1)sh"
                                  : second == "a wrapper's own child" ? R"sh(#!/bin/sh
d=$(dirname "$2"); (sleep 1.5; echo late >"$d/save.srm") </dev/null >/dev/null 2>&1 &
exit 0)sh"
                                                                      : R"sh(#!/bin/sh
d=$(dirname "$2"); n=$(cat "$d/../runs" 2>/dev/null || echo 0); echo $((n+1)) >"$d/../runs"
if mkdir "$d/../first" 2>/dev/null; then sleep 0.5; else sleep 1.5; rm -f "$d/old.srm"; echo late >"$d/save.srm"; fi)sh");
    library.write("Saves/Micro/game.dsk/old.srm", "deleted by the emulator");
    zanku::Library &core = library.core;
    core.start();
    QProcess other;
    if (second == "a second Zanku" || second == "a Zanku started again")
        launchInChild(other, library, {"Game", "--clean"}); // the first run, of 0.5 s
    else
        core.LaunchGame(library.keyOf("Game"));
    if (second == "a launch after a reload") {
        core.reload();
        core.LaunchGame(library.keyOf("Game"));
    } else if (!wrapper) {
        QTRY_COMPARE(library.read("emu/runs"), "1\n");
        if (second == "a Zanku started again") { // the first ends; the folder stays listed
            other.kill();
            other.waitForFinished();
            core.start();
        } else {
            core.reload(); // its catalogue sees the folder as the game itself
        }
        core.LaunchGame(library.keyOf("Game"));
    }
    core.CleanupExtraction();
    QTRY_COMPARE_WITH_TIMEOUT(library.read("Saves/Micro/game.dsk/save.srm"), "late\n", 10000);
    QCOMPARE(QFileInfo::exists(library.path("Saves/Micro/game.dsk/old.srm")),
             wrapper);                                             // the others delete it
    QTRY_VERIFY(!QFileInfo::exists(library.path("emu/game.dsk"))); // the one keeping it removes it
    other.kill();
    other.waitForFinished();
    RemoveTree(library.path("emu/game.dsk"));
}

void JournalTest::savesNamesNeverCollide()
{
    const QString longName = QString("\u00e9").repeated(140);
    const QStringList files{"a/b.dsk", "a_b.dsk", "a%2Fb.dsk",    "a\\b.dsk",    ".",
                            "..",      "",        longName + "1", longName + "2"};
    QSet<QString> names;
    for (const QString &file : files) {
        const QString name = zanku::SavesName(file);
        QVERIFY2(QFile::encodeName(name).size() <= 255 && !name.contains('/') && name != "." &&
                     name != ".." && !name.isEmpty(),
                 qPrintable(name));
        names.insert(name);
    }
    QCOMPARE(names.size(), files.size());
    // A folder of the name every "/" once became "_" is found, unless that name is another
    // game's own now: "a_b.dsk" played before "a/b.dsk" keeps its save.
    TestLibrary library;
    library.write("Saves/Micro/a_b.dsk/save.srm", "a_b's");
    library.write("Saves/Micro/x_y.dsk/save.srm", "x/y's");
    library.write("Micro.rom", "First=a/b.dsk===\r\nSecond=a_b.dsk===\r\nXY=x/y.dsk===\r\n");
    for (const QString file : {"a_b.dsk", "a/b.dsk", "x/y.dsk"})
        library.write("emu/" + file);
    QVERIFY(library.writeConfig({{"Micro", "emulator", library.path("emu"), "", "", ""}}));
    library.core.start();
    const auto saved = [&](const QString &file) {
        return library.read(zanku::SavesFolder(library.path(), "Micro", file) + "/save.srm");
    };
    QCOMPARE(saved("a_b.dsk"), "a_b's");
    QCOMPARE(saved("a/b.dsk"), "");
    QCOMPARE(saved("x/y.dsk"), "x/y's");
}

// A marker that cannot be written whole (a full disk: here a limit on the file size) leaves
// the one before as it was, and says so.
void JournalTest::theMarkerIsNeverWrittenShort()
{
    TestLibrary library;
    const QString folder = library.mkdir("game.dsk");
    zanku::ExtractionMarker marker;
    marker.token = "token";
    QVERIFY(zanku::WriteMarker(folder, marker));
    for (int i = 0; i < 500; ++i)
        marker.extracted.insert("file" + QByteArray::number(i), {1, 2});
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit small{4096, unlimited.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = zanku::WriteMarker(folder, marker, &error);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QVERIFY(!written && !error.isEmpty());
    QCOMPARE(zanku::ReadMarker(folder)->extracted.size(), 0);
}

// A pipe where the journal's lock goes hangs no start; a game file leading out of the
// emulator's folder extracts nothing there and starts nothing.
void JournalTest::nothingInTheWayHangsOrLeadsOut()
{
    TestLibrary library;
    writeLibrary(library);
    QCOMPARE(QProcess::execute("mkfifo", {library.path("Zanku.extract.lock")}), 0);
    QProcess child;
    launchInChild(child, library); // fails after 30 s rather than hang
    child.kill();
    child.waitForFinished();
    QVERIFY(QFileInfo(library.path("emu/game.dsk/game.dsk")).isFile());
    RemoveTree(library.path("emu/game.dsk"));

    library.mkdir("emu/outside");
    QVERIFY(MakeZip(library.path("emu/outside/escape.zip"), {{"escape.dsk", "OUT"}}));
    library.write("Micro.rom", "Escape=../outside/escape.dsk===\r\n");
    library.core.start();
    library.core.LaunchGame(library.keyOf("Escape"));
    QVERIFY(library.notices.join('\n').contains("leads out of the emulator's directory"));
    QVERIFY(!QFileInfo::exists(library.path("outside/escape.dsk")));
    QVERIFY(!library.core.anyEmulatorRunning());
}

QTEST_GUILESS_MAIN(JournalTest)
#include "test_journal.moc"
