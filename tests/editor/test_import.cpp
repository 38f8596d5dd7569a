// Importing games from an emulator's folders: what the scan offers, and what "Add
// Checked" writes, on real folders and archives.

#include "catalogue/Config.h"
#include "catalogue/RomList.h"
#include "common/ScriptedMessages.h"
#include "common/TestLibrary.h"
#include "editor/ImportFrm.h"
#include "editor/ImportScan.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace {
// An archive of members of these sizes; without members, the bare end record.
void makeZip(const QString &path, const QList<QPair<QByteArray, int>> &members)
{
    if (members.isEmpty()) { // libzip writes no file for an empty archive
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(QByteArray("PK\5\6", 4) + QByteArray(18, 0)) != 22)
            qFatal("cannot write %s", qPrintable(path));
        return;
    }
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    static const QByteArray zeros(4096, '0');
    for (const auto &[name, size] : members)
        zip_file_add(zip, name.constData(), zip_source_buffer(zip, zeros.constData(), size, 0), 0);
    if (zip_close(zip) != 0)
        qFatal("cannot write %s", qPrintable(path));
}

const QByteArray OldList =
    "Old=listed.nes===Other\nCase=CASE.nes===Other\r\nArc=listedarc.smc===RPG";

EmulatorRecord buildLibrary(const TestLibrary &lib)
{
    for (const char *file : {"emu/emu", "emu/.hidden", "emu/Super_Mario.Bros.nes", "emu/a=b.nes",
                             "emu/line\nbreak.nes", "emu/listed.nes", "emu/case.nes",
                             "emu/zips/notes.txt", "emu/snaps/x.png", "emu/dungeon/d.prg"})
        lib.write(file);
    ::close(::creat(QFile::encodeName(lib.path("emu/")) + "\xff.nes", 0644));
    ::mkfifo(QFile::encodeName(lib.path("emu/fifo")).constData(), 0600);
    makeZip(lib.path("emu/zips/one.zip"), {{"x.nes", 10}});
    makeZip(lib.path("emu/zips/match.zip"), {{"readme.txt", 500}, {"MATCH.sfc", 10}});
    makeZip(lib.path("emu/zips/big.zip"), {{"a.txt", 5}, {"dir/b.gb", 50}, {"c.txt", 20}});
    makeZip(lib.path("emu/zips/listedarc.zip"), {{"listedarc.nes", 10}});
    makeZip(lib.path("emu/zips/Super_Mario.Bros.zip"), {{"Super_Mario.Bros.nes", 10}});
    makeZip(lib.path("emu/zips/UPPER.ZIP"), {{"upper.nes", 10}});
    makeZip(lib.path("emu/zips/empty.zip"), {});
    lib.write("emu/zips/broken.zip", "not an archive");
    lib.write("Nes.rom", OldList);
    lib.write("Zanku.ini",
              "[Nes]\r\nemu\r\n" + lib.path("emu").toUtf8() + "\r\nzips\r\nsnaps\r\n\r\n;\r\n");
    ReadConfig();
    return App().Emulators[1];
}

QString describe(const ImportCandidate &c)
{
    return QStringList{KindText(c.kind), c.file, c.name, c.note()}.join(u'|');
}
} // namespace

class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        emulator_ = buildLibrary(library_);
        ImportScanControl control;
        scan_ = ScanForImport(emulator_, library_.path(), ReadRomList(library_.path("Nes.rom")),
                              control);
        QVERIFY(scan_.error.isEmpty() && !scan_.cancelled);
    }

    void cleanupTestCase() { ::unlink(QFile::encodeName(library_.path("emu/")) + "\xff.nes"); }

    void offersEachKindAndExcludesTheRest_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>(
            "expected"); // kind|File|Name|note, a leading part; "" not offered
        QTest::newRow("file") << "Super_Mario.Bros.nes"
                              << "file|Super_Mario.Bros.nes|Super Mario Bros|";
        QTest::newRow("folder") << "dungeon"
                                << "folder|dungeon|dungeon|";
        QTest::newRow("only member") << "one.zip"
                                     << "zip|one.nes|one|inside: x.nes";
        QTest::newRow("member of the archive's name") << "match.zip"
                                                      << "zip|match.sfc|match|inside: MATCH.sfc";
        QTest::newRow("largest member") << "big.zip"
                                        << "zip|big.gb|big|inside: dir/b.gb";
        QTest::newRow("empty archive") << "empty.zip"
                                       << "zip|empty.zip|empty|The archive holds no file.";
        QTest::newRow("not an archive") << "broken.zip"
                                        << "zip|broken.zip|broken|Not a readable zip";
        QTest::newRow("=") << "a=b.nes"
                           << "file|a=b.nes|a=b|Its name holds \"=\"";
        QTest::newRow("line break")
            << "line\nbreak.nes"
            << "file|line\nbreak.nes|line\nbreak|Its name holds a line break";
        QTest::newRow("undecodable") << "\uFFFD.nes"
                                     << "file|\uFFFD.nes|\uFFFD|Its name cannot be written";
        QTest::newRow(".ZIP") << "UPPER.ZIP"
                              << "zip|UPPER.ZIP|UPPER|The catalogue looks for archives ending";
        QTest::newRow("other case than listed") << "case.nes"
                                                << "file|case.nes|case|";
        for (const char *excluded : {"emu", "snaps", "zips", ".hidden", "fifo", "notes.txt",
                                     "listed.nes", "listedarc.zip", "Super_Mario.Bros.zip"})
            QTest::newRow(excluded) << excluded << "";
    }
    void offersEachKindAndExcludesTheRest()
    {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        QStringList found;
        for (const ImportCandidate &candidate : scan_.candidates) {
            if (candidate.entry == entry)
                found << describe(candidate);
        }
        QCOMPARE(found.size(), expected.isEmpty() ? 0 : 1);
        if (!expected.isEmpty())
            QVERIFY2(expected.endsWith(u'|') ? found[0] == expected : found[0].startsWith(expected),
                     qPrintable(found[0]));
    }

    void filter_data()
    {
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("either pattern, any case") << "*.nes  *.zip"
                                                  << "GAME.ZIP" << true;
        QTest::newRow("no pattern fits") << "*.nes *.zip"
                                         << "game.sfc" << false;
        QTest::newRow("whole name") << "*.nes"
                                    << "game.nes.txt" << false;
        QTest::newRow("plain word") << "mario"
                                    << "Super_Mario.nes" << true;
        QTest::newRow("empty") << ""
                               << "anything" << true;
    }
    void filter()
    {
        QFETCH(QString, patterns);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(ImportFilter(patterns).matches(name), matches);
    }

    void addCheckedAppendsWhatTheCatalogueReadsBack()
    {
        ScriptedMessages messages;
        ReadConfig();
        ShowImportFrm(nullptr);
        ImportFrm *window = ImportFrmWindow();
        QSignalSpy finished(window, &ImportFrm::scanFinished);
        QTest::keyClick(window->findChild<QComboBox *>("Emulator"), Qt::Key_Down);
        QVERIFY(finished.wait(10000));
        window->findChild<QComboBox *>("Type")->setCurrentText("Platform");
        QAbstractItemModel *table = window->findChild<QTableView *>("Candidates")->model();
        for (int row = 0; row < table->rowCount(); ++row) {
            const QString file = table->index(row, 1).data().toString();
            if (file == "dungeon")
                table->setData(table->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
            if (file == "Super_Mario.Bros.nes")
                table->setData(table->index(row, 0), "Mario", Qt::EditRole);
        }
        QTest::mouseClick(window->findChild<QPushButton *>("AddChecked"), Qt::LeftButton);
        const QByteArray added =
            "Mario=Super_Mario.Bros.nes===Platform\r\nbig=big.gb===Platform\r\n"
            "case=case.nes===Platform\r\nmatch=match.sfc===Platform\r\n"
            "one=one.nes===Platform\r\n";
        QCOMPARE(library_.read("Nes.rom"), OldList + "\r\n" + added);
        QStringList loaded;
        for (int slot = 1; slot <= App().GameCount; ++slot)
            loaded << App().Games[size_t(slot)].File +
                          (App().Games[size_t(slot)].Zipped ? "+zip" : "");
        QCOMPARE(loaded, QStringList({"listed.nes", "listedarc.smc+zip", "Super_Mario.Bros.nes",
                                      "big.gb+zip", "case.nes", "match.sfc+zip", "one.nes+zip"}));
        QCOMPARE(messages.shown.size(), 0);
        window->close();
    }

    void failedSaveSaysSoAndKeepsTheList()
    {
        ScriptedMessages messages;
        const QByteArray before = library_.read("Nes.rom");
        ImportCandidate game{"Game", "game.nes", ImportKind::File, "game.nes", {}, {}};
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{rlim_t(before.size() + 8), RLIM_INFINITY}, old{};
        getrlimit(RLIMIT_FSIZE, &old);
        setrlimit(RLIMIT_FSIZE, &limit); // binds root as well: the new file cannot be written
        const int added = AddToRomList(emulator_, library_.path(), {game}, "Other");
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(added, -1);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.startsWith("Could not save " + library_.path("Nes.rom")));
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
            ::link(QFile::encodeName(other.path("many/0.zip")),
                   QFile::encodeName(other.path("many/%1.zip").arg(i)));
        ReadConfig();
        ShowImportFrm(nullptr);
        ImportFrm *window = ImportFrmWindow();
        QSignalSpy finished(window, &ImportFrm::scanFinished);
        QTest::keyClick(window->findChild<QComboBox *>("Emulator"), Qt::Key_Down);
        QVERIFY(window->scanning());
        QTest::mouseClick(window->findChild<QPushButton *>("Cancel"), Qt::LeftButton);
        QVERIFY(finished.wait(10000));
        QCOMPARE(window->findChild<QLabel *>("Status")->text(), "Scan cancelled: nothing to add.");
        QCOMPARE(window->findChild<QTableView *>("Candidates")->model()->rowCount(), 0);
        QTest::mouseClick(window->findChild<QPushButton *>("AddChecked"), Qt::LeftButton);
        QCOMPARE(other.read("Many.rom"), OldList);
        window->close();
    }

private:
    TestLibrary library_;
    EmulatorRecord emulator_;
    ImportScanResult scan_;
};

QTEST_MAIN(ImportTest)
#include "test_import.moc"
