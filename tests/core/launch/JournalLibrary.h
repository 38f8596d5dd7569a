#pragma once

// The library, the crashing child Zanku and the look at what it left, shared by the
// journal tests.

#include "TestLibrary.h"
#include "core/files/RemoveTree.h"
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

// Two zipped games, each archive also holding a file 61 folders deep (6,100 characters);
// "Game" in a 7-Zip archive when `format` is "7z".
inline void writeLibrary(TestLibrary &library, const QString &format = "zip")
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

// A Zanku in the program directory that launches "Game" (or the game named), then runs
// until killed (QProcess::kill: SIGKILL, so nothing of the program runs any more). What it
// said meanwhile, its boxes among it, goes to `said`.
inline void launchInChild(QProcess &child, const TestLibrary &library, const QStringList &more = {},
                          QByteArray *said = nullptr)
{
    QByteArray output;
    child.setWorkingDirectory(library.path());
    const bool named = !more.isEmpty() && !more[0].startsWith("-");
    child.start(JOURNAL_CHILD, (named ? QStringList() : QStringList{"Game"}) + more);
    while (!output.contains("launched") && child.waitForReadyRead(30000))
        output += child.readAllStandardOutput();
    QVERIFY(output.contains("launched"));
    if (said != nullptr)
        *said = output;
}

// The token of the folder's marker: what every process of its launch carries.
inline QString tagOf(const QString &folder)
{
    return zanku::ReadMarker(folder).value_or(zanku::ExtractionMarker{}).token;
}

// A Zanku launching "Game", its 7-Zip archive now 3,000 files more, killed while libarchive
// writes them (game.dsk, the first, is there already).
inline void killMidExtraction(QProcess &child, TestLibrary &library)
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
inline bool startAgain(const TestLibrary &library)
{
    zanku::Library again(library.path());
    again.start();
    for (int slot = 1; slot <= again.GameCount(); ++slot) {
        if (again.game(slot).Name == "Game")
            return again.game(slot).Zipped;
    }
    return false;
}
