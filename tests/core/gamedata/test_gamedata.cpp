#include "TestLibrary.h"
#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "core/gamedata/GameData.h"
#include "core/gamedata/PlayerChoices.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

namespace {
const zanku::GameKey Game{"Micro", "Game", "game.dsk"}, Other{"Micro", "Other", "other.dsk"};

// A second Zanku: puts `count` games of its own into "Shared", saving after each, while
// another does the same.
int collectBesideAnother(const QString &programDir, const QString &tag, int count)
{
    zanku::PlayerChoices choices;
    choices.load(programDir);
    for (int i = 0; i < count; ++i) {
        choices.add("Shared", {"Micro", tag + QString::number(i), "f"});
        choices.save();
    }
    for (int tries = 0; tries < 50; ++tries) { // the last save may find the lock taken
        if (choices.save())
            return 0;
    }
    return 1;
}
} // namespace

class GameDataTest : public QObject {
    Q_OBJECT
private slots:
    void collectionsNarrowTheListAndFollowRenames();
    void twoZankuCollectAtOnce();
    void conflictCopiesAreMergedThenRemoved_data();
    void conflictCopiesAreMergedThenRemoved();
};

void GameDataTest::collectionsNarrowTheListAndFollowRenames()
{
    TestLibrary library;
    library.mkdir("emu");
    for (const QString file : {"game.dsk", "other.dsk", "third.dsk"})
        library.write("emu/" + file);
    QVERIFY(library.writeConfig({{"Micro", "true", library.path("emu"), "%", "", ""}}));
    library.write("Micro.rom", "Game=game.dsk===\r\nOther=other.dsk===\r\nThird=third.dsk===\r\n");
    zanku::Library &core = library.core;
    GameListModel games;
    zanku::GameFindModel shown(&games, core);
    QObject::connect(&core, &zanku::Library::catalogueChanged, [&] { games.FillGameList(core); });
    core.start();
    zanku::GameData &data = core.gameData();
    data.addToCollection(Game, "Couch & Co-op");
    data.addToCollection(Other, "Couch & Co-op");
    data.addToCollection(Other, "Kids");
    data.removeFromCollection(Game, "Kids"); // never in it: nothing changes
    shown.setShow(zanku::GameFindModel::Show::Collection, "Couch & Co-op");
    QCOMPARE(shown.rowCount(), 2);
    QCOMPARE(shown.countText(), "Games  ( 2 of 3 Roms )");
    QCOMPARE(data.collectionsOf(Other), (QStringList{"Couch & Co-op", "Kids"}));

    QVERIFY(!data.renameCollection("Kids", "Couch & Co-op")); // taken
    QVERIFY(data.renameCollection("Couch & Co-op", "Finished"));
    data.deleteCollection("Kids");
    // A game renamed in its list keeps its collections.
    zanku::RomListRead list = core.readRomList("Micro");
    list.records[0].Name = "Game Deluxe";
    QCOMPARE(core.WriteRomList("Micro", list.records, list.version).status,
             zanku::SaveResult::Saved);
    QVERIFY(data.isIn(Game, "Finished")); // the row still shows the old name
    core.reload();
    shown.setShow(zanku::GameFindModel::Show::Collection, "Finished");
    QCOMPARE(shown.rowCount(), 2);
    QCOMPARE(shown.keyAt(0), (zanku::GameKey{"Micro", "Game Deluxe", "game.dsk"}));

    zanku::PlayerChoices reread;
    reread.load(library.path());
    QCOMPARE(reread.collections(), QStringList{"Finished"});
    QVERIFY(reread.contains("Finished", {"Micro", "Game Deluxe", "game.dsk"}));
    QVERIFY(!reread.contains("Finished", Game));
}

void GameDataTest::twoZankuCollectAtOnce()
{
    constexpr int Count = 25;
    TestLibrary library;
    library.write("Zanku.choices", "collection\tShared\nsomething newer\tkept\n");
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(),
                {"--collect", library.path(), "b", QString::number(Count)});
    QCOMPARE(collectBesideAnother(library.path(), "a", Count), 0);
    QVERIFY(other.waitForFinished(30000));
    QCOMPARE(other.exitCode(), 0);
    zanku::PlayerChoices choices;
    choices.load(library.path());
    for (int i = 0; i < Count; ++i) {
        for (const QString tag : {"a", "b"})
            QVERIFY(choices.contains("Shared", {"Micro", tag + QString::number(i), "f"}));
    }
    QCOMPARE(choices.unreadLines(), std::vector<QByteArray>{"something newer\tkept"});
}

void GameDataTest::conflictCopiesAreMergedThenRemoved_data()
{
    QTest::addColumn<QString>("copy");
    QTest::addColumn<bool>("saved");
    QTest::newRow("syncthing") << "Zanku.sync-conflict-20261207-101010-ABCDEFG" << true;
    QTest::newRow("dropbox") << "Zanku (Laptop's conflicted copy 2026-12-07)" << true;
    QTest::newRow("owncloud") << "Zanku_conflict-20261207-101010" << true;
    QTest::newRow("merge not saved") << "Zanku.sync-conflict-1" << false;
}

// Plays, stars and collections of a synchroniser's copy: the larger count, the later time,
// a star from either, every collection; the copy removed only once its merge is saved.
void GameDataTest::conflictCopiesAreMergedThenRemoved()
{
    QFETCH(QString, copy);
    QFETCH(bool, saved);
    TestLibrary library;
    library.write("Zanku.played", "2 600 2026-12-01T10:00:00Z 0 Micro\tGame\tgame.dsk\r\n"
                                  "1 60 2026-12-06T10:00:00Z 0 Micro\tOther\tother.dsk\r\n");
    library.write(copy + ".played", "5 300 2026-11-01T10:00:00Z 1 Micro\tGame\tgame.dsk\r\n"
                                    "1 30 2026-12-07T10:00:00Z 0 Micro\tThird\tthird.dsk\r\n");
    library.write("Zanku.choices", "collection\tKids\n");
    library.write(copy + ".choices", "in\tCouch\tMicro\tOther\tother.dsk\r\nwith\tMicro\tGame\t"
                                     "game.dsk\tFast\r\n"); // edited on Windows
    if (!saved) // the locks are not files: nothing can be saved
        for (const QString file : {"Zanku.played.lock", "Zanku.choices.lock"})
            library.mkdir(file);
    zanku::GameData data;
    data.load(library.path());
    QCOMPARE(QFileInfo::exists(library.path(copy + ".played")), !saved);
    QCOMPARE(QFileInfo::exists(library.path(copy + ".choices")), !saved);
    if (!saved)
        return;
    zanku::GameData reread;
    reread.load(library.path());
    const auto game = reread.played(Game);
    QVERIFY(game && game->launches == 5 && game->seconds == 600 && game->favourite);
    QCOMPARE(game->lastPlayed, QDateTime::fromString("2026-12-01T10:00:00Z", Qt::ISODate));
    QCOMPARE(reread.played({"Micro", "Third", "third.dsk"})->seconds, 30);
    QCOMPARE(reread.played(Other)->seconds, 60);
    QCOMPARE(reread.collections(), (QStringList{"Kids", "Couch"}));
    QVERIFY(reread.isIn(Other, "Couch"));
    QCOMPARE(reread.launchWith(Game), "Fast");
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--collect") == 0)
        return collectBesideAnother(argv[2], argv[3], atoi(argv[4]));
    GameDataTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_gamedata.moc"
