#include "TestLibrary.h"
#include "core/gamedata/GameData.h"
#include "core/gamedata/PlayHistory.h"
#include "core/gamedata/PlayHistorySave.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// One emulator, "Micro", whose program ends at once (or runs `script`), listing "Game" and
// "Other", both present.
void writeLibrary(TestLibrary &library, const QByteArray &script = {})
{
    library.mkdir("emu");
    QVERIFY(QFile::copy(QStandardPaths::findExecutable("true"), library.path("emu/emulator")));
    if (!script.isEmpty())
        library.write("emu/emulator", script);
    library.write("emu/game.dsk");
    library.write("emu/other.dsk");
    QVERIFY(library.writeConfig({{"Micro", "emulator", library.path("emu"), "-disk %", "", ""}}));
    library.write("Micro.rom", "Game=game.dsk===\r\nOther=other.dsk===\r\n");
}

zanku::PlayHistory readBack(const TestLibrary &library)
{
    zanku::PlayHistory read;
    read.load(library.path());
    return read;
}

// A game as the file holds it now; never played when it holds none.
zanku::PlayHistory::Game savedGame(const TestLibrary &library, const zanku::GameKey &game)
{
    return readBack(library).find(game).value_or(zanku::PlayHistory::Game{});
}

// A second Zanku: launches "Game" and adds a favourite of its own `count` times, saving
// after each, while another does the same.
int launchBesideAnother(const QString &programDir, const QString &tag, int count)
{
    zanku::PlayHistory history;
    history.load(programDir);
    for (int i = 0; i < count; ++i) {
        history.launched({"Micro", "Game", "game.dsk"}, QDateTime::currentDateTimeUtc());
        history.setFavourite({"Micro", tag + QString::number(i), "f"}, true);
        history.save();
    }
    for (int tries = 0; tries < 50; ++tries) { // the last save may find the lock taken
        if (history.save())
            return 0;
    }
    return 1;
}
} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void whatWasPlayedIsKept();
    void linesOfAnotherEncodingAreKept();
    void onlyTheGamesChangedAreRewritten();
    void twoProgramsLoseNothing();
    void changesDuringASaveAreKept();
    void unreadableHistoryIsLeftAlone_data();
    void unreadableHistoryIsLeftAlone();
    void starAndLaunchesFollowTheGame_data();
    void starAndLaunchesFollowTheGame();
};

// Launches counted, time added when the emulator ends and not when its end is not seen,
// favourites and names kept, a bad line skipped and kept, the newest ten first.
void HistoryTest::whatWasPlayedIsKept()
{
    TestLibrary library;
    writeLibrary(library, "#!/bin/sh\nsleep 1.1\n");
    library.write("Zanku.played", "not a line of it\r\n");
    qint64 firstRun = 0;
    {
        zanku::Library core(library.path());
        core.start();
        const int slot = 1;                // "Game", the list's first line
        core.LaunchGame(core.keyOf(slot)); // counted once it ended well, with its time
        QVERIFY(!readBack(library).find({"Micro", "Game", "game.dsk"}));
        QTRY_VERIFY_WITH_TIMEOUT(savedGame(library, {"Micro", "Game", "game.dsk"}).seconds >= 1,
                                 5000);
        firstRun = readBack(library).find({"Micro", "Game", "game.dsk"})->seconds;
        core.gameData().setFavourite(core.keyOf(slot), true);
        core.LaunchGame(core.keyOf(slot)); // the program ends before the game does
    }
    const zanku::PlayHistory history = readBack(library);
    const auto game = history.find({"Micro", "Game", "game.dsk"});
    QVERIFY(game && game->launches == 2 && game->seconds == firstRun && game->favourite);
    QVERIFY(
        zanku::PlayHistory::describe(game).startsWith("Played 2 times, 0 min in all, last on "));
    QVERIFY(library.read("Zanku.played").endsWith("not a line of it\r\n"));

    library.core.start(); // renamed in its list: what it played goes with it
    const zanku::RomListRead list = library.core.readRomList("Micro");
    std::vector<GameRecord> renamed = list.records;
    for (GameRecord &record : renamed)
        record.Name = record.File == "game.dsk" ? "Game Deluxe" : record.Name;
    QCOMPARE(library.core.WriteRomList("Micro", renamed, list.version).status,
             zanku::SaveResult::Saved);
    QTRY_COMPARE(savedGame(library, {"Micro", "Game Deluxe", "game.dsk"}).launches, 2);

    zanku::PlayHistory many;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 12; ++i)
        many.launched({"E", QString::number(i), "f"}, now.addSecs(i % 2 ? i : -i));
    QStringList order;
    for (const auto &played : many.recent(10))
        order << played.key.name;
    QCOMPARE(order, (QStringList{"11", "9", "7", "5", "3", "1", "0", "2", "4", "6"}));
}

// A line in Latin-1 beside one in UTF-8: each keeps its bytes, the UTF-8 one its name.
void HistoryTest::linesOfAnotherEncodingAreKept()
{
    TestLibrary library;
    const QByteArray utf8 = "1 0 - 0 Micro\tCaf\xc3\xa9\tcafe.dsk\r\n";
    const QByteArray latin1 = "2 0 - 1 Micro\tCaf\xe9\tlatin.dsk\r\n";
    library.write("Zanku.played", utf8 + latin1);
    zanku::PlayHistory history = readBack(library);
    QVERIFY(history.find({"Micro", QString::fromUtf8("Caf\xc3\xa9"), "cafe.dsk"}));
    history.setFavourite({"Micro", "Game", "game.dsk"}, true);
    QVERIFY(history.save());
    const QByteArray saved = library.read("Zanku.played");
    QVERIFY(saved.startsWith(utf8) && saved.endsWith(latin1));
    QCOMPARE(readBack(library).games().size(), size_t(2));
}

// Lines of games not played here keep their bytes (their line ends, a date with an offset,
// an escape this program would not write); the game played is found by its key and
// rewritten where it is.
void HistoryTest::onlyTheGamesChangedAreRewritten()
{
    TestLibrary library;
    const QByteArray old = "1 60 2026-01-01T00:00:00+01:00 0 Micro\tOld\told.dsk\n";
    const QByteArray odd = "2 0 - 1 Micro\tA\\qB\tab.dsk\n";
    library.write("Zanku.played", old + "1 0 - 0 Micro\tGame\tgame.dsk\r\n" + odd);
    zanku::PlayHistory history = readBack(library);
    const QDateTime when(QDate(2026, 12, 5), QTime(10, 11, 12, 345), Qt::UTC);
    history.launched({"Micro", "Game", "game.dsk"}, when);
    history.setFavourite({"Micro", "AqB", "ab.dsk"}, false);
    QVERIFY(history.save());
    QCOMPARE(library.read("Zanku.played"),
             old + "2 0 2026-12-05T10:11:12.345Z 0 Micro\tGame\tgame.dsk\r\n" +
                 "2 0 - 0 Micro\tA\\qB\tab.dsk\n");
    QCOMPARE(history.find({"Micro", "Old", "old.dsk"})->seconds, 60);
}

// Two Zanku on one library, each saving its launches and favourites: none is lost.
// A save runs on a worker while the player goes on: what changed meanwhile is neither lost
// nor counted twice, and reaches the file with the next save.
void HistoryTest::changesDuringASaveAreKept()
{
    TestLibrary library;
    zanku::PlayHistory history;
    history.load(library.path());
    const zanku::GameKey game{"Micro", "Game", "game.dsk"}, other{"Micro", "Other", "o.dsk"};
    history.launched(game, QDateTime::currentDateTimeUtc());
    history.setFavourite(game, true);
    zanku::PlayHistorySave save(history);
    history.launched(game, QDateTime::currentDateTimeUtc().addSecs(5)); // while it runs
    history.played(game, 40);
    history.setFavourite(other, true);
    history.rename("Micro", "o.dsk", "Other", "Other II");
    save.run();
    QVERIFY(history.finishSave(save));
    QCOMPARE(savedGame(library, game).launches, 1);
    QCOMPARE(history.find(game)->launches, 2);
    QCOMPARE(history.find(game)->seconds, 40);
    QVERIFY(history.find(game)->favourite && history.find({"Micro", "Other II", "o.dsk"}));
    QVERIFY(history.hasChanges());
    QVERIFY(history.save());
    QVERIFY(!history.hasChanges());
    const zanku::PlayHistory::Game saved = savedGame(library, game);
    QCOMPARE(saved.launches, 2);
    QCOMPARE(saved.seconds, 40);
    QVERIFY(saved.favourite && savedGame(library, {"Micro", "Other II", "o.dsk"}).favourite);
}

void HistoryTest::twoProgramsLoseNothing()
{
    TestLibrary library;
    zanku::PlayHistory first, second;
    first.load(library.path());
    second.load(library.path());
    first.launched({"Micro", "Game", "game.dsk"}, QDateTime::currentDateTimeUtc());
    first.setFavourite({"Micro", "Other", "other.dsk"}, true);
    QVERIFY(first.save());
    second.launched({"Micro", "Game", "game.dsk"}, QDateTime::currentDateTimeUtc());
    second.played({"Micro", "Game", "game.dsk"}, 10);
    second.setFavourite({"Micro", "Game", "game.dsk"}, true);
    QVERIFY(second.save());
    first.launched({"Micro", "Game", "game.dsk"}, QDateTime::currentDateTimeUtc());
    QVERIFY(first.save());
    for (const zanku::PlayHistory &history : {first, readBack(library)}) {
        const auto game = history.find({"Micro", "Game", "game.dsk"});
        QVERIFY(game && game->launches == 3 && game->seconds == 10 && game->favourite);
        QVERIFY(history.find({"Micro", "Other", "other.dsk"})->favourite);
    }

    // The same from two processes at once.
    constexpr int Count = 40;
    QProcess a, b;
    const QString self = QCoreApplication::applicationFilePath();
    a.start(self, {"--launch", library.path(), "a", QString::number(Count)});
    b.start(self, {"--launch", library.path(), "b", QString::number(Count)});
    QVERIFY(a.waitForFinished(60000) && b.waitForFinished(60000));
    QCOMPARE(a.exitCode() + b.exitCode(), 0);
    const zanku::PlayHistory history = readBack(library);
    QCOMPARE(history.find({"Micro", "Game", "game.dsk"})->launches, 3 + 2 * Count);
    for (int i = 0; i < Count; ++i) {
        for (const QString tag : {"a", "b"}) {
            const auto favourite = history.find({"Micro", tag + QString::number(i), "f"});
            QVERIFY2(favourite && favourite->favourite, qPrintable(tag));
        }
    }
}

void HistoryTest::unreadableHistoryIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"folder", "named pipe", "over 64 MiB", "not permitted",
                             "lock is a named pipe", "lock on a full disk"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Never replaced: played games are counted for the session only, and the player is told
// once. A history behind a lock that cannot be taken is not written either.
void HistoryTest::unreadableHistoryIsLeftAlone()
{
    QFETCH(QString, kind);
    TestLibrary library;
    writeLibrary(library);
    const QString path = library.path("Zanku.played");
    if (kind == "folder") {
        library.mkdir("Zanku.played");
    } else if (kind.endsWith("named pipe")) { // QLockFile would wait for a writer to it
        const QString pipe = kind == "named pipe" ? path : path + ".lock";
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    }
    if (kind == "over 64 MiB" || kind == "not permitted" || kind.startsWith("lock")) {
        library.write("Zanku.played", "1 0 - 1 Micro\tOther\tother.dsk\r\n");
        if (kind == "not permitted" && ::geteuid() == 0)
            QSKIP("root reads any file");
        QFile file(path);
        if (kind == "over 64 MiB")
            QVERIFY(file.resize(zanku::PlayHistory::MaxFileSize + 1));
        else if (kind == "not permitted")
            QVERIFY(file.setPermissions(QFile::WriteOwner));
    }
    const QFileInfo before(path);
    library.core.start();
    const int slot = library.slotOf("Game");
    const rlimit full{1, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
    std::signal(SIGXFSZ, SIG_IGN);
    if (kind.endsWith("full disk")) // a byte a file, as root too
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
    for (int launch = 0; launch < 2; ++launch)
        library.core.LaunchGame(library.core.keyOf(slot));
    library.core.gameData().setFavourite(library.core.keyOf(slot), true);
    library.core.gameData().flush(); // saved on a worker: in the file before the disk has room
    ::setrlimit(RLIMIT_FSIZE, &none);
    QTRY_COMPARE(library.core.gameData().played(library.core.keyOf(slot))->launches, 2);
    QCOMPARE(library.notices.size(), 1);
    QVERIFY2(kind.startsWith("lock")
                 ? library.notices[0].startsWith("Error: Could not save ") &&
                       library.notices[0].contains(kind.endsWith("disk") ? "made: " : "")
                 : library.notices[0].startsWith("Error: Cannot read ") &&
                       library.notices[0].endsWith("What is played now will not be recorded."),
             qPrintable(library.notices[0]));
    const QFileInfo after(path);
    QCOMPARE(after.isDir(), kind == "folder");
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.lastModified(), before.lastModified());
    QCOMPARE(after.permissions(), before.permissions());
}

void HistoryTest::starAndLaunchesFollowTheGame_data()
{
    QTest::addColumn<bool>("renamed");
    QTest::newRow("as listed") << false;
    QTest::newRow("renamed, its editor still open") << true;
}

// The star set on a row is in the file at once (saved on a worker); a game renamed while the grid
// still shows its old name keeps its star and gathers its launches under the new one.
void HistoryTest::starAndLaunchesFollowTheGame()
{
    QFETCH(bool, renamed);
    TestLibrary library;
    writeLibrary(library);
    zanku::Library &core = library.core;
    core.start();
    const int slot = library.slotOf("Game");
    const zanku::GameKey key = core.keyOf(slot);
    core.LaunchGame(key);
    const QString name = renamed ? "Game Deluxe" : "Game";
    if (renamed) {
        const zanku::RomListRead list = core.readRomList("Micro");
        std::vector<GameRecord> games = list.records;
        games[0].Name = name;
        QCOMPARE(core.WriteRomList("Micro", games, list.version).status, zanku::SaveResult::Saved);
    }
    for (const bool star : {true, false, true}) {
        core.gameData().setFavourite(key, star);
        QTRY_COMPARE(savedGame(library, {"Micro", name, "game.dsk"}).favourite, star);
        QCOMPARE(core.gameData().isFavourite(key), star);
    }
    if (!renamed) { // a star taken off, and the history read again at once
        core.gameData().setFavourite(key, false);
        core.gameData().load(library.path());
        QVERIFY(!core.gameData().isFavourite(key));
    }
    core.LaunchGame(core.keyOf(slot));
    QTRY_COMPARE(savedGame(library, {"Micro", name, "game.dsk"}).launches, 2);
    const zanku::PlayHistory history = readBack(library);
    QCOMPARE(history.games().size(), size_t(1));
    QCOMPARE(core.slotOf(core.gameData().shownKey({"Micro", name, "game.dsk"})), slot);
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--launch") == 0)
        return launchBesideAnother(argv[2], argv[3], atoi(argv[4]));
    HistoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_history.moc"
