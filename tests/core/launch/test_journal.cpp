#include "TestLibrary.h"
#include "core/files/RemoveTree.h"
#include "core/launch/Launch.h"
#include "core/unzip/ZipFixtures.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {
// Two zipped games, each archive also holding a file 61 folders deep (6,100 characters).
void writeLibrary(TestLibrary &library)
{
    library.mkdir("emu/zips");
    library.mkdir("outside");
    library.write("outside/keep.txt");
    QVERIFY(QFile::copy(FAKE_EMULATOR, library.path("emu/emulator")));
    const QByteArray deep = QByteArray("f").repeated(99).append('/').repeated(61) + "end.txt";
    for (const QByteArray game : {"game", "other"})
        QVERIFY(MakeZip(library.path("emu/zips/" + game + ".zip"),
                        {{game + ".dsk", "DISK"}, {deep, "deep"}}));
    QVERIFY(library.writeConfig(
        {{"Micro", "emulator", library.path("emu"), "-disk %", "snaps", "zips"}}));
    library.write("Micro.rom", "Game=game.dsk===\r\nOther=other.dsk===\r\n");
}

// A Zanku in the program directory that launches "Game", then runs until killed
// (QProcess::kill: SIGKILL, so nothing of the program runs any more).
void launchInChild(QProcess &child, const TestLibrary &library)
{
    child.setWorkingDirectory(library.path());
    child.start(JOURNAL_CHILD, {"Game"});
    while (!child.readAllStandardOutput().contains("launched"))
        QVERIFY(child.waitForReadyRead(30000));
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
    void whatTheEmulatorWroteIsKept();
    void aFolderThereAlreadyIsNeverTaken();
};

void JournalTest::crashedExtractionIsRemovedAtStart_data()
{
    QTest::addColumn<QString>("after");
    for (const char *after :
         {"nothing", "new folder", "journal cut short", "journal garbage", "emulator still runs",
          "marker of another", "outside the emulators", "lock left empty", "entry half-written"})
        QTest::newRow(after) << QString::fromLatin1(after);
}

void JournalTest::crashedExtractionIsRemovedAtStart()
{
    QFETCH(QString, after);
    TestLibrary library;
    writeLibrary(library);
    QProcess child;
    launchInChild(child, library);
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY(QFileInfo(library.path("emu/game.dsk/game.dsk")).isFile());
    const QStringList entry =
        QString(library.read("Zanku.extract")).split('\n').value(1).split(' ');
    QTRY_VERIFY(!zanku::ProcessRunning(entry.value(4).toLongLong(), entry.value(5).toULongLong()));
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
    } else if (after != "nothing") { // the emulator: this process, or killed before it started
        QStringList lines = QString(library.read("Zanku.extract")).split('\n');
        QStringList fields = lines[1].split(' ');
        const QByteArray stat = library.read("/proc/self/stat");
        const QList<QByteArray> own = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (after == "emulator still runs")
            fields[4] = QString::number(QCoreApplication::applicationPid()), fields[5] = own[19];
        else
            fields[0] = fields[1] = fields[2] = "-";
        lines[1] = fields.join(' ');
        library.write("Zanku.extract", lines.join('\n').toUtf8());
        if (after == "entry half-written") {
            RemoveTree(library.path("emu/game.dsk"));
            library.mkdir("emu/game.dsk");
        }
    }
    const bool removed =
        after == "nothing" || after == "lock left empty" || after == "entry half-written";
    QCOMPARE(startAgain(library), removed);
    QCOMPARE(QFileInfo::exists(library.path("emu/game.dsk")), !removed);
    QCOMPARE(QFileInfo::exists(library.path("emu/game.dsk/mine.txt")), after == "new folder");
    QVERIFY(QFileInfo::exists(library.path("outside/keep.txt")));
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
        library.core.LaunchGame(library.slotOf("Other"), "Other", {});
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
void JournalTest::whatTheEmulatorWroteIsKept()
{
    TestLibrary library;
    writeLibrary(library);
    library.write("emu/emulator", R"sh(#!/bin/sh
d=$(dirname "$2"); cat "$d/save.srm" >"$d/../seen.tmp" 2>/dev/null; mv "$d/../seen.tmp" "$d/../seen.txt"
echo saved >"$d/save.srm"; echo changed >>"$2"; sleep 0.5)sh");
    zanku::Library &core = library.core;
    core.start();
    QSignalSpy removed(&core, &zanku::Library::extractionRemoved);
    core.LaunchGame(library.slotOf("Game"), "Game", {});
    QTRY_VERIFY(QFileInfo::exists(library.path("emu/game.dsk/save.srm")));
    core.CleanupExtraction(); // another row is clicked while the game runs
    QVERIFY(QFileInfo::exists(library.path("emu/game.dsk/save.srm")) && removed.isEmpty());
    QVERIFY(removed.wait(5000));
    QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk")));
    QCOMPARE(library.read("Saves/Micro/game.dsk/save.srm"), "saved\n");
    QCOMPARE(library.read("Saves/Micro/game.dsk/game.dsk"), "DISKchanged\n");
    QCOMPARE(library.read("emu/seen.txt"), "");
    core.LaunchGame(library.slotOf("Game"), "Game", {});
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
    journal.recover({library.path("emu")});
    QVERIFY(QFileInfo::exists(library.path("emu/game.dsk")) && warning.isEmpty());
    QVERIFY(!QFileInfo::exists(library.path("Zanku.extract")));
}

QTEST_MAIN(JournalTest)
#include "test_journal.moc"
