#include "TestLibrary.h"
#include "core/browse/FindIndex.h"
#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"
#include "core/catalogue/PresenceIndex.h"
#include "core/catalogue/RomList.h"
#include "core/library/LibraryMetadata.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QStringList gameNames(const zanku::Library &library)
{
    QStringList names;
    for (int slot = 1; slot <= library.GameCount(); ++slot)
        names.append(library.game(slot).Name);
    return names;
}

QString fileName(bool config)
{
    return config ? "Zanku.ini" : "E.rom";
}

// Saves `count` records whose every value is `value` over the file as it is now, as the
// editor's Save does after reading it.
zanku::SaveResult save(TestLibrary &library, bool config, int count, const QString &value = {})
{
    const FileVersion now = CurrentVersion(library.path(fileName(config)));
    if (config)
        return library.core.WriteConfig(
            std::vector<EmulatorRecord>(size_t(count), {value, value, value, value, value, value}),
            now);
    return library.core.WriteRomList(
        "E", std::vector<GameRecord>(size_t(count), {value, value, value, value, value}), now);
}
} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void loadAndSave_data();
    void loadAndSave();
    void badFile_data();
    void badFile();
    void keepsOnlyPresentGames();
    void presenceIsTheFileSystems_data();
    void presenceIsTheFileSystems();
    void problemsAreReportedAndLoadingGoesOn();
    void aSaveNeverOverwritesWhatItDidNotRead();
    void findMatchesEveryWord_data();
    void findMatchesEveryWord();
    void gridRowsKeepTheirSlotsThroughSorts();
};

void CatalogueTest::loadAndSave_data()
{
    QTest::addColumn<bool>("config");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("records"); // values in file order, joined by "|"
    QTest::addColumn<QString>("edit");        // added to the first record's second value
    QTest::addColumn<QByteArray>("saved");    // null: the content, byte for byte
    const QByteArray asRead;

    QTest::newRow("Zanku.ini: line ends, text between records, headers")
        << true
        << QByteArray(
               "[A\xf0\x9f\x8e\xae\r\np\nd\r\r\ns\ro\r\n;\r\n\r\njunk\r\n[]\r\n[p]\r\n[d]\r\n"
               "[z]\r\n[s]\r\n[o]\r\n[")
        << QStringList{"A|p|d||s|o", "|[p]|[d]|[z]|[s]|[o]", "|||||"} << ""
        << QByteArray("[A]\r\np\r\nd\r\n\r\ns\r\no\r\n;\r\n[]\r\n[p]\r\n[d]\r\n[z]\r\n[s]\r\n[o]"
                      "\r\n;\r\n[]\r\n\r\n\r\n\r\n\r\n\r\n;\r\n");
    QTest::newRow("ROM list: split at the first four \"=\", blank lines skipped")
        << false << QByteArray(" n = f =d=o=a=b\r\n\r\nlonely\nx=y")
        << QStringList{" n | f |d|o|a=b", "lonely||||", "x|y|||"} << ""
        << QByteArray(" n = f =d=o=a=b\r\nlonely====\r\nx=y===\r\n");
    QTest::newRow("Zanku.ini: UTF-8 stays UTF-8, with its byte order mark")
        << true
        << QByteArray("\xef\xbb\xbf[Caf\xc3\xa9]\r\n\xf0\x9f\x8e\xae\r\nd\r\nz\r\ns\r\no\r\n;\r\n")
        << QStringList{QString::fromUtf8("Caf\xc3\xa9|\xf0\x9f\x8e\xae|d|z|s|o")} << "" << asRead;
    QTest::newRow("ROM list: Windows-1252, a character it lacks makes it UTF-8")
        << false << QByteArray("Caf\xe9 \x80=f===\r\n")
        << QStringList{QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac|f|||")}
        << QString::fromUtf8("\xe6\x97\xa5")
        << QByteArray("Caf\xc3\xa9 \xe2\x82\xac=f\xe6\x97\xa5===\r\n");

    QByteArray bytes; // every byte from 0x20 to 0xFF: these rows check the bytes alone
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        bytes += char(byte);
    const QByteArray rom = QByteArray(bytes).replace('=', "") + "=f=d=o=" + bytes + "\r\n";
    const QByteArray record = "[A]\r\np\r\nd\r\nz\r\ns\r\no\r\n;\r\n";
    QTest::newRow("Zanku.ini: more than 100 records")
        << true << record.repeated(101) << QStringList(101, "A|p|d|z|s|o") << "" << asRead;
    QTest::newRow("Zanku.ini: past version, first line not a header")
        << true << QByteArray(";\r\n" + record) << QStringList() << "" << asRead;
    QTest::newRow("Zanku.ini: past version, options begin with \";\"")
        << true << QByteArray("[A]\r\np\r\nd\r\nz\r\ns\r\n;\r\n[B]\r\n") << QStringList() << ""
        << asRead;
    QTest::newRow("Zanku.ini: missing") << true << QByteArray() << QStringList() << "" << asRead;
    QTest::newRow("ROM list: missing") << false << QByteArray() << QStringList() << "" << asRead;
    QTest::newRow("ROM list, every byte") << false << rom << QStringList() << "" << asRead;
    QTest::newRow("Zanku.ini, every byte")
        << true << "[" + bytes + "]\r\n" + (bytes + "\r\n").repeated(5) + ";\r\n"
        << QStringList() << "" << asRead;
}

// Loads a file as the program does, then saves it as the editor's Save does.
void CatalogueTest::loadAndSave()
{
    QFETCH(bool, config);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, records);
    QFETCH(QString, edit);
    QFETCH(QByteArray, saved);
    TestLibrary library;
    if (!content.isNull())
        library.write(fileName(config), content);
    QStringList loaded;
    zanku::Library &core = library.core;
    QSignalSpy ended(&core, &zanku::Library::pastVersion);
    if (config) {
        const zanku::ConfigRead read = core.readConfigWithoutLoading();
        if (!ended.isEmpty()) { // a past version: its message, the end, no change
            QVERIFY(!core.ReadConfig() && core.EmulatorCount() == 0);
            QCOMPARE(library.notices, QStringList(2, "end: " + QString(PastVersionText)));
            QCOMPARE(library.read("Zanku.ini"), content);
            return;
        }
        std::vector<EmulatorRecord> emulators = read.records;
        for (const EmulatorRecord &e : emulators)
            loaded << QStringList{e.Name,          e.Program,      e.Path,
                                  e.ZippedRomPath, e.SnapshotPath, e.Options}
                          .join(u'|');
        if (!edit.isEmpty())
            emulators[0].Program += edit;
        QCOMPARE(core.WriteConfig(emulators, read.version).status, zanku::SaveResult::Saved);
    } else {
        const zanku::RomListRead read = core.readRomList("E");
        std::vector<GameRecord> games = read.records;
        for (const GameRecord &g : games)
            loaded << QStringList{g.Name, g.File, g.DestinationDir, g.Options, g.Type}.join(u'|');
        if (!edit.isEmpty())
            games[0].File += edit;
        QCOMPARE(core.WriteRomList("E", games, read.version).status, zanku::SaveResult::Saved);
    }
    if (!records.isEmpty())
        QCOMPARE(loaded, records);
    QCOMPARE(library.read(fileName(config)), saved.isNull() ? content : saved);
    QCOMPARE(library.notices, QStringList());
}

void CatalogueTest::badFile_data()
{
    QTest::addColumn<bool>("config");
    QTest::addColumn<QString>("kind");
    for (const bool config : {true, false}) {
        for (const char *kind : {"folder", "pipe", "device link", "over 64 MiB", "full disk, small",
                                 "full disk, large", "rename refused"})
            QTest::addRow("%s, %s", qPrintable(fileName(config)), kind) << config << QString(kind);
    }
}

// Nothing hangs, fills the memory or is lost, and an "Error" box names the file and says why.
void CatalogueTest::badFile()
{
    QFETCH(bool, config);
    QFETCH(QString, kind);
    TestLibrary library;
    const QString path = library.path(fileName(config));
    if (kind == "rename refused") { // written whole, then the folder refuses the new name
        library.write(fileName(config), "the old content\r\n");
        if (QProcess::execute("chattr", {"+a", library.path()}) != 0)
            QSKIP("no append-only folders here (needs root on ext2/3/4)");
        const auto writable = qScopeGuard([&] {
            QProcess::execute("chattr", {"-a", library.path()});
        });
        const zanku::SaveResult saved = save(library, config, 2, "x");
        QCOMPARE(saved.status, zanku::SaveResult::Failed);
        QVERIFY2(saved.error.startsWith("Could not save " + path + ": "), qPrintable(saved.error));
        QCOMPARE(library.read(fileName(config)), QByteArray("the old content\r\n"));
        return;
    }
    if (kind.startsWith("full disk")) { // a child process may write at most 2 KiB per file
        library.write(fileName(config), "the old content\r\n");
        const pid_t child = fork();
        if (child == 0) { // exits 0 only when the save failed and said why
            const rlimit limit{2048, 2048};
            std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limit);
            const zanku::SaveResult saved =
                save(library, config, kind.endsWith("small") ? 12 : 1200, QString(63, u'x'));
            const QString why = "Could not save " + path + ": " + strerror(EFBIG);
            _exit(saved.status != zanku::SaveResult::Failed || !saved.error.startsWith(why));
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(library.read(fileName(config)), QByteArray("the old content\r\n"));
        QCOMPARE(QDir(library.path()).entryList(QDir::Files), QStringList{fileName(config)});
        return;
    }
    if (!config)
        QVERIFY(library.writeConfig({{"E", "e", library.mkdir("emu"), "", "", ""}}));
    std::optional<StuckPipe> pipe;
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "pipe") {
        pipe.emplace(path);
    } else if (kind == "device link") {
        QVERIFY(QFile::link("/dev/zero", path));
    } else {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1));
    }
    library.core.ReadConfig();
    library.core.LoadCatalogue();
    QVERIFY(!pipe || !pipe->released());
    QCOMPARE(library.core.EmulatorCount() + library.core.GameCount(), config ? 0 : 1);
    QCOMPARE(library.notices.size(), 1);
    QVERIFY(library.notices[0].startsWith("Error: Cannot read " + path + ": "));
    if (kind != "over 64 MiB")
        QVERIFY2(library.notices[0].endsWith("not a regular file (it is a folder, a device or a "
                                             "pipe)"),
                 qPrintable(library.notices[0]));
    if (kind == "pipe" || kind == "folder") { // nor is it replaced
        QCOMPARE(save(library, config, 0).status, zanku::SaveResult::Failed);
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }
}

// The emulator's folder "Café" is named in Windows-1252 (0xE9) by Zanku.ini, in UTF-8 on disk.
void CatalogueTest::keepsOnlyPresentGames()
{
    TestLibrary library;
    const QString dir = library.path(QStringLiteral("Caf\u00e9"));
    QByteArray lines =
        "File=file.nes===T\r\nBoth=both.nes===U\r\nPuzzle=puzzle.nes=dest=-x %=A=B\r\n"
        "Bare=bare===\r\nFolder=folder===\r\nDeep=sub/deep.bin===\r\n"
        "Hidden=.hidden.nes===\r\nGone=gone.nes===\r\nExtension=extension.dsk===\r\n"
        "Dots=a.b.c===\r\nFinal=final.===\r\n\r\nNoFile====\r\nShort=file.nes\r\n";
    lines += "Absolute=" + (dir + "/file.nes").toUtf8() + "===\r\n";
    lines += "Seven=seven.nes===\r\nRar=rar.nes===\r\n"; // after .zip: .7z, then .rar
    for (const char *file :
         {"zips/puzzle.7z", "zips/puzzle.rar", "zips/seven.7z", "zips/seven.rar", "zips/rar.rar",
          "file.nes", "both.nes", "zips/both.zip", "zips/puzzle.zip", "zips/bare.zip",
          "sub/deep.bin", ".hidden.nes", "zips/extension.dsk.zip", "zips/a.b.zip",
          "zips/final..zip", "zips/.zip"}) // what an empty File would look for
        library.write(dir + u'/' + file);
    for (int i = 0; i < 1600; ++i) { // more than the first tables held
        library.write(dir + QStringLiteral("/z%1").arg(i));
        lines += QStringLiteral("Z%1=z%1===\r\n").arg(i).toLatin1();
    }
    library.mkdir(dir + "/folder");
    library.write("Zanku.ini", "[E]\r\nemu\r\n" + dir.toLatin1() + "\r\nzips\r\ns\r\n%\r\n;\r\n");
    library.write("E.rom", lines);
    QDir::setCurrent(dir); // wherever the program stands, nothing depends on it
    zanku::Library &core = library.core;
    GameListModel grid; // filled as the main window fills it
    QObject::connect(&core, &zanku::Library::catalogueChanged, [&] { grid.FillGameList(core); });
    core.start();
    QDir::setCurrent(QDir::tempPath());

    QCOMPARE(gameNames(core).first(13),
             (QStringList{"File", "Both", "Puzzle", "Bare", "Folder", "Deep", "Hidden", "Dots",
                          "Final", "Short", "Absolute", "Seven", "Rar"}));
    QList<int> zipped; // "Both": the file wins over its archive; 1 zip, 2 7z, 3 rar
    for (int slot = 1; slot <= 13; ++slot)
        zipped.append(core.game(slot).Zipped ? int(core.game(slot).Archive) + 1 : 0);
    QCOMPARE(zipped, (QList<int>{0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 2, 3}));
    QCOMPARE(core.game(3), (GameRecord{"Puzzle", "puzzle.nes", "dest", "-x %", "A=B", 1, true}));
    QCOMPARE(core.game(1).Type + core.game(2).Type, QStringLiteral("TU"));
    // The grid is sorted by name, each row showing its game's type and emulator.
    QCOMPARE(grid.cell(0, 0), QStringLiteral("Absolute"));
    QCOMPARE((QStringList{grid.cell(9, 0), grid.cell(9, 1), grid.cell(9, 2)}),
             (QStringList{"Puzzle", "A=B", "E"}));
    QCOMPARE(grid.slotAt(9), 3);
    QCOMPARE(grid.rowCount(), 1613);
    QCOMPARE(GameCountText(core.GameCount()), QStringLiteral("Games  ( 1613 Roms )"));
    QCOMPARE(library.notices, QStringList());
}

void CatalogueTest::presenceIsTheFileSystems_data()
{
    // Names on disk as bytes; the name asked; with `stem`, the archives of that stem.
    QTest::addColumn<QByteArrayList>("disk");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("stem");
    QTest::addColumn<int>("found"); // 0/1, or for a stem a bit per archive kind
    const QString nfc = QString::fromUtf8("caf\xc3\xa9"), nfd = QString::fromUtf8("cafe\xcc\x81");
    const auto row = [](const char *name, QByteArrayList disk, const QString &asked, bool stem,
                        int found) { QTest::newRow(name) << disk << asked << stem << found; };
    row("ASCII", {"game.nes"}, "game.nes", false, 1);
    row("ASCII, case differs", {"Game.nes"}, "game.nes", false, 0);
    row("UTF-8", {"caf\xc3\xa9.nes"}, nfc + ".nes", false, 1);
    row("UTF-8, other normalisation", {"caf\xc3\xa9.nes"}, nfd + ".nes", false, 0);
    row("not UTF-8 beside ASCII", {"caf\xe9.nes", "game.nes"}, nfc + ".nes", false, 0);
    row("ASCII beside not UTF-8", {"caf\xe9.nes", "game.nes"}, "game.nes", false, 1);
    row("in a folder", {"sub/caf\xc3\xa9.nes"}, "sub/" + nfc + ".nes", false, 1);
    row("archives: 7z and rar", {"zips/g.7z", "zips/g.rar", "zips/gg.zip"}, "zips/g", true, 6);
    row("archives: case differs", {"zips/G.ZIP", "zips/g.Zip"}, "zips/g", true, 0);
    row("archives: stem of an archive's name", {"zips/g.zip.zip"}, "zips/g", true, 0);
    row("archives: the longer stem", {"zips/g.zip.zip"}, "zips/g.zip", true, 1);
    row("archives: UTF-8 stems apart", {"zips/" + nfd.toUtf8() + ".zip"}, "zips/" + nfc, true, 0);
    row("archives: UTF-8", {"zips/" + nfd.toUtf8() + ".rar"}, "zips/" + nfd, true, 4);
    row("archives: not UTF-8", {"zips/caf\xe9.zip", "zips/x.7z"}, "zips/" + nfc, true, 0);
    row("archives: no stem", {"zips/.zip", "zips/.7z"}, "zips/", true, 3);
}

// The index answers as the file system does, byte for byte, whatever the names' encoding.
void CatalogueTest::presenceIsTheFileSystems()
{
    QFETCH(QByteArrayList, disk);
    QFETCH(QString, asked);
    QFETCH(bool, stem);
    QFETCH(int, found);
    QTemporaryDir dir;
    for (const QByteArray &name : disk) {
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
        QDir().mkpath(QFile::decodeName(path.left(path.lastIndexOf('/'))));
        QVERIFY(::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    }
    const auto there = [&](const QString &name) { return QFileInfo::exists(dir.filePath(name)); };
    PresenceIndex index;
    int fileSystem = 0, answer = 0;
    if (!stem) {
        fileSystem = there(asked);
        answer = index.exists(dir.path(), asked);
    } else {
        for (size_t kind = 0; kind < ArchiveExtensions.size(); ++kind)
            fileSystem |= int(there(asked + ArchiveExtensions[kind])) << kind;
        answer = int(index.archives(dir.path(), asked));
    }
    QCOMPARE(fileSystem, found);
    QCOMPARE(answer, fileSystem);
}

// Relative directories are taken from the program directory, whatever is current.
void CatalogueTest::problemsAreReportedAndLoadingGoesOn()
{
    TestLibrary library;
    for (const char *file : {"first/game.bin", "second/game.bin", "notadir"})
        library.write(file);
    library.mkdir("nolist");
    const auto emulator = [](const QString &name, const QString &path) {
        return EmulatorRecord{name, "e", path, "", "", "zips"};
    };
    const QString huge(300000, u'N'); // a message shows 200 characters of it
    QVERIFY(
        library.writeConfig({emulator("A", "first"), emulator("Öne", library.path("nowhere")),
                             emulator("Empty", ""), emulator(huge, ""), emulator("File", "notadir"),
                             emulator("NoList", "nolist"), emulator("B", "second")}));
    for (const char *name : {"A", "Öne", "File", "B"})
        library.write(QStringLiteral("%1.rom").arg(name), "Found=game.bin===\r\n");
    library.core.ReadConfig();
    library.core.LoadCatalogue();

    const QString notFound = QStringLiteral(" Not configured properly!! Path Not Found!\nIts ");
    const QString none = "no Games Directory: set one in Options > Emulator Config.";
    QCOMPARE(library.notices,
             (QStringList{
                 "Error: Emulator Öne" + notFound + "Games Directory \"" + library.path("nowhere") +
                     "\" does not exist.",
                 "Error: Emulator Empty Not configured properly!! Path Not Found!\nIt has " + none,
                 "Error: Emulator " + huge.left(199) + u'\u2026' +
                     " Not configured properly!! Path Not Found!\nIt has " + none,
                 "Error: Emulator File" + notFound + "Games Directory \"" +
                     library.path("notadir") + "\" is not a folder.",
                 "Error: File NoList.rom Not Found! You'll not be able to play the game "
                 "of this Emulator!"}));
    QCOMPARE(gameNames(library.core), (QStringList{"Found", "Found"}));
    QCOMPARE(library.core.game(2).EmulatorIndex, 7);
    QVERIFY(library.read("Zanku.ini").contains("[Öne]")); // a new file is UTF-8
}

// Another window's append or a hand edit since the read: the Save writes nothing. An
// append follows the bytes there in the file's own encoding, without a byte order mark.
void CatalogueTest::aSaveNeverOverwritesWhatItDidNotRead()
{
    TestLibrary library;
    zanku::Library &core = library.core;
    library.write("E.rom", "\xef\xbb\xbfOld=old.nes===\r\n");
    const zanku::RomListRead read = core.readRomList("E");
    QSignalSpy changed(&core, &zanku::Library::romListChanged);
    QVERIFY(core.appendToRomList("E", {"Caf\u00e9=new.nes===", "Two=two.nes==="}).ok);
    QCOMPARE(changed.size(), 1);
    const QByteArray appended =
        "\xef\xbb\xbfOld=old.nes===\r\nCaf\xc3\xa9=new.nes===\r\nTwo=two.nes===\r\n";
    QCOMPARE(library.read("E.rom"), appended);
    QCOMPARE(core.readRomList("E").records[1].Name, QString("Caf\u00e9"));

    QCOMPARE(core.WriteRomList("E", read.records, read.version).status,
             zanku::SaveResult::ChangedSinceRead);
    QCOMPARE(library.read("E.rom"), appended);
    const zanku::RomListRead again = core.readRomList("E");
    library.write("E.rom", appended + "Hand=hand.nes===\r\n");
    QCOMPARE(core.WriteRomList("E", again.records, again.version).status,
             zanku::SaveResult::ChangedSinceRead);
    QCOMPARE(changed.size(), 1);
    QVERIFY(QFile::remove(library.path("E.rom"))); // gone since: nothing to lose, it is made
    QCOMPARE(core.WriteRomList("E", {}, FileVersion{}).status, zanku::SaveResult::Saved);
}

void CatalogueTest::findMatchesEveryWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found"); // in slot order
    const QStringList all{"Super Mario Kart", "Mario Bros", "Pok\u00e9mon Rouge", "Tetris"};
    QTest::newRow("nothing typed") << "  " << all;
    QTest::newRow("part of a word") << "kart" << QStringList{"Super Mario Kart"};
    QTest::newRow("words in any order, any case")
        << "KART super" << QStringList{"Super Mario Kart"};
    QTest::newRow("every word must occur") << "mario tetris" << QStringList{};
    QTest::newRow("accents ignored, both ways") << "pokemon" << QStringList{"Pok\u00e9mon Rouge"};
    QTest::newRow("typed with an accent") << "POK\u00c9" << QStringList{"Pok\u00e9mon Rouge"};
    QTest::newRow("the type") << "puzzle" << QStringList{"Tetris"};
    QTest::newRow("the emulator and the name") << "nintendo bros" << QStringList{"Mario Bros"};
    QTest::newRow("no match") << "zelda" << QStringList{};
    QTest::newRow("the developer") << "ead" << QStringList{"Super Mario Kart"};
    QTest::newRow("the genre") << "arcade" << QStringList{"Super Mario Kart"};
    QTest::newRow("the publisher and the year") << "1989 bullet" << QStringList{"Tetris"};
}

void CatalogueTest::findMatchesEveryWord()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    TestLibrary library;
    for (const char *file : {"nes/kart.nes", "nes/bros.nes", "gb/rouge.gb", "gb/tetris.gb"})
        library.write(file);
    QVERIFY(library.writeConfig({{"Nintendo", "e", library.path("nes"), "", "", ""},
                                 {"Game Boy", "e", library.path("gb"), "", "", ""}}));
    library.write("Nintendo.rom",
                  "Super Mario Kart=kart.nes===Racing\r\nMario Bros=bros.nes===\r\n");
    library.write("Game Boy.rom",
                  "Pok\xc3\xa9mon Rouge=rouge.gb===RPG\r\nTetris=tetris.gb===Puzzle\r\n");
    library.write("nes/gamelist.xml",
                  "<gameList><game><path>kart.nes</path><developer>Nintendo "
                  "EAD</developer><genre>Arcade Racer</genre></game></gameList>");
    library.write("gb/metadata.txt", "game: Tetris\npublisher: Bullet-Proof\nrelease: 1989-06\n");
    library.core.start();
    QSignalSpy details(&library.core.metadata(), &zanku::LibraryMetadata::changed);
    library.core.metadata().start();
    QVERIFY(details.wait(5000));
    zanku::FindIndex index;
    index.begin(library.core); // a game at a time, as idle moments make it
    while (!index.build(library.core, 1))
        ;
    for (const QString &step : {QString("ma"), typed}) { // typed on from other text, or anew
        index.find(step);
        QStringList names;
        for (int slot = 1; slot <= library.core.GameCount(); ++slot) {
            if (index.matches(slot))
                names << library.core.game(slot).Name;
        }
        if (step == typed)
            QCOMPARE(names, found);
    }
    // Through the list: nothing is folded before the list has been seen; a key typed
    // before the index is complete is answered at once, as one typed after.
    QStringList expected = found;
    expected.sort();
    for (const bool early : {true, false}) {
        GameListModel grid;
        zanku::GameFindModel shown(&grid, library.core);
        grid.FillGameList(library.core);
        QCoreApplication::processEvents();
        QVERIFY(!shown.indexReady());
        if (!early) {
            shown.listShown();
            QTRY_VERIFY(shown.indexReady());
        }
        shown.setFindText(typed);
        const auto shownNames = [&shown] {
            QStringList names;
            for (int row = 0; row < shown.rowCount(); ++row)
                names << shown.cell(row, 0);
            names.sort();
            return names;
        };
        QCOMPARE(shownNames(), expected);
        // Sorted by another column meanwhile: the same games stay found.
        grid.sortByTitleClick(1);
        QCOMPARE(shownNames(), expected);
    }
}

// Names that part within their first eight characters and after them.
void CatalogueTest::gridRowsKeepTheirSlotsThroughSorts()
{
    const QStringList names{"Quest of the Nine b", "quest", "2",
                            "Quest of the Nine A", "Ark",   "10"};
    std::vector<GameListModel::Row> rows;
    for (int i = 0; i < names.size(); ++i)
        rows.push_back({names[i], QString::number(5 - i), {}, i + 1, 0});
    GameListModel grid;
    grid.setRows(rows);
    QStringList sorted;
    QList<int> order;
    for (int row = 0; row < grid.rowCount(); ++row) {
        sorted << grid.cell(row, 0);
        order << grid.slotAt(row);
    }
    QCOMPARE(sorted, (QStringList{"2", "10", "Ark", "quest", "Quest of the Nine A",
                                  "Quest of the Nine b"}));
    QCOMPARE(order, (QList<int>{3, 6, 5, 2, 4, 1}));
    grid.sortByColumn(1);
    for (int row = 0; row < grid.rowCount(); ++row)
        QCOMPARE(grid.slotAt(row), 6 - row);
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"
