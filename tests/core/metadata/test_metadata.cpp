#include "TestLibrary.h"
#include "core/browse/GameListModel.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/metadata/GameMetadata.h"
#include "core/library/LibraryMetadata.h"
#include "core/metadata/MetadataMatch.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <tuple>

using zanku::GameMetadata;

namespace {
// Two entries each: the last, every field filled, behind one whose description is not ASCII.
const QByteArray Gamelist = R"(<?xml version="1.0"?>
<gameList>
  <folder><path>./first</path><name>First</name><desc>Ünïcode 🎮 first</desc></folder>
  <game id="7"><path>./Keen.zip</path><name>Commander Keen</name>
    <desc>Billy Blaze &amp; his <![CDATA[<ship>]]> — flies.</desc><unknown>x</unknown>
    <releasedate>19901214T000000</releasedate><developer>Id Software</developer>
    <publisher>Apogee</publisher><genre>Platform</genre><players>1-2</players>
    <rating>0.8</rating><image>./media/keen.png</image>
    <thumbnail>./media/keen-box.png</thumbnail><marquee>./media/keen-logo.png</marquee>
  </game>
</gameList>
)";
const QByteArray Pegasus =
    "collection: Arcade\nlaunch: run {file.path}\n\n# a comment\n"
    "game: First\nfile: first\ndescription: Ünïcode 🎮 first\n"
    "game: Commander Keen\nfiles:\n  ./Keen.zip\n  Keen.zip\r\n"
    "developer: Id Caf\xe9\npublisher: Apogee\ngenre: Platform\n"
    "players: 1-2\nrating: 80%\nrelease: 1990-12-14\n"
    "assets.screenshot: media/keen.png\nassets.box_front: media/keen-box.png\n"
    "assets.marquee: media/keen-logo.png\ndescription: Billy Blaze &\n"
    "  his ship\n#\n  .\n  flies.\nx-other: y\n";

const QByteArray Latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gameList><game><name>"
                          "Caf\xe9</name><desc>d\xe9j\xe0</desc></game><game><name>\xc9t\xe9</name>"
                          "<desc>\xe9t\xe9 &lt;</desc></game></gameList>";

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

zanku::MetadataRead readAs(const QString &format, const QString &path, qint64 max)
{
    return format != "pegasus" ? zanku::ReadGamelist(path, max)
                               : zanku::ReadPegasusMetadata(path, max);
}
} // namespace

class TestMetadata : public QObject {
    Q_OBJECT
private slots:
    void match_data();
    void match();
    void fields_data();
    void fields();
    void faults_data();
    void faults();
    void refused_data();
    void refused();
    void sources_data();
    void sources();
    void aLibraryGetsItsGamesDetails();
};

void TestMetadata::match_data()
{
    QTest::addColumn<QString>("entryPath");
    QTest::addColumn<QString>("entryName");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("archive"); // when zipped
    QTest::addColumn<int>("expected");    // the entry found: ours, the decoy or none
    const std::pair<const char *, std::array<QString, 5>> rows[] = {
        {"relative", {"./Keen.zip", "", "Keen.zip", "", "1"}},
        {"bare", {"Keen.zip", "", "Keen.zip", "", "1"}},
        {"cleaned", {"./sub/../Keen.zip", "", "Keen.zip", "", "1"}},
        {"up and back", {"../games/Keen.zip", "", "Keen.zip", "", "1"}},
        {"absolute", {"/games/Keen.zip", "", "Keen.zip", "", "1"}},
        {"absolute game", {"Keen.zip", "", "/games/./Keen.zip", "", "1"}},
        {"outside", {"/other/Keen.zip", "", "Keen.zip", "", "-1"}},
        {"other case", {"./keen.zip", "", "Keen.zip", "", "-1"}},
        {"zipped", {"./Keen.zip", "", "KEEN.EXE", "Keen.zip", "1"}},
        {"zipped member", {"./KEEN.EXE", "", "KEEN.EXE", "Keen.zip", "-1"}},
        {"by name", {"./k.zip", " commander KEEN", "Keen.zip", "", "1"}},
        {"path before name", {"./k.zip", "Commander Keen", "Other.zip", "", "0"}},
        {"none", {"./k.zip", "Keen", "Keen.zip", "", "-1"}}};
    for (const auto &[name, row] : rows)
        QTest::newRow(name) << row[0] << row[1] << row[2] << row[3] << row[4].toInt();
}

void TestMetadata::match()
{
    QFETCH(QString, entryPath);
    QFETCH(QString, entryName);
    QFETCH(QString, file);
    QFETCH(QString, archive);
    QFETCH(int, expected);
    zanku::MetadataFields decoy, entry;
    decoy.path = "Other.zip";
    entry.path = entryPath;
    entry.name = entryName;
    const std::vector<GameMetadata> entries{GameMetadata(decoy), GameMetadata(entry)};
    const zanku::MetadataIndex index = zanku::IndexMetadata("/games/", entries);
    const zanku::MetadataQuery game{"/games", file, !archive.isEmpty(), archive, "Commander Keen"};
    QCOMPARE(zanku::MatchMetadata(index, game), expected);
}

void TestMetadata::fields_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    const QStringList rows[] = {
        {"count", "2", "3"},
        {"path", "./Keen.zip", "Keen.zip"},
        {"name", "Commander Keen", "Commander Keen", "Été"},
        {"date", "19901214T000000", "1990-12-14"},
        {"year", "1990", "1990"},
        {"developer", "Id Software", "Id Café"},
        {"publisher", "Apogee", "Apogee"},
        {"genre", "Platform", "Platform"},
        {"players", "1-2", "1-2"},
        {"rating", "0.8", "80%"},
        {"image", "./media/keen.png", "media/keen.png"},
        {"thumbnail", "./media/keen-box.png", "media/keen-box.png"},
        {"marquee", "./media/keen-logo.png", "media/keen-logo.png"},
        {"description", "Billy Blaze & his <ship> — flies.", "Billy Blaze & his ship\n\nflies.",
         "été <"},
        {"first description", "Ünïcode 🎮 first", "Ünïcode 🎮 first", "déjà"}};
    for (const QStringList &row : rows) {
        QTest::addRow("xml %s", qPrintable(row[0])) << "xml" << row[0] << row[1];
        QTest::addRow("pegasus %s", qPrintable(row[0])) << "pegasus" << row[0] << row[2];
        if (row.size() > 3) // declared Latin-1: descriptions found by bytes all the same
            QTest::addRow("latin1 %s", qPrintable(row[0])) << "latin1" << row[0] << row[3];
    }
}

void TestMetadata::fields()
{
    QFETCH(QString, format);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const QTemporaryDir dir;
    const QString path = write(dir, "meta",
                               format == "xml"      ? Gamelist
                               : format == "latin1" ? Latin1
                                                    : Pegasus);
    const zanku::MetadataRead read = readAs(format, path, 1 << 20);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.games.size() >= 2);
    const GameMetadata &game = read.games.back();
    const QHash<QString, QString> values = {
        {"count", QString::number(read.games.size())},
        {"path", game.path().toString()},
        {"name", game.name().toString()},
        {"date", game.date().toString()},
        {"year", QString::number(game.year())},
        {"developer", game.developer().toString()},
        {"publisher", game.publisher().toString()},
        {"genre", game.genre().toString()},
        {"players", game.players().toString()},
        {"rating", game.rating().toString()},
        {"image", game.image().toString()},
        {"thumbnail", game.thumbnail().toString()},
        {"marquee", game.marquee().toString()},
        {"description", zanku::ReadDescription(path, game)},
        {"first description", zanku::ReadDescription(path, read.games.front())}};
    QCOMPARE(values.value(field), expected);
}

void TestMetadata::faults_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("line");
    const QByteArray laughs = "<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                              "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;\">";
    const std::tuple<const char *, QString, QByteArray, int, int> rows[] = {
        {"cut off", "xml", "<gameList><game/>\n<folder><path>b</path></folder>\n<game><name>", 2,
         3},
        {"unclosed", "xml", "<gameList>\n<game><name>A</name></game>\n", 1, 3},
        {"laughs", "xml",
         "<?xml version='1.0'?>\n<!DOCTYPE g [" + laughs + "]><g><game><name>&c;</name></game></g>",
         0, 2},
        {"external", "xml", "<!DOCTYPE g [<!ENTITY s SYSTEM 'SECRET'>]><g><game>&s;</game></g>", 0,
         1},
        {"no key", "pegasus", "game: A\nfile: a\nno key\ngame: B\n", 2, 3},
        {"lone indent", "pegasus", "\n  more\ngame: A\n", 1, 2},
        {"no game", "pegasus", "# games\nfile: a\ngame: A\n", 1, 2}};
    for (const auto &[name, format, content, kept, line] : rows)
        QTest::newRow(name) << format << content << kept << line;
}

void TestMetadata::faults()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, content);
    QFETCH(int, kept);
    QFETCH(int, line);
    const QTemporaryDir dir;
    const QString secret = write(dir, "secret", "<name>hidden</name>");
    const QString path = write(dir, "meta", content.replace("SECRET", secret.toUtf8()));
    const zanku::MetadataRead read = readAs(format, path, 1 << 20);
    QCOMPARE(qsizetype(read.games.size()), kept);
    QVERIFY(!read.error.isEmpty());
    QCOMPARE(read.line, line);
    for (const GameMetadata &game : read.games)
        QVERIFY(!game.name().contains(u"hidden") && !game.name().contains(u"aaa"));
}

void TestMetadata::refused_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<QString>("reason");
    for (const QString format : {"xml", "pegasus"}) {
        QTest::addRow("%s pipe", qPrintable(format)) << format << true << "not a regular file";
        QTest::addRow("%s over 256 MB", qPrintable(format)) << format << false << "larger than";
    }
}

void TestMetadata::refused()
{
    QFETCH(QString, format);
    QFETCH(bool, pipe);
    QFETCH(QString, reason);
    const QTemporaryDir dir;
    const QString path = dir.filePath("meta");
    std::optional<StuckPipe> stuck;
    if (pipe) {
        stuck.emplace(path);
    } else {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(zanku::MetadataMaxBytes + 1));
    }
    const zanku::MetadataRead read = readAs(format, path, zanku::MetadataMaxBytes);
    QVERIFY(!stuck || !stuck->released());
    QVERIFY2(read.games.empty() && read.error.contains(reason), qPrintable(read.error));
}

void TestMetadata::sources_data()
{
    QTest::addColumn<QStringList>("files"); // "dir:" a folder in a file's place
    QTest::addColumn<QStringList>("found");
    const QString games = "games/snes/", esde = "home/ES-DE/gamelists/snes/gamelist.xml",
                  es = "home/.emulationstation/gamelists/snes/gamelist.xml";
    const auto row = [](const char *name, const QStringList &files, const QStringList &found) {
        QTest::newRow(name) << files << found;
    };
    row("beside the games first", {esde, "zips/gamelist.xml", games + "gamelist.xml"},
        {games + "gamelist.xml", "zips/gamelist.xml"});
    row("Pegasus, else its old name", {games + "metadata.txt", games + "metadata.pegasus.txt"},
        {games + "metadata.pegasus.txt"});
    row("Pegasus old name", {games + "metadata.txt", es}, {games + "metadata.txt"});
    row("ES-DE and EmulationStation where the folders hold none", {es, esde}, {esde, es});
    row("a folder is no file", {"dir:" + games + "gamelist.xml", es}, {es});
    row("none", {"home/ES-DE/gamelists/nes/gamelist.xml"}, {});
}

// Which files describe an emulator's games, with a home of the test's own.
void TestMetadata::sources()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, found);
    const QTemporaryDir dir;
    for (const QString &file : files) {
        const QString path = dir.filePath(file.section(':', -1));
        QVERIFY(QDir().mkpath(file.startsWith("dir:") ? path : QFileInfo(path).path()));
        QVERIFY(file.startsWith("dir:") || QFile(dir.filePath(file)).open(QIODevice::WriteOnly));
    }
    const zanku::EmulatorPlaces places({"E", "e", dir.filePath("games/snes"), "", "", "../../zips"},
                                       dir.path());
    QStringList actual;
    for (const zanku::MetadataSource &source :
         zanku::MetadataSourcesOf(places, dir.filePath("home")))
        actual << QDir(dir.path()).relativeFilePath(source.file);
    QCOMPARE(actual, found);
}

// Read off the main thread and matched by slot: by file, by archive, by name; a cut-off
// file keeps what came before its fault and is told of once, also after a reload.
void TestMetadata::aLibraryGetsItsGamesDetails()
{
    TestLibrary library;
    for (const char *file : {"emu/a.bin", "emu/b.bin", "emu/c.bin", "emu/zips/z.zip"})
        library.write(file);
    library.write("emu/gamelist.xml", "<gameList><game><path>./a.bin</path><name>Alpha</name>"
                                      "<desc>About &lt;A&gt;</desc><genre>Puzzle</genre>"
                                      "<releasedate>19900101T000000</releasedate></game>\n"
                                      "<game><name>b</name><genre>Action</genre></game>\n"
                                      "<game><path>./c.bin</path><name>Cee</nam");
    library.write("emu/zips/gamelist.xml", "<gameList><game><path>z.zip</path>"
                                           "<releasedate>1985</releasedate></game></gameList>");
    QVERIFY(library.writeConfig({{"E", "e", library.path("emu"), "", "", "zips"}}));
    library.write("E.rom", "A=a.bin\r\nB=b.bin\r\nC=c.bin\r\nZ=z.bin\r\n");
    zanku::LibraryMetadata &metadata = library.core.metadata();
    QSignalSpy changed(&metadata, &zanku::LibraryMetadata::changed);
    QSignalSpy problems(&library.core, &zanku::Library::metadataProblem);
    library.core.start();
    QVERIFY(metadata.of(library.slotOf("A")) == nullptr); // not before it is started
    metadata.start();
    QVERIFY(changed.wait(5000));
    const int a = library.slotOf("A"), b = library.slotOf("B"), z = library.slotOf("Z");
    QVERIFY(metadata.of(a) && metadata.of(b) && metadata.of(z));
    QCOMPARE(metadata.of(a)->name(), u"Alpha");
    QCOMPARE(metadata.description(a), "About <A>");
    QCOMPARE(metadata.sourceOf(a), library.path("emu/gamelist.xml"));
    QCOMPARE(metadata.of(b)->genre(), u"Action");
    QCOMPARE(metadata.of(z)->year(), 1985);
    QVERIFY(metadata.of(library.slotOf("C")) == nullptr);
    library.core.reload(); // read again, the fault told no more
    QVERIFY(changed.wait(5000));
    QCOMPARE(problems.size(), 1);
    const QString told = problems.at(0).at(0).toString();
    QVERIFY2(told.contains(library.path("emu/gamelist.xml")) && told.contains("line 3 of"),
             qPrintable(told));
    // The list's Year and Genre: sorted with the games without one last, by name.
    GameListModel model;
    model.FillGameList(library.core);
    for (const auto &[column, order] : {std::pair{GameListModel::YearColumn, "Z A B C"},
                                        std::pair{GameListModel::GenreColumn, "B A C Z"}}) {
        model.sortByTitleClick(column);
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.cell(row, 0);
        QCOMPARE(names.join(' '), order);
    }
}

QTEST_GUILESS_MAIN(TestMetadata)
#include "test_metadata.moc"
