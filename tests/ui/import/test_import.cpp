// Importing games from real folders and archives: what the scan offers, what is added.

#include "core/catalogue/RomList.h"
#include "core/import/ImportAdd.h"
#include "core/import/ImportPreCheck.h"
#include "core/import/ImportScan.h"
#include "core/unzip/ArchiveFixtures.h"
#include "ui/editor/EditorFixture.h"
#include "ui/editor/OptionsFrm.h"
#include "ui/import/ImportFrm.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace {
// An archive of members of these sizes; the one named `link` is marked a Unix link.
void makeZip(const QString &path, const QList<QPair<QByteArray, int>> &members,
             const QByteArray &link = {})
{
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    static const QByteArray zeros(4096, '0');
    for (const auto &[name, size] : members) {
        const zip_int64_t index = zip_file_add(
            zip, name.constData(), zip_source_buffer(zip, zeros.constData(), size, 0), 0);
        if (name == link)
            zip_file_set_external_attributes(zip, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
    }
    if (zip_close(zip) != 0)
        qFatal("cannot write %s", qPrintable(path));
}

// 132 characters, 260 bytes on disk: over what a file system holds in one name.
const QByteArray LongMember = QString(128, u'\u00e9').toUtf8() + ".nes";

const QByteArray OldList =
    "Old=listed.nes===Other\nCase=CASE.nes===Other\r\nArc=listedarc.smc===RPG";

EmulatorRecord buildLibrary(TestLibrary &lib)
{
    for (const char *file :
         {"emu/emu", "emu/.hidden", "emu/Super_Mario.Bros.nes", "emu/a=b.nes",
          "emu/line\nbreak.nes", "emu/listed.nes", "emu/case.nes", "emu/zips/notes.txt",
          "emu/snaps/x.png", "emu/dungeon/d.prg", "emu/battery.sav", "Zanku.extract",
          "Zanku.extract.lock", "Zanku.played", "Zanku.played.lock", "gamecontrollerdb.txt",
          "Saves/a.sav", "other.rom"})
        lib.write(file);
    ::close(::creat(QFile::encodeName(lib.path("emu/")) + "\xff.nes", 0644));
    makeZip(lib.path("emu/zips/one.zip"), {{"x.nes", 10}});
    makeZip(lib.path("emu/zips/match.zip"), {{"readme.txt", 500}, {"MATCH.sfc", 10}});
    makeZip(lib.path("emu/zips/big.zip"), {{"a.txt", 5}, {"dir/b.gb", 50}, {"c.txt", 20}});
    makeZip(lib.path("emu/zips/listedarc.zip"), {{"listedarc.nes", 10}});
    makeZip(lib.path("emu/zips/Super_Mario.Bros.zip"), {{"Super_Mario.Bros.nes", 10}});
    makeZip(lib.path("emu/zips/UPPER.ZIP"), {{"upper.nes", 10}});
    makeZip(lib.path("emu/zips/escape.zip"), {{"../escape.nes", 10}});
    makeZip(lib.path("emu/zips/link.zip"), {{"link.nes", 10}}, "link.nes");
    makeZip(lib.path("emu/zips/long.zip"), {{LongMember, 10}});
    lib.write("emu/zips/empty.zip", QByteArray("PK\5\6", 4) + QByteArray(18, 0)); // no members
    lib.write("emu/zips/broken.zip", "not an archive");
    // 7-Zip and RAR archives are offered alike; one after a zip of its name is not.
    lib.write("emu/zips/seven.7z", SevenZip({{"readme.txt", "r"}, {"dir/s.nes", "game"}}));
    lib.write("emu/zips/stored.rar", Rar4({{"stored.nes", "game"}}));
    lib.write("emu/zips/one.7z", SevenZip({{"one.nes", "game"}}));
    lib.write("emu/zips/listedarc.rar", Rar4({{"listedarc.nes", "game"}}));
    lib.write("emu/zips/evil.7z", SevenZip({{"../evil.nes", "game"}}));
    lib.write("emu/zips/linked.rar", Rar4({{"linked.nes", "/etc/passwd", 'l'}}));
    lib.write("emu/zips/UPPER.7Z", SevenZip({{"upper.nes", "game"}}));
    lib.write("emu/zips/bad.7z", "not an archive");
    makeZip(lib.path("beside.zip"), {{"beside.nes", 10}}); // for the scan of "." without zips
    // The player's gamelists name two games, by their folder and by their archive.
    lib.write("emu/gamelist.xml", "<gameList><game><path>./dungeon</path><name> Dungeon Quest "
                                  "</name></game></gameList>");
    lib.write("emu/zips/gamelist.xml",
              "<gameList><game><path>seven.7z</path><name>Seven Seas</name></game></gameList>");
    lib.write("Nes.rom", OldList);
    lib.write("Zanku.ini",
              "[Nes]\r\nemu\r\n" + lib.path("emu").toUtf8() + "\r\nzips\r\nsnaps\r\n\r\n;\r\n");
    lib.core.ReadConfig();
    return lib.core.emulator(1);
}

// Opens the window and picks the first emulator, as the keyboard does.
ImportFrm *pickFirstEmulator(zanku::Library &library)
{
    auto *window = new ImportFrm(library, nullptr);
    window->show();
    QTest::keyClick(part<QComboBox>(window, "Emulator"), Qt::Key_Down);
    return window;
}

// Checks every row the import offers that has this file, or none; sets the type.
void check(ImportFrm *window, const QStringList &files, const QString &type = "Other")
{
    part<QComboBox>(window, "Type")->setCurrentText(type);
    QAbstractItemModel *table = part<QTableView>(window, "Candidates")->model();
    for (int row = 0; row < table->rowCount(); ++row) {
        const bool wanted = files.contains(table->index(row, 1).data().toString());
        table->setData(table->index(row, 0), wanted ? Qt::Checked : Qt::Unchecked,
                       Qt::CheckStateRole);
    }
}
} // namespace

class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        emulator_ = buildLibrary(library_);
        ImportScanControl control;
        scan_ = ScanForImport(emulator_, library_.path(),
                              ReadRomList(library_.path("Nes.rom")).records, control);
        QVERIFY(scan_.error.isEmpty() && !scan_.cancelled);
        QVERIFY(std::is_sorted(scan_.candidates.begin(), scan_.candidates.end(), ImportFileBefore));
        EmulatorRecord home = emulator_; // its games beside Zanku's own files
        home.Path = ".";
        home.ZippedRomPath.clear(); // its archives beside its games
        home_ = ScanForImport(home, library_.path(), {}, control, {"Nes", "Home"});
        QVERIFY(home_.error.isEmpty());
    }

    void cleanupTestCase() { ::unlink(QFile::encodeName(library_.path("emu/")) + "\xff.nes"); }

    void offersEachKindAndExcludesTheRest_data()
    {
        QTest::addColumn<QString>("expected"); // kind|File|Name|note, or its start; "" not offered
        const char *const rows[][2] = {
            {"Super_Mario.Bros.nes", "file|Super_Mario.Bros.nes|Super Mario Bros|"},
            {"dungeon", "folder|dungeon|Dungeon Quest|"},
            {"one.zip", "zip|one.nes|one|inside: x.nes"},           // the only member
            {"match.zip", "zip|match.sfc|match|inside: MATCH.sfc"}, // its name is the archive's
            {"big.zip", "zip|big.gb|big|inside: dir/b.gb"},         // the largest
            {"empty.zip", "zip|empty.zip|empty|The archive holds no file."},
            {"broken.zip", "zip|broken.zip|broken|Not a readable zip"},
            {"a=b.nes", "file|a=b.nes|a=b|Its name holds \"=\""},
            {"line\nbreak.nes", "file|line\nbreak.nes|line\nbreak|Its name holds a line break"},
            {"\uFFFD.nes", "file|\uFFFD.nes|\uFFFD|Its name cannot be written"},
            {"UPPER.ZIP", "zip|UPPER.ZIP|UPPER|The catalogue looks for archives ending"},
            {"escape.zip", "zip|escape.zip|escape|Its game file \"../escape.nes\" would not be "
                           "extracted: a \"..\" component"},
            {"link.zip", "zip|link.zip|link|Its game file \"link.nes\" would not be extracted: "
                         "it is a link"},
            {"seven.7z", "7z|seven.nes|Seven Seas|inside: dir/s.nes"},
            {"stored.rar", "rar|stored.nes|stored|"},
            {"evil.7z", "7z|evil.7z|evil|Its game file \"../evil.nes\" would not be extracted"},
            {"linked.rar", "rar|linked.rar|linked|Its game file \"linked.nes\" would not be "
                           "extracted: it is a link"},
            {"UPPER.7Z", "7z|UPPER.7Z|UPPER|The catalogue looks for archives ending in \".7z\""},
            {"bad.7z", "7z|bad.7z|bad|Not a readable 7z archive"},
            {"~/other.rom", "file|other.rom|other|"}, // "~/": the program directory's scan
            {"~/beside.zip", "zip|beside.nes|beside"},
            {"case.nes", "file|case.nes|case|"}}; // listed as CASE.nes: another file here
        for (const auto &[entry, expected] : rows)
            QTest::newRow(entry) << QString::fromUtf8(expected);
        QTest::newRow("long.zip") << "zip|long.zip|long|Its game file \"" +
                                         QString::fromUtf8(LongMember) +
                                         "\" would not be extracted: a name over 255 bytes";
        for (const char *entry :
             {"emu", "snaps", "zips", ".hidden", "notes.txt", "gamelist.xml", "listed.nes",
              "listedarc.zip", "listedarc.rar", "one.7z", "Super_Mario.Bros.zip", "~/Zanku.ini",
              "~/Nes.rom", "~/Zanku.extract", "~/Zanku.extract.lock", "~/Zanku.played",
              "~/Zanku.played.lock", "~/gamecontrollerdb.txt", "~/Saves"})
            QTest::newRow(entry) << QString();
    }
    void offersEachKindAndExcludesTheRest()
    {
        QFETCH(QString, expected);
        QString actual; // kind|File|Name|note of the candidate of this name on disk
        const QString entry = QString::fromUtf8(QTest::currentDataTag());
        const bool home = entry.startsWith("~/");
        for (const ImportCandidate &c : (home ? home_ : scan_).candidates) {
            if (c.entry == entry.mid(home ? 2 : 0))
                actual += QStringList{KindText(c), c.file, c.name, c.note()}.join(u'|');
        }
        QVERIFY2(expected.isEmpty() || expected.endsWith(u'|') ? actual == expected
                                                               : actual.startsWith(expected),
                 qPrintable(actual));
    }

    void preCheck_data()
    {
        QTest::addColumn<QString>("kind"); // file, folder, zip; greyed or pending: a zip so
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("listed"); // the list's Files, "|" between them
        QTest::addColumn<bool>("checked");
        const auto row = [](const char *name, const char *kind, const char *file,
                            const char *listed, bool checked) {
            QTest::newRow(name) << kind << file << listed << checked;
        };
        row("a listed extension", "file", "b.nes", "a.nes|c.smc", true);
        row("in another case", "file", "B.NES", "a.nes", true);
        row("an extension not listed", "file", "b.smc", "a.nes", false);
        row("no list yet", "file", "b.smc", "", true);
        row("a list File in a folder", "file", "b.nes", "sub.v1/a.nes", true);
        row("no extension, listed so", "file", "game", "v1.0/game", true);
        row("no extension, not listed so", "file", "README", "a.nes", false);
        row("a zip's game", "zip", "one.nes", "a.nes", true);
        row("a zip's picture", "zip", "box.PNG", "", false);
        row("greyed", "greyed", "a.nes", "a.nes", false);
        row("not read yet", "pending", "a", "", false);
        row("an .m3u of listed discs", "m3u", "g.m3u", "a.cue", true);
        row("a folder game", "folder", "dungeon", "a.nes", true);
        row("a folder of saves", "folder", "Saves", "", false);
        row("a folder of screenshots", "folder", "screenshots", "a.nes", false);
        for (const char *own :
             {"battery.sav", "Game.SRM",  "game.state", "game.state3", "game.st0",
              "game.st9",    "game.000",  "emu.cfg",    "emu.ini",     "emu.conf",
              "shot.png",    "shot.JPG",  "shot.jpeg",  "shot.bmp",    "shot.gif",
              "emu.log",     "notes.txt", "game.nv",    "game.eep",    "game.rtc"})
            row(own, "file", own, own, false); // even when the list names one
    }
    void preCheck()
    {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        QFETCH(QString, listed);
        QFETCH(bool, checked);
        std::vector<GameRecord> games;
        for (const QString &listedFile : listed.split('|', Qt::SkipEmptyParts)) {
            games.emplace_back();
            games.back().File = listedFile;
        }
        ImportCandidate candidate;
        candidate.file = candidate.entry = file;
        candidate.kind = kind == "file"     ? ImportKind::File
                         : kind == "folder" ? ImportKind::Folder
                                            : ImportKind::Zip;
        candidate.problem = kind == "greyed" ? "Not a readable zip" : "";
        candidate.pending = kind == "pending";
        if (kind == "m3u")
            candidate.discs = QStringList{"g (Disc 1).cue", "g (Disc 2).cue"};
        QCOMPARE(ImportPreChecked(candidate, ListedExtensions(games)), checked);
    }

    // A game of several discs is one row: its .m3u, written by Add Checked when missing.
    void discs_data()
    {
        // "name:line|line"; "mkfifo:name" a pipe, "link:name" one to ../outside.m3u, which
        // is not there; "later:name:line" written once the scan is done
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("offered"); // "+" checked, File|Name|note
        QTest::addColumn<QString>("m3u");         // "name:line|line" after Add; "name": none
        QTest::addColumn<QString>("told");        // how the "Error" box begins
        QTest::addColumn<QString>("listed");      // the ROM list after Add, "|" between lines
        QTest::addColumn<int>("fileLimit");       // bytes a file may hold; 0: any
        const QString fq = "FQ (Disc 1).cue:FILE \"FQ (Disc 1).bin\" BINARY";
        QTest::newRow("an .m3u")
            << QStringList{fq, "FQ (Disc 1).bin", "FQ (Disc 2).cue:FILE \"FQ (Disc 2).bin\" BINARY",
                           "FQ (Disc 2).bin", "FQ.m3u:# two|FQ (Disc 1).cue||./FQ (Disc 2).cue"}
            << QStringList{"+FQ.m3u|FQ|discs: FQ (Disc 1).cue, FQ (Disc 2).cue"}
            << "FQ.m3u:# two|FQ (Disc 1).cue||./FQ (Disc 2).cue"
            << ""
            << "FQ=FQ.m3u===Other|" << 0;
        QTest::newRow("an .m3u listed already")
            << QStringList{"../Nes.rom:K=K.m3u===", "K.m3u:K (Disc 1).iso|K (Disc 2).iso",
                           "K (Disc 1).iso", "K (Disc 2).iso", "x.nes"}
            << QStringList{" x.nes|x|"} << "K.m3u:K (Disc 1).iso|K (Disc 2).iso"
            << ""
            << "K=K.m3u===" << 0;
        QTest::newRow("disc 10 after disc 2")
            << QStringList{"Q (Disc 2).iso", "Q (Disc 10).iso", "Q (Disc 1).iso"}
            << QStringList{"+Q.m3u|Q|written on adding: Q (Disc 1).iso, Q (Disc 2).iso, "
                           "Q (Disc 10).iso"}
            << "Q.m3u:Q (Disc 1).iso|Q (Disc 2).iso|Q (Disc 10).iso|"
            << ""
            << "Q=Q.m3u===Other|" << 0;
        QTest::newRow(".cue and .bin, CD N of 2")
            << QStringList{"F (USA) (CD 2 of 2).cue:FILE F (USA) (CD 2 of 2).bin BINARY|  "
                           "TRACK 01 MODE2/2352",
                           "F (USA) (CD 2 of 2).bin",
                           "F (USA) (CD 2 of 2).sub",
                           "F (USA) (cd 1 of 2).cue:FILE \"T1.bin\" BINARY|file t2.bin BINARY",
                           "T1.bin",
                           "t2.bin",
                           "F (USA) (cd 1 of 2).sub"}
            << QStringList{"+F (USA).m3u|F (USA)|written on adding: F (USA) (cd 1 of 2).cue, "
                           "F (USA) (CD 2 of 2).cue",
                           "+F (USA) (CD 2 of 2).sub|F (USA) (CD 2 of 2)|",
                           "+F (USA) (cd 1 of 2).sub|F (USA) (cd 1 of 2)|"}
            << "F (USA).m3u:F (USA) (cd 1 of 2).cue|F (USA) (CD 2 of 2).cue|"
            << ""
            << "F (USA)=F (USA).m3u===Other|F (USA) (CD 2 of 2)=F (USA) (CD 2 of 2).sub===Other|"
               "F (USA) (cd 1 of 2)=F (USA) (cd 1 of 2).sub===Other|"
            << 0;
        QTest::newRow("a single disc")
            << QStringList{"S (Disc 1) (EU).cue:FILE \"S.bin\" BINARY", "S.bin"}
            << QStringList{"+S (Disc 1) (EU).cue|S (EU)|"} << "S (EU).m3u"
            << ""
            << "S (EU)=S (Disc 1) (EU).cue===Other|" << 0;
        QTest::newRow("an .m3u of other discs")
            << QStringList{"D.m3u:O.cue", "D (Disc 1).iso", "D (Disc 2).iso"}
            << QStringList{"+D.m3u|D|discs: O.cue",
                           " D.m3u|D|D.m3u is already there and lists other discs: rename it, "
                           "or list these discs in it."}
            << "D.m3u:O.cue"
            << ""
            << "D=D.m3u===Other|" << 0;
        QTest::newRow("a pipe where the .m3u goes")
            << QStringList{"P (Disc 1).iso", "P (Disc 2).iso", "mkfifo:P.m3u",
                           "p.cue:FILE p.bin BINARY", "p.bin"}
            << QStringList{"+P.m3u|P|written on adding: P (Disc 1).iso, P (Disc 2).iso",
                           "+p.cue|p|"}
            << ""
            << "P was not added: P.m3u is already there and cannot be read as a list"
            << "p=p.cue===Other|" << 0;
        QTest::newRow("a link where the .m3u goes")
            << QStringList{"L (Disc 1).iso", "L (Disc 2).iso", "link:L.m3u"}
            << QStringList{"+L.m3u|L|written on adding: L (Disc 1).iso, L (Disc 2).iso"} << "L.m3u"
            << "L was not added: L.m3u could not be written: a link of that name is there"
            << "" << 0;
        QTest::newRow("an .m3u made after the scan")
            << QStringList{"M (Disc 1).iso", "M (Disc 2).iso", "later:M.m3u:M (Disc 2).iso|"}
            << QStringList{"+M.m3u|M|written on adding: M (Disc 1).iso, M (Disc 2).iso"}
            << "M.m3u:M (Disc 2).iso|"
            << "M was not added: M.m3u is already there"
            << "" << 0;
        QTest::newRow("a full disk") // as root too
            << QStringList{"B (Disc 1).iso", "B (Disc 2).iso"}
            << QStringList{"+B.m3u|B|written on adding: B (Disc 1).iso, B (Disc 2).iso"} << "B.m3u"
            << "B was not added: B.m3u could not be written: "
            << "" << 16;
    }
    void discs()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, offered);
        QFETCH(QString, m3u);
        QFETCH(QString, told);
        QFETCH(QString, listed);
        QFETCH(int, fileLimit);
        TestLibrary lib;
        ScriptedMessages messages;
        lib.mkdir("emu");
        const auto lines = [](QString text) { return text.replace('|', '\n').toUtf8(); };
        for (const QString &file : files) {
            if (file.startsWith("mkfifo:"))
                QCOMPARE(::mkfifo(QFile::encodeName(lib.path("emu/" + file.mid(7))), 0644), 0);
            else if (file.startsWith("link:"))
                QVERIFY(QFile::link(lib.path("outside.m3u"), lib.path("emu/" + file.mid(5))));
            else if (!file.startsWith("later:"))
                lib.write("emu/" + file.section(':', 0, 0), lines(file.section(':', 1)));
        }
        QVERIFY(lib.writeConfig({{"Nes", "emu", lib.path("emu"), "", "", ""}}));
        lib.core.ReadConfig();
        ImportFrm *window = pickFirstEmulator(lib.core);
        QVERIFY(QSignalSpy(window, &ImportFrm::scanFinished).wait(10000));
        QAbstractItemModel *table = part<QTableView>(window, "Candidates")->model();
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row) {
            const auto at = [&](int column) { return table->index(row, column).data().toString(); };
            const bool checked = table->index(row, 0).data(Qt::CheckStateRole) == Qt::Checked;
            rows << (checked ? "+" : " ") + at(1) + '|' + at(0) + '|' + at(4);
        }
        rows.sort(); // two rows of one File come in either order
        offered.sort();
        QCOMPARE(rows, offered);
        for (const QString &file : files.filter("later:"))
            lib.write("emu/" + file.section(':', 1, 1), lines(file.section(':', 2)));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{rlim_t(fileLimit), RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
        if (fileLimit > 0)
            setrlimit(RLIMIT_FSIZE, &limit); // binds root as well
        click(window, "AddChecked");
        setrlimit(RLIMIT_FSIZE, &none);
        // The table keeps what was not added: the rows unchecked, a group told of.
        const auto unchecked = std::count_if(offered.begin(), offered.end(),
                                             [](const QString &row) { return row[0] == ' '; });
        QCOMPARE(table->rowCount(), int(unchecked) + (told.isEmpty() ? 0 : 1));
        if (!m3u.isEmpty()) {
            const QString m3uPath = lib.path("emu/" + m3u.section(':', 0, 0));
            QCOMPARE(QFile::exists(m3uPath), m3u.contains(':'));
            QCOMPARE(lib.read("emu/" + m3u.section(':', 0, 0)), lines(m3u.section(':', 1)));
        }
        QCOMPARE(messages.shown.isEmpty() ? "" : messages.shown.last().text.left(told.size()),
                 told);
        QVERIFY(!QFile::exists(lib.path("outside.m3u")));
        QCOMPARE(QString(lib.read("Nes.rom")).replace("\r\n", "|"), listed);
        window->close();
    }

    void unreadableZippedRomsPath()
    {
        EmulatorRecord emulator = emulator_;
        emulator.ZippedRomPath = "zips/notes.txt"; // a file: no folder to read
        ImportScanControl control;
        QCOMPARE(ScanForImport(emulator, library_.path(), {}, control).error,
                 "The Zipped Roms Path of emulator Nes cannot be read: \"" +
                     library_.path("emu/zips/notes.txt") + "\".");
    }

    void addCheckedAppendsWhatTheCatalogueReadsBack()
    {
        ScriptedMessages messages;
        zanku::Library &core = library_.core;
        ImportFrm *window = pickFirstEmulator(core);
        QAbstractItemModel *table = part<QTableView>(window, "Candidates")->model();
        QStringList first; // one.zip's note and flags when the names alone are shown
        connect(window, &ImportFrm::namesListed, this, [&] {
            const auto one =
                table->match(table->index(0, 1), Qt::DisplayRole, "one", 1, Qt::MatchExactly);
            first << one.value(0).siblingAtColumn(4).data().toString()
                  << QString::number(one.value(0).flags());
        });
        QVERIFY(QSignalSpy(window, &ImportFrm::scanFinished).wait(10000));
        QCOMPARE(first, QStringList({"reading\u2026", "0"})); // not checkable until read
        QStringList checked; // before the player checks any: games of the list's extensions
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->index(row, 0).data(Qt::CheckStateRole) == Qt::Checked)
                checked << table->index(row, 1).data().toString();
        }
        QCOMPARE(checked, QStringList({"case.nes", "dungeon", "one.nes", "seven.nes", "stored.nes",
                                       "Super_Mario.Bros.nes"}));
        QTest::keyClicks(part<QLineEdit>(window, "Filter"), "*.NES  *.zip"); // hides the folder
        check(window, {"Super_Mario.Bros.nes", "case.nes", "match.sfc", "one.nes"}, "Platform");
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->index(row, 1).data().toString() == "Super_Mario.Bros.nes")
                table->setData(table->index(row, 0), "Mario", Qt::EditRole);
        }
        click(window, "AddChecked");
        QCOMPARE(library_.read("Nes.rom"), OldList +
                                               "\r\nMario=Super_Mario.Bros.nes===Platform\r\n"
                                               "case=case.nes===Platform\r\nmatch=match.sfc==="
                                               "Platform\r\none=one.nes===Platform\r\n");
        QStringList loaded{""};
        for (int slot = 1; slot <= core.GameCount(); ++slot)
            loaded << core.game(slot).File + (core.game(slot).Zipped ? "+zip" : "");
        QCOMPARE(loaded, QStringList({"", "listed.nes", "listedarc.smc+zip", "Super_Mario.Bros.nes",
                                      "case.nes", "match.sfc+zip", "one.nes+zip"}));
        QCOMPARE(messages.shown.size(), 0);
        window->close();
    }

    void failedSaveSaysSoAndKeepsTheList()
    {
        const QByteArray before = library_.read("Nes.rom");
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{rlim_t(before.size() + 8), RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit); // binds root as well: the new file cannot be written
        const AddResult added = AddToRomList(library_.core, emulator_, scan_.candidates, "Other");
        setrlimit(RLIMIT_FSIZE, &none);
        QCOMPARE(added.added, -1);
        QVERIFY(added.error.startsWith("Could not save " + library_.path("Nes.rom")));
        QCOMPARE(library_.read("Nes.rom"), before);
    }

    void cancelMidScanAddsNothing()
    {
        TestLibrary other;
        other.write("Zanku.ini",
                    "[Many]\r\nemu\r\n" + other.path("many").toUtf8() + "\r\n.\r\n\r\n\r\n;\r\n");
        other.write("Many.rom", OldList);
        other.mkdir("many");
        makeZip(other.path("many/0.zip"), {{"x.nes", 10}});
        for (int i = 1; i < 3000; ++i)
            QFile::link(other.path("many/0.zip"), other.path("many/%1.zip").arg(i));
        other.core.ReadConfig();
        ImportFrm *window = pickFirstEmulator(other.core);
        QSignalSpy finished(window, &ImportFrm::scanFinished);
        QVERIFY(window->scanning());
        click(window, "Cancel");
        QVERIFY(finished.wait(10000));
        QCOMPARE(part<QLabel>(window, "Status")->text(), "Scan cancelled: nothing to add.");
        QCOMPARE(part<QTableView>(window, "Candidates")->model()->rowCount(), 0);
        click(window, "AddChecked");
        QCOMPARE(other.read("Many.rom"), OldList);
        window->close();
    }

    // The editor shows the list the import adds to: without an edit it follows; with one,
    // its Save writes nothing over the added games.
    void editorBesideTheImport()
    {
        TestLibrary lib;
        ScriptedMessages messages;
        for (const char *file : {"emu/a.nes", "emu/b.nes", "emu/c.nes"})
            lib.write(file);
        lib.write("Nes.rom", "\xef\xbb\xbf"
                             "A=a.nes===\r\n");
        QVERIFY(lib.writeConfig({{"Nes", "emu", lib.path("emu"), "", "", ""}}));
        lib.core.ReadConfig();
        OptionsFrm editor(lib.core, EditorMode::Roms, nullptr);
        QTest::keyClick(part<QComboBox>(&editor, "Emulator"), Qt::Key_Down); // a pick
        QCOMPARE(editor.rowCount(), 1);
        ImportFrm *window = pickFirstEmulator(lib.core);
        QVERIFY(QSignalSpy(window, &ImportFrm::scanFinished).wait(10000));
        const auto add = [&](const QString &file) {
            check(window, {file});
            click(window, "AddChecked");
        };
        add("b.nes");
        QCOMPARE(editor.rowCount(), 2); // followed: nothing was edited
        QCOMPARE(part<QLabel>(&editor, "TRom")->text(), "Total Rom Listed :  2");
        click(&editor, "Salva");
        const QByteArray both = "\xef\xbb\xbf"
                                "A=a.nes===\r\nb=b.nes===Other\r\n";
        QCOMPARE(lib.read("Nes.rom"), both);

        editor.findChild<QTableWidget *>("Grid")->setCurrentCell(0, 0);
        click(&editor, "Rimuovi");
        QCOMPARE(part<QLabel>(&editor, "TRom")->text(), "Total Rom Listed :  1");
        add("c.nes");
        QCOMPARE(editor.rowCount(), 1); // the edit stays, and the player is told
        QVERIFY(messages.shown.last().text.contains("Nes.rom was changed by the import"));
        const QByteArray three = both + "c=c.nes===Other\r\n";
        messages.answers << MessageAnswer::No << MessageAnswer::Yes;
        click(&editor, "Salva"); // No: nothing written, the edit kept
        QVERIFY(messages.shown.last().text.startsWith(
            "Nes.rom was changed by another program since it was opened."));
        QCOMPARE(lib.read("Nes.rom"), three);
        QCOMPARE(editor.rowCount(), 1);
        click(&editor, "Salva"); // Yes: the list as the file has it
        QCOMPARE(editor.rowCount(), 3);
        QCOMPARE(lib.read("Nes.rom"), three);
        window->close();
    }

private:
    TestLibrary library_;
    EmulatorRecord emulator_;
    ImportScanResult scan_, home_;
};

QTEST_MAIN(ImportTest)
#include "test_import.moc"
