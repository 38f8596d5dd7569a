#include "TestLibrary.h"
#include "core/files/RemoveTree.h"
#include "core/unzip/ZipFixtures.h"

#include <QProcess>
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
};

void JournalTest::crashedExtractionIsRemovedAtStart_data()
{
    QTest::addColumn<QString>("after");
    for (const char *after : {"nothing", "new folder", "journal cut short", "journal garbage"})
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
    }
    const bool removed = after == "nothing";
    QCOMPARE(startAgain(library), removed);
    QCOMPARE(QFileInfo::exists(library.path("emu/game.dsk/mine.txt")), after == "new folder");
    QVERIFY(QFileInfo::exists(library.path("outside/keep.txt")));
    QVERIFY(!QFileInfo::exists(library.path("Zanku.extract")));
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

QTEST_MAIN(JournalTest)
#include "test_journal.moc"
