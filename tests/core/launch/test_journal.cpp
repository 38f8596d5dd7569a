#include "TestLibrary.h"
#include "core/files/RemoveTree.h"
#include "core/launch/Extractions.h"
#include "core/launch/Launch.h"
#include "core/launch/PlayersFiles.h"
#include "core/unzip/ArchiveFixtures.h"
#include "core/unzip/ZipFixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
// Two zipped games, each archive also holding a file 61 folders deep (6,100 characters);
// "Game" in a 7-Zip archive when `format` is "7z".
void writeLibrary(TestLibrary &library, const QString &format = "zip")
{
    library.mkdir("emu/zips");
    library.mkdir("outside");
    library.write("outside/keep.txt");
    QVERIFY(QFile::copy(FAKE_EMULATOR, library.path("emu/emulator")));
    const QByteArray deep = QByteArray("f").repeated(99).append('/').repeated(61) + "end.txt";
    for (const QByteArray game : {"game", "other"})
        QVERIFY(MakeZip(library.path("emu/zips/" + game + ".zip"),
                        {{game + ".dsk", "DISK"}, {deep, "deep"}}));
    if (format == "7z") {
        QVERIFY(QFile::remove(library.path("emu/zips/game.zip")));
        library.write("emu/zips/game.7z", SevenZip({{"game.dsk", "DISK"}, {deep, "deep"}}));
    }
    QVERIFY(library.writeConfig(
        {{"Micro", "emulator", library.path("emu"), "-disk %", "snaps", "zips"}}));
    library.write("Micro.rom", "Game=game.dsk===\r\nOther=other.dsk===\r\n");
}

// A Zanku in the program directory that launches "Game", then runs until killed
// (QProcess::kill: SIGKILL, so nothing of the program runs any more).
void launchInChild(QProcess &child, const TestLibrary &library, const QStringList &more = {})
{
    child.setWorkingDirectory(library.path());
    child.start(JOURNAL_CHILD, QStringList{"Game"} + more);
    while (!child.readAllStandardOutput().contains("launched"))
        QVERIFY(child.waitForReadyRead(30000));
}

// A Zanku launching "Game", its 7-Zip archive now 3,000 files more, killed while libarchive
// writes them (game.dsk, the first, is there already).
void killMidExtraction(QProcess &child, TestLibrary &library)
{
    QList<ArchiveEntry> files{{"game.dsk", "DISK"}};
    for (int i = 0; i < 3000; ++i)
        files.append({"many/" + QByteArray::number(i), "x"});
    library.write("emu/zips/game.7z", SevenZip(files));
    child.setWorkingDirectory(library.path());
    child.start(JOURNAL_CHILD, {"Game"});
    const QDir many(library.path("emu/game.dsk/many"));
    QElapsedTimer waited;
    waited.start();
    while (many.isEmpty() && waited.elapsed() < 30000)
        QThread::usleep(200);
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY(!child.readAllStandardOutput().contains("launched"));
    QVERIFY(many.entryList(QDir::Files).size() < 3000);
}

// Starts Zanku again in the program directory; whether "Game" is listed as zipped.
bool startAgain(const TestLibrary &library)
{
    zanku::Library again(library.path());
    again.start();
    for (int slot = 1; slot <= again.GameCount(); ++slot) {
        if (again.game(slot).Name == "Game")
            return again.game(slot).Zipped;
    }
    return false;
}
} // namespace

class JournalTest : public QObject {
    Q_OBJECT
private slots:
    void crashedExtractionIsRemovedAtStart_data();
    void crashedExtractionIsRemovedAtStart();
    void secondInstanceLeavesTheFirstOnesExtractionAlone();
    void whatTheEmulatorWroteIsKept_data();
    void whatTheEmulatorWroteIsKept();
    void aFolderThereAlreadyIsNeverTaken();
    void playersFilesAreNeverLost_data();
    void playersFilesAreNeverLost();
    void theFolderStaysWhileAnyEmulatorUsesIt_data();
    void theFolderStaysWhileAnyEmulatorUsesIt();
    void savesNamesNeverCollide();
    void nothingInTheWayHangsOrLeadsOut();
};

void JournalTest::crashedExtractionIsRemovedAtStart_data()
{
    QTest::addColumn<QString>("after");
    for (const char *after :
         {"nothing", "new folder", "journal cut short", "journal garbage", "emulator still runs",
          "marker of another", "outside the emulators", "lock left empty", "entry half-written",
          "killed while extracting", "killed while keeping", "a copy with its marker",
          "a path ending in /..", "7z: nothing", "7z: killed while extracting",
          "7z: killed mid-extraction"})
        QTest::newRow(after) << QString::fromLatin1(after);
}

void JournalTest::crashedExtractionIsRemovedAtStart()
{
    QFETCH(QString, after);
    const QString format = after.startsWith("7z: ") ? "7z" : "zip";
    after.remove("7z: ");
    TestLibrary library;
    writeLibrary(library, format);
    QProcess child;
    if (after == "killed mid-extraction") {
        killMidExtraction(child, library);
    } else {
        launchInChild(child, library);
        child.kill();
        QVERIFY(child.waitForFinished());
    }
    QVERIFY(QFileInfo(library.path("emu/game.dsk/game.dsk")).isFile());
    const QStringList entry =
        QString(library.read("Zanku.extract")).split('\n').value(1).split(' ');
    const QStringList session = entry.value(4).split('.');
    QTRY_VERIFY(
        !zanku::SessionRunning({session.value(0).toLongLong(), session.value(1).toULongLong()}));
    QVERIFY(QFile::link(library.path("outside"), library.path("emu/game.dsk/link")));
    QFile journal(library.path("Zanku.extract"));
    if (after == "new folder") { // the player's own, given the old one's inode if it comes
        const QString folder = library.path("emu/game.dsk");
        const quint64 inode = IdentityOf(folder)->inode;
        QCOMPARE(QProcess::execute("rm", {"-rf", folder}), 0);
        for (int i = 0; QDir().mkdir(folder) && IdentityOf(folder)->inode != inode && i < 200; ++i)
            QDir().rename(folder, folder + QString::number(i));
        library.write("emu/game.dsk/mine.txt");
    } else if (after == "journal cut short") {
        QVERIFY(journal.resize(journal.size() - 3));
    } else if (after == "journal garbage") {
        QVERIFY(journal.open(QIODevice::WriteOnly) && journal.write("\0\xff\n[x", 5) == 5);
        journal.close();
    } else if (after == "marker of another") {
        library.write("emu/game.dsk/.zanku-extraction", "token\nMicro\ngame.dsk\n");
    } else if (after == "outside the emulators") { // a journal made to point elsewhere
        QVERIFY(library.writeConfig({{"Micro", "emulator", library.path("emu/zips"), "", "", ""}}));
    } else if (after == "lock left empty") { // by a power cut, a minute ago
        QFile lock(library.path("Zanku.extract.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                         QFileDevice::FileModificationTime);
    } else if (after.startsWith("killed while")) { // the marker says how far it came
        QString marker = library.read("emu/game.dsk/.zanku-extraction");
        marker.replace(QRegularExpression("state \\S+"),
                       after.endsWith("extracting") ? "state extracting" : "state keeping");
        library.write("emu/game.dsk/.zanku-extraction", marker.toUtf8());
        library.write("emu/game.dsk/save.srm", "saved");
        QVERIFY(QFile::remove(library.path("emu/game.dsk/game.dsk"))); // gone before the kill
    } else if (after == "a copy with its marker") {
        RemoveTree(library.path("emu/game.dsk/" + QString(99, 'f'))); // too deep for cp
        QCOMPARE(QProcess::execute("cp", {"-a", library.path("emu/game.dsk"), library.path("c")}),
                 0);
        RemoveTree(library.path("emu/game.dsk"));
        QVERIFY(QDir().rename(library.path("c"), library.path("emu/game.dsk")));
    } else if (after == "a path ending in /..") { // would name the emulator's own folder
        QStringList lines = QString(library.read("Zanku.extract")).split("\r\n");
        lines[1] += "%2F..";
        library.write("Zanku.extract", lines.join("\r\n").toUtf8());
    } else if (after != "nothing" &&
               after != "killed mid-extraction") { // the emulator: this process, or killed before
                                                   // it started
        QStringList lines = QString(library.read("Zanku.extract")).split('\n');
        QStringList fields = lines[1].split(' ');
        const QByteArray stat = library.read("/proc/self/stat");
        const QList<QByteArray> own = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (after == "emulator still runs")
            fields[4] = QString::number(QCoreApplication::applicationPid()) + '.' + own[19];
        else
            fields[0] = fields[1] = fields[2] = "-";
        lines[1] = fields.join(' ');
        library.write("Zanku.extract", lines.join('\n').toUtf8());
        if (after == "entry half-written") {
            RemoveTree(library.path("emu/game.dsk"));
            library.mkdir("emu/game.dsk");
        }
    }
    const bool removed = after == "nothing" || after == "lock left empty" ||
                         after == "entry half-written" || after == "journal cut short" ||
                         after.startsWith("killed");
    QCOMPARE(startAgain(library), removed);
    QCOMPARE(QFileInfo::exists(library.path("emu/game.dsk")), !removed);
    QCOMPARE(QFileInfo::exists(library.path("emu/game.dsk/mine.txt")), after == "new folder");
    QVERIFY(QFileInfo::exists(library.path("outside/keep.txt")));
    QVERIFY(QFileInfo::exists(library.path("emu/zips/game." + format)));
    QVERIFY(!QFileInfo::exists(library.path("Saves/Micro/game.dsk/many"))); // half-extracted
    QCOMPARE(library.read("Saves/Micro/game.dsk/save.srm"),
             after == "killed while keeping" ? "saved" : "");
    QCOMPARE(QFileInfo::exists(library.path("Zanku.extract")), after == "emulator still runs");
    RemoveTree(library.path("emu/game.dsk")); // too deep for the temporary folder's clean-up
}

void JournalTest::secondInstanceLeavesTheFirstOnesExtractionAlone()
{
    TestLibrary library;
    writeLibrary(library);
    QProcess first;
    launchInChild(first, library);
    QVERIFY(!startAgain(library));
    library.core.start();
    for (int launch = 0; launch < 2; ++launch) // one box for the session
        library.core.LaunchGame(library.keyOf("Other"));
    QVERIFY(QFileInfo(library.path("emu/other.dsk/other.dsk")).isFile());
    QCOMPARE(library.notices.size(), 1);
    QVERIFY(library.notices[0].startsWith("Error: ") &&
            library.notices[0].endsWith("will not be removed after a crash."));
    library.core.CleanupExtraction();
    QTRY_VERIFY(!QFileInfo::exists(library.path("emu/other.dsk"))); // once its emulator ends
    QVERIFY(QFileInfo(library.path("emu/game.dsk/game.dsk")).isFile());

    first.kill();
    QVERIFY(first.waitForFinished());
    QVERIFY(startAgain(library));
    QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk")));
}

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
    for (const char *second : {"a wrapper's own child", "a launch after a reload", "a second Zanku",
                               "a Zanku started again"})
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
    library.write("emu/emulator", second == "a wrapper's own child" ? R"sh(#!/bin/sh
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
        launchInChild(other, library, {"--clean"}); // the first run, of 0.5 s
    else
        core.LaunchGame(library.keyOf("Game"));
    if (second == "a launch after a reload") {
        core.reload();
        core.LaunchGame(library.keyOf("Game"));
    } else if (second != "a wrapper's own child") {
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
             second == "a wrapper's own child");                   // the others delete it
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
    TestLibrary library; // a folder of the name every "/" once became "_" is still found
    library.write("Saves/Micro/a_b.dsk/save.srm", "old");
    QCOMPARE(library.read(zanku::SavesFolder(library.path(), "Micro", "a/b.dsk") + "/save.srm"),
             "old");
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
