#include "core/files/RemoveTree.h"
#include "core/files/SettingsFile.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

// The program's one writer of whole files, and the removal of what it extracted.
class FilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp_;

    QString path(const QString &name) const { return tmp_.filePath(name); }
    static QByteArray read(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(none)");
    }
    static void write(const QString &file, const QByteArray &content)
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }

private slots:
    void init() { QVERIFY(QDir(tmp_.path()).removeRecursively() && QDir().mkpath(tmp_.path())); }

    // Lines end at CR LF, LF or a lone CR, mixed in one text as old lists mix them.
    void splitsLinesAtEveryEnd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("none") << "" << QStringList{};
        QTest::newRow("no end at the last") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("blank lines") << "\r\n\n\r" << QStringList{"", "", ""};
        QTest::newRow("lone CRs, then LFs") << "a\rb\rc\nd\ne\r\n"
                                            << QStringList{"a", "b", "c", "d", "e"};
        QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("CR CR LF") << "a\r\r\nb\r" << QStringList{"a", "", "b"};
    }
    void splitsLinesAtEveryEnd()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QStringList walked;
        TextLines walk(text);
        for (QStringView line; walk.next(line);)
            walked << line.toString();
        QCOMPARE(walked, lines);
    }

    // A write is whole or not at all: the old file (or none) stays when it fails.
    void writesWholeOrNotAtAll_data()
    {
        QTest::addColumn<QString>("there"); // "file", "dangling link" or nothing
        QTest::addColumn<bool>("fresh");    // WriteNewFileBytes, else WriteFileBytes
        QTest::addColumn<int>("limit");     // bytes a file may hold, as a full disk; 0: any
        QTest::addColumn<QString>("error"); // how the failure begins; empty: written
        QTest::newRow("replaced") << "file" << false << 0 << "";
        QTest::newRow("disk full while replacing") << "file" << false << 100 << "File too large";
        QTest::newRow("new") << "" << true << 0 << "";
        QTest::newRow("new, a file there") << "file" << true << 0 << "a file of that name";
        QTest::newRow("new, a link there") << "dangling link" << true << 0 << "a link of that";
        QTest::newRow("new, disk full") << "" << true << 100 << "File too large";
    }
    void writesWholeOrNotAtAll()
    {
        QFETCH(QString, there);
        QFETCH(bool, fresh);
        QFETCH(int, limit);
        QFETCH(QString, error);
        const QString file = path("game.m3u"), outside = path("outside.m3u");
        const QByteArray before = there == "file" ? "the player's own" : "(none)";
        if (there == "file")
            write(file, before);
        else if (there == "dangling link")
            QVERIFY(QFile::link(outside, file));
        const QByteArray content = QByteArray("disc.iso\n").repeated(500);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{rlim_t(limit), RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
        if (limit > 0)
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0); // binds root as well
        const TextWriteResult result =
            fresh ? WriteNewFileBytes(file, content) : WriteFileBytes(file, content);
        ::setrlimit(RLIMIT_FSIZE, &none);
        QCOMPARE(result.error.left(error.size()), error);
        QCOMPARE(result.ok, error.isEmpty());
        QCOMPARE(read(file), error.isEmpty() ? content : before);
        QVERIFY(!QFile::exists(outside));
        QCOMPARE(QDir(tmp_.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(),
                 int(QFile::exists(file) || there == "dangling link"));
    }

    // A folder is removed only while it is the one the identity names.
    void removesOnlyTheFolderItWasGiven_data()
    {
        QTest::addColumn<QString>("swap"); // what happens to the folder after its identity
        QTest::newRow("none") << "";
        QTest::newRow("renamed away, another made") << "rename";
        QTest::newRow("removed, another made") << "remove";
        QTest::newRow("a link to it in its place") << "link";
    }
    void removesOnlyTheFolderItWasGiven()
    {
        QFETCH(QString, swap);
        const QString folder = path("game.dsk"), away = path("away");
        QVERIFY(QDir().mkpath(folder + "/saves"));
        write(folder + "/saves/game.sav", "old");
        const std::optional<FolderIdentity> identity = IdentityOf(folder);
        QVERIFY(identity);
        if (swap == "rename" || swap == "link")
            QVERIFY(QDir().rename(folder, away));
        else if (swap == "remove")
            QVERIFY(QDir(folder).removeRecursively());
        if (swap == "link")
            QVERIFY(QFile::link(away, folder));
        else if (!swap.isEmpty())
            QVERIFY(QDir().mkpath(folder + "/saves"));
        write(folder + "/saves/game.sav", "new");
        QCOMPARE(RemoveTree(folder, identity),
                 swap.isEmpty() ? RemoveTreeResult::Removed : RemoveTreeResult::NotOurs);
        QCOMPARE(read(folder + "/saves/game.sav"), swap.isEmpty() ? "(none)" : "new");
    }

    // What QSettings wrote reads as it wrote it, and what is written it reads alike.
    void settingsAsQSettingsWritesThem_data()
    {
        QTest::addColumn<QVariant>("value");
        QByteArray every;
        for (int byte = 0; byte < 256; ++byte)
            every += char(byte);
        QTest::newRow("every byte") << QVariant(every + "0a, ;=\"\\\x01f ");
        QTest::newRow("text") << QVariant(QString(" Covers; \u00e9, \"x\" = \\y\t\n\x01f "));
        QTest::newRow("text like bytes") << QVariant(QString("@ByteArray(x)"));
    }
    void settingsAsQSettingsWritesThem()
    {
        QFETCH(QVariant, value);
        const QString file = path("Zanku.conf");
        QSettings(file, QSettings::IniFormat).setValue("MainWindow/Geometry", value);
        QSettings(file, QSettings::IniFormat).setValue("View", "Covers");
        const zanku::Settings read = zanku::ReadSettingsFile(file, 1 << 20);
        QCOMPARE(read, zanku::Settings({{"MainWindow/Geometry", value}, {"View", "Covers"}}));
        QVERIFY(zanku::WriteSettingsFile(file, read));
        QCOMPARE(QSettings(file, QSettings::IniFormat).value("MainWindow/Geometry"), value);
        QCOMPARE(QSettings(file, QSettings::IniFormat).value("View"), "Covers");
    }
};

QTEST_GUILESS_MAIN(FilesTest)
#include "test_files.moc"
