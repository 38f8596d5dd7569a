// A Zanku killed at any moment, one of several on a library: nothing lost, nothing left.

#include "JournalLibrary.h"
#include "core/gamedata/GameData.h"

class JournalCrashTest : public QObject {
    Q_OBJECT
private slots:
    void crashedExtractionIsRemovedAtStart_data();
    void crashedExtractionIsRemovedAtStart();
    void aKilledZankuLosesNothing_data();
    void aKilledZankuLosesNothing();
    void aKeepThatFailedIsTriedAgain();
};

void JournalCrashTest::crashedExtractionIsRemovedAtStart_data()
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

void JournalCrashTest::crashedExtractionIsRemovedAtStart()
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
        launchInChild(child, library, {"Game"});
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
        QVERIFY(
            library.writeConfig({{"Micro", "emulator", library.path("emu/zips"), "", "", "none"}}));
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

void JournalCrashTest::aKilledZankuLosesNothing_data()
{
    QTest::addColumn<QString>("kill");
    for (const char *kill : {"two Zanku, one killed", "between spawn and record", "run seen ending",
                             "run ended before the start"})
        QTest::newRow(kill) << QString::fromLatin1(kill);
}

// A Zanku killed while its emulator runs (or before it records it, however long that
// takes): the save written 2 s later is kept, by another Zanku or at the next start, with
// the time played; another Zanku's folder is left alone meanwhile, and no box is shown.
void JournalCrashTest::aKilledZankuLosesNothing()
{
    QFETCH(QString, kill);
    TestLibrary library;
    writeLibrary(library);
    library.write("emu/emulator", R"sh(#!/bin/sh
d=$(dirname "$2"); [ -n "$KILL_PARENT" ] && kill -9 $PPID; sleep 2; echo saved >"$d/save.srm")sh");
    QProcess first, second;
    QByteArray said, saidToo;
    if (kill == "between spawn and record") { // kills it itself, a launch not yet recorded
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ZANKU_TEST_SPAWN_PAUSE_MS", "5000");
        environment.insert("KILL_PARENT", "1");
        first.setProcessEnvironment(environment);
        first.setWorkingDirectory(library.path());
        first.start(JOURNAL_CHILD, {"Game"});
        QVERIFY(first.waitForFinished() && first.exitStatus() == QProcess::CrashExit);
        said = first.readAllStandardOutput();
    } else {
        launchInChild(first, library, {"Game"}, &said);
        if (kill.startsWith("two"))
            launchInChild(second, library, {"Other"}, &saidToo);
        first.kill();
        QVERIFY(first.waitForFinished());
    }
    QVERIFY2(!(said + saidToo).contains("notice"), said + saidToo);
    const QString folder = library.path("emu/game.dsk");
    if (kill.endsWith("before the start"))
        QTRY_VERIFY_WITH_TIMEOUT(!zanku::TaggedProcessRunning(tagOf(folder)), 10000);
    library.core.start();
    QCOMPARE(QFileInfo::exists(folder), !kill.endsWith("before the start"));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 10000);
    QCOMPARE(library.read("Saves/Micro/game.dsk/save.srm"), "saved\n");
    const auto played = library.core.gameData().history().find({"Micro", "Game", "game.dsk"});
    QCOMPARE(played.has_value(), kill != "between spawn and record"); // recorded after
    QVERIFY(!played || played->seconds >= 1);
    if (kill.startsWith("two")) { // the other Zanku's, until it ends too
        QTRY_VERIFY(QFileInfo::exists(library.path("emu/other.dsk/save.srm")));
        library.core.CleanupExtraction();
        QVERIFY(QFileInfo::exists(library.path("emu/other.dsk/save.srm")));
        second.kill();
        QVERIFY(second.waitForFinished());
        library.core.CleanupExtraction();
        QVERIFY(!QFileInfo::exists(library.path("emu/other.dsk")));
        QCOMPARE(library.read("Saves/Micro/other.dsk/save.srm"), "saved\n");
    }
}

// A keep that failed, its folder listed by no journal (a read-only program directory):
// the next launch tries it again and plays on the folder as it is when it fails again.
void JournalCrashTest::aKeepThatFailedIsTriedAgain()
{
    TestLibrary library;
    writeLibrary(library);
    library.write("emu/emulator", "#!/bin/sh\necho saved >>\"$(dirname \"$2\")/save.srm\"");
    library.write("Saves", "in the way");
    library.core.start(); // its slots are the other Zanku's too
    {
        zanku::Library first(library.path());
        first.start();
        first.LaunchGame(first.keyOf(library.slotOf("Game")));
        QTRY_VERIFY(!first.anyEmulatorRunning());
        first.CleanupExtraction();
    }
    QVERIFY(QFile::remove(library.path("Zanku.extract")));
    library.core.start();
    library.core.LaunchGame(library.keyOf("Game"));
    QTRY_VERIFY(!library.core.anyEmulatorRunning());
    QCOMPARE(library.read("emu/game.dsk/save.srm"), "saved\nsaved\n");
    QVERIFY(library.notices.join('\n').contains("could not be kept"));
    QVERIFY(QFile::remove(library.path("Saves")));
    library.core.CleanupExtraction();
    QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk")));
    QCOMPARE(library.read("Saves/Micro/game.dsk/save.srm"), "saved\nsaved\n");
    RemoveTree(library.path("emu/game.dsk"));
}

QTEST_GUILESS_MAIN(JournalCrashTest)
#include "test_journal_crash.moc"
