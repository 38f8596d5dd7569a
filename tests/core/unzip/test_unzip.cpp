#include "ArchiveFixtures.h"
#include "ZipFixtures.h"
#include "core/unzip/ArchiveMembers.h"
#include "core/unzip/UnzipNames.h"
#include "core/unzip/VBUnzBas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RawMember)
Q_DECLARE_METATYPE(QList<ArchiveEntry>)

// Extraction as the launch calls it.
class UnzipTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp_;
    QString mounted_;

    QString out() const { return tmp_->filePath("deep/out"); }
    QString write(const QByteArray &bytes, const QString &name = "game.zip")
    {
        const QString path = tmp_->filePath(name);
        if (!WriteFile(path, bytes))
            qFatal("cannot write the test archive");
        return path;
    }
    int extract(const QByteArray &bytes) { return UnzipArchive(write(bytes), out()); }
    // What lies at the archive's place ("fifo", "shrinks"...), after ".7z " or ".rar " for
    // those archives; the name the archive is written under.
    static QString archiveName(QString &setup)
    {
        const QString extension = setup.startsWith('.') ? setup.section(' ', 0, 0) : ".zip";
        setup = setup.startsWith('.') ? setup.section(' ', 1) : setup;
        return "game" + extension;
    }

private slots:
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        SetFreeSpaceProbe([](const QString &) { return qint64(1) << 40; });
    }

    void cleanup()
    {
        if (!mounted_.isEmpty())
            ::umount(QFile::encodeName(std::exchange(mounted_, QString())).constData());
        SetFreeSpaceProbe({});
        // No extraction ever leaves a temporary file behind.
        QCOMPARE(Tree(tmp_->path()).filter(".part"), QStringList());
    }

    void extractsLikeTheLaunch_data()
    {
        QTest::addColumn<int>("layout"); // 1 zip64, 2 data descriptors, 4 comment and more bytes
        for (int layout : {0, 1, 2, 3, 4})
            QTest::newRow(qPrintable(QString::number(layout))) << layout;
    }

    void extractsLikeTheLaunch()
    {
        QFETCH(int, layout);
        const QByteArray two = QByteArray("level two ").repeated(300);
        const QByteArray bzip2 = QByteArray::fromHex( // "packed by bzip2", decoded by libzip
            "425a683931415926535994c5ee660000061980400010003e2840302000310340d01a86234fd25028556318"
            "d60bb9229c28484a62f73300");
        // Names without the UTF-8 flag are code page 437, even where they read as UTF-8.
        QList<RawMember> members = {{"Game: Part 1.bin", QByteArray(5000, 'g')},
                                    {"data/", {}, false},
                                    {"data/level1.dat", "level one", false},
                                    {"data\\sub\\level2.dat", two},
                                    {"... /empty/", {}, false},
                                    {"\201ber.txt", "cp437"},
                                    {"\xc3\xa9.txt", "unflagged"},
                                    {"caf\xc3\xa9.txt", "utf8", true, true}, // flagged UTF-8
                                    {"b.bin", bzip2, false, false, false, 12, 15, 0xfad65e55}};
        for (RawMember &member : members)
            member.descriptor = layout & 2;
        QVERIFY(QDir().mkpath(out() + "/data"));
        QVERIFY(WriteFile(out() + "/data/level1.dat", "old content, longer than the new"));
        const QByteArray trailing = layout & 4 ? "xx" : "";
        QCOMPARE(extract(RawZip(members, layout & 1, layout & 4 ? "Hi." : "") + trailing), 0);
        QCOMPARE(Tree(out()), QStringList({"... /", "... /empty/", "Game: Part 1.bin", "b.bin",
                                           "café.txt", "data/", "data/level1.dat", "data/sub/",
                                           "data/sub/level2.dat", "über.txt", "├⌐.txt"}));
        QStringList listed; // the import reads the names alike, to name a game's file
        for (const ArchiveMember &member : ReadArchiveMembers(tmp_->filePath("game.zip")).members)
            listed << QString(member.name).replace('\\', '/');
        QCOMPARE(listed, QStringList({"Game: Part 1.bin", "data/level1.dat", "data/sub/level2.dat",
                                      "über.txt", "├⌐.txt", "café.txt", "b.bin"}));
        QCOMPARE(ReadFile(out() + "/Game: Part 1.bin"), QByteArray(5000, 'g'));
        QCOMPARE(ReadFile(out() + "/data/level1.dat"), QByteArray("level one"));
        QCOMPARE(ReadFile(out() + "/data/sub/level2.dat"), two);
        QCOMPARE(ReadFile(out() + "/b.bin"), QByteArray("packed by bzip2"));
        QCOMPARE(QFileInfo(out() + "/data/level1.dat").lastModified(),
                 QDateTime(QDate(2001, 3, 5), QTime(4, 4, 10)));
    }

    void nothingWritten_data()
    {
        QTest::addColumn<QString>("setup"); // what lies at the archive's or the output's place
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("room"); // free space the volume reports
        QTest::addColumn<int>("status");
        const QByteArray whole = RawZip({{"a.bin", QByteArray(8000, 'a')}, {"b.bin", "123456789"}});
        const qint64 lots = qint64(1) << 40;
        QTest::newRow("missing") << "missing" << whole << lots << 9;
        QTest::newRow("a FIFO") << "fifo" << whole << lots << 9;
        QTest::newRow("a link to /dev/zero") << "zero" << whole << lots << 9;
        QTest::newRow("empty file") << "" << QByteArray() << lots << 9;
        QTest::newRow("not a zip") << "" << QByteArray("Just text.\n").repeated(50) << lots << 9;
        QTest::newRow("truncated in the data") << "" << whole.left(40) << lots << 51;
        QTest::newRow("truncated in the directory")
            << "" << whole.left(whole.size() - 30) << lots << 51;
        QByteArray pastEnd = whole;
        pastEnd[pastEnd.size() - 6] = char(0x7f); // directory offset past the end
        QTest::newRow("directory past the end") << "" << pastEnd << lots << 3;
        // Two archives one after the other, the second's offsets moved to where it lies.
        const QByteArray first = RawZip({{"a.bin", "good bytes", false, false, false, -1, -1, 12}});
        QByteArray second = RawZip({{"a.bin", "evil bytes", false, false, false, -1, -1, 12}});
        for (int at : {int(second.size()) - 6, int(second.size()) - 31})
            qToLittleEndian<quint32>(qFromLittleEndian<quint32>(second.data() + at) + first.size(),
                                     second.data() + at);
        QTest::newRow("two directories") << "" << first + second << lots << 3;
        QTest::newRow("empty archive") << "" << RawZip({}) << lots << 1;
        RawMember locked{"locked.bin", "secret"};
        locked.encrypted = true;
        QTest::newRow("every member encrypted") << "" << RawZip({locked}) << lots << 82;
        QTest::newRow("one byte short of room") << "" << whole << qint64(8008) << 50;
        // Declared sizes whose sum wraps round to 2 in 64 bits.
        RawMember huge{"huge.bin", QByteArray(1 << 20, 'h')};
        huge.declaredSize = qint64(0x5555555555555556);
        QTest::newRow("sizes that overflow")
            << "" << RawZip({huge, huge, huge}, true) << lots << 50;
        QTest::newRow("read-only folder") << "read-only" << whole << lots << 50;
        QTest::newRow("over the file-size limit") << "file-size limit" << whole << lots << 50;
        // Another program cuts the archive short once its directory has been read.
        QByteArray big(8 << 20, '\0');
        QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(big.data()), big.size() / 4);
        QTest::newRow("shrinks, stored") << "shrinks" << RawZip({{"a", big, false}}) << lots << 51;
        QTest::newRow("shrinks, deflated") << "shrinks" << RawZip({{"a", big}}) << lots << 51;
        // 7-Zip and RAR archives, through libarchive.
        const QList<ArchiveEntry> two = {{"a.bin", QByteArray(8000, 'a')}, {"b.bin", "123456789"}};
        const QByteArray sevenZip = SevenZip(two), rar = Rar4(two);
        QTest::newRow("7z missing") << ".7z missing" << sevenZip << lots << 9;
        QTest::newRow("7z a FIFO") << ".7z fifo" << sevenZip << lots << 9;
        QTest::newRow("rar empty file") << ".rar " << QByteArray() << lots << 9;
        QTest::newRow("7z not a 7z") << ".7z " << whole << lots << 9;
        QTest::newRow("rar, a zip inside") << ".rar " << whole << lots << 9;
        QTest::newRow("7z truncated") << ".7z " << sevenZip.chopped(20) << lots << 51;
        QTest::newRow("7z header cut") << ".7z " << sevenZip.left(20) << lots << 51;
        QTest::newRow("rar truncated in the data") << ".rar " << rar.left(80) << lots << 51;
        QTest::newRow("7z empty archive") << ".7z " << SevenZip({}) << lots << 1;
        QTest::newRow("7z one byte short of room") << ".7z " << sevenZip << qint64(8008) << 50;
        QTest::newRow("rar one byte short of room") << ".rar " << rar << qint64(8008) << 50;
        QTest::newRow("7z read-only folder") << ".7z read-only" << sevenZip << lots << 50;
        QTest::newRow("7z over the file-size limit")
            << ".7z file-size limit" << sevenZip << lots << 50;
        QTest::newRow("7z shrinks") << ".7z shrinks" << SevenZip({{"a", big}}) << lots << 51;
        QTest::newRow("rar shrinks") << ".rar shrinks" << Rar4({{"a", big}}) << lots << 51;
        const QList<ArchiveEntry> secret = {{"a.bin", "secret"}};
        QTest::newRow("7z every member encrypted")
            << ".7z " << SevenZipCommand({"-psecret"}, secret) << lots << 82;
        QTest::newRow("7z names encrypted")
            << ".7z " << SevenZipCommand({"-psecret", "-mhe=on"}, secret) << lots << 82;
        QTest::newRow("rar every member encrypted")
            << ".rar " << Rar4({{"a.bin", "secret", 'f', true}}) << lots << 82;
    }

    void nothingWritten()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, room);
        const QString path = tmp_->filePath(archiveName(setup));
        if (setup == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (setup == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (setup != "missing")
            QVERIFY(WriteFile(path, bytes));
        if (setup == "read-only") {
            QVERIFY(QDir().mkpath(out()));
            if (::geteuid() != 0) // root writes anywhere but on a read-only volume
                QVERIFY(QFile::setPermissions(out(), QFile::ReadOwner | QFile::ExeOwner));
            else if (::mount("tmpfs", QFile::encodeName(out()).constData(), "tmpfs", MS_RDONLY, ""))
                QSKIP("cannot mount a read-only volume here");
            else
                mounted_ = out();
        }
        SetFreeSpaceProbe([&](const QString &folder) { // as unknown as a volume's of no folder
            if (setup == "shrinks")
                QFile::resize(path, 4096);
            return QFileInfo(folder).isDir() ? room : -1;
        });
        int status = -1;
        if (setup == "file-size limit") { // a child that may write 2 KiB a file, as ulimit -f 2
            const pid_t child = ::fork();
            if (child == 0) {
                const rlimit limit{2048, 2048};
                std::signal(SIGXFSZ, SIG_IGN); // as the program does: writes fail with EFBIG
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::_exit(ExtractArchive(path, out()));
            }
            QCOMPARE(::waitpid(child, &status, 0), child);
            status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        } else {
            status = ExtractArchive(path, out());
        }
        QTEST(status, "status");
        QCOMPARE(Tree(out()), QStringList());
    }

    void refusedMembersKeepTheFileOnDisk_data()
    {
        QTest::addColumn<RawMember>("member");
        QTest::addColumn<int>("status");
        const auto row = [](const char *tag, int status, auto change) {
            RawMember m{"damaged.bin", QByteArray("a game file ").repeated(700000)};
            change(m);
            QTest::newRow(tag) << m << status;
        };
        row("deflated, bad CRC", 2, [](RawMember &m) { m.declaredCrc = 1; });
        row("stored, bad CRC", 2, [](RawMember &m) { m.declaredCrc = m.deflate = 0; });
        row("larger than declared", 3, [](RawMember &m) { m.declaredSize = 1000; });
        row("shorter than declared", 3, [](RawMember &m) { m.declaredSize = 9e6; });
        row("local header disagrees", 3, [](RawMember &m) { m.localName = "x"; });
        row("unknown method", 81, [](RawMember &m) { m.method = 98; });
        row("encrypted", 1, [](RawMember &m) { m.encrypted = true; });
        row("symbolic link", 1, [](RawMember &m) { m.symlink = true; });
        for (const char *name : {"../damaged.bin", "data/../../damaged.bin", "..\\damaged.bin",
                                 "/tmp/zanku-damaged.bin", "\\tmp\\zanku-damaged.bin",
                                 ".zanku-extraction", "saves/.Zanku-Extraction"})
            QTest::newRow(name) << RawMember{name, "evil"} << 1;
        const QByteArray tooLong = QString(100, u'\u3042').toUtf8(); // 300 bytes, over 255
        QTest::newRow("name too long") << RawMember{tooLong, "x", true, true} << 1;
        QTest::newRow("folder name too long") << RawMember{tooLong + "/x", "x", true, true} << 1;
    }

    void refusedMembersKeepTheFileOnDisk()
    {
        QFETCH(RawMember, member);
        QVERIFY(QDir().mkpath(out()));
        QVERIFY(WriteFile(out() + "/damaged.bin", "the previous version"));
        QTEST(extract(RawZip({{"good.txt", "good"}, member, {"after.txt", "after", false}})),
              "status");
        QCOMPARE(Tree(tmp_->filePath("deep")),
                 QStringList({"out/", "out/after.txt", "out/damaged.bin", "out/good.txt"}));
        QCOMPARE(ReadFile(out() + "/damaged.bin"), QByteArray("the previous version"));
        QVERIFY(!QFileInfo::exists("/tmp/zanku-damaged.bin"));
    }

    // 7-Zip and RAR archives through libarchive, by the zip engine's rules. A file of the
    // name "damaged.bin" is on disk before; the archives hold "good.txt" and "after.txt"
    // around the entry of the row.
    void sevenZipAndRar_data()
    {
        QTest::addColumn<QString>("format"); // 7z or rar
        QTest::addColumn<QList<ArchiveEntry>>("entries");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("made"); // besides good.txt and after.txt
        const QByteArray game = QByteArray("a game file ").repeated(70000);
        for (const char *format : {"7z", "rar"}) {
            const auto row = [&](const char *tag, int status, const QList<ArchiveEntry> &entries,
                                 const QStringList &made = {}) {
                QTest::addRow("%s: %s", format, tag) << format << entries << status << made;
            };
            row("folders and files", 0,
                {{"data", {}, 'd'},
                 {"data/level1.dat", "level one"},
                 {"data/sub/level2.dat", game},
                 {"damaged.bin", "new"},
                 {"empty/", {}, 'd'},
                 {"caf\xc3\xa9.txt", "utf8"}},
                {"café.txt", "data/", "data/level1.dat", "data/sub/", "data/sub/level2.dat",
                 "empty/"});
            for (const char *name :
                 {"../damaged.bin", "data/../../damaged.bin", "/tmp/zanku-damaged.bin",
                  ".zanku-extraction", "saves/.ZANKU-extraction"})
                row(name, 1, {{name, "evil"}}, {});
            row("symbolic link", 1, {{"damaged.bin", "/etc/passwd", 'l'}, {"x", "x", 'l'}});
            row("FIFO", 1, {{"damaged.bin", {}, 'p'}, {"fifo", {}, 'p'}});
            row("device", 1, {{"damaged.bin", {}, 'c'}, {"device", {}, 'c'}});
            row("name too long", 1, {{QString(100, u'\u3042').toUtf8(), "x"}});
            row("folder in place of a file", 1, {{"data/inside.bin", "x"}, {"data", "x"}},
                {"data/", "data/inside.bin"});
        }
        // libarchive checks a 7-Zip member's CRC (not a stored RAR one's).
        QTest::newRow("7z: bad CRC")
            << "7z" << QList<ArchiveEntry>{{"damaged.bin", game}} << 2 << QStringList();
        QTest::newRow("rar: one member encrypted")
            << "rar" << QList<ArchiveEntry>{{"damaged.bin", game, 'f', true}} << 1 << QStringList();
    }

    void sevenZipAndRar()
    {
        QFETCH(QString, format);
        QFETCH(QList<ArchiveEntry>, entries);
        QFETCH(QStringList, made);
        QVERIFY(QDir().mkpath(out()));
        QVERIFY(WriteFile(out() + "/damaged.bin", "the previous version"));
        entries.prepend(ArchiveEntry{"good.txt", "good"});
        entries.append(ArchiveEntry{"after.txt", "after"});
        const bool badCrc = QByteArray(QTest::currentDataTag()).endsWith("bad CRC");
        QByteArray bytes = format == "7z" ? SevenZip(entries, badCrc) : Rar4(entries);
        if (badCrc)
            bytes[32 + 4 + 1000] = 'X'; // in damaged.bin, after good.txt's 4 bytes
        QTEST(ExtractArchive(write(bytes, "game." + format), out()), "status");
        made += QStringList{"after.txt", "damaged.bin", "good.txt"};
        made.sort();
        QCOMPARE(Tree(out()), made);
        const bool all = QByteArray(QTest::currentDataTag()).endsWith("folders and files");
        for (const ArchiveEntry &entry : entries) { // each file as the archive holds it
            const QString name = QString::fromUtf8(entry.name);
            if (entry.type == 'f' && (all || name == "good.txt" || name == "after.txt"))
                QCOMPARE(ReadFile(out() + '/' + name), entry.data);
        }
        if (!all)
            QCOMPARE(ReadFile(out() + "/damaged.bin"), QByteArray("the previous version"));
        QCOMPARE(QFileInfo(out() + "/good.txt").lastModified(), // RAR keeps local time
                 QDateTime(QDate(2001, 3, 5), QTime(4, 4, 10),
                           format == "7z" ? Qt::UTC : Qt::LocalTime));
        QVERIFY(!QFileInfo::exists("/tmp/zanku-damaged.bin"));
    }

    void linksAndThingsInTheWay_data()
    {
        QTest::addColumn<QString>("name"); // what is on disk in place of this member
        QTest::addColumn<bool>("link");    // a link to outside/ (or to outside/data.bin)
        QTest::addColumn<int>("status");   // otherwise a folder
        QTest::newRow("link in place of a folder") << QString("data") << true << 1;
        QTest::newRow("link in place of a file is replaced") << QString("data.bin") << true << 0;
        QTest::newRow("folder in place of a file") << QString("data.bin") << false << 1;
    }

    void linksAndThingsInTheWay()
    {
        QFETCH(QString, name);
        QFETCH(bool, link);
        const QString outside = tmp_->filePath("outside");
        QVERIFY(QDir().mkpath(outside) && QDir().mkpath(out()));
        QVERIFY(WriteFile(outside + "/data.bin", "precious"));
        QVERIFY(link ? QFile::link(outside + "/" + name, out() + "/" + name)
                     : QDir().mkpath(out() + "/" + name + "/inside"));
        QTEST(extract(RawZip({{"data.bin", "new"}, {"data/data.bin", "new"}, {"x.txt", "x"}})),
              "status");
        QCOMPARE(Tree(outside), QStringList{"data.bin"});
        QCOMPARE(ReadFile(outside + "/data.bin"), QByteArray("precious"));
        QCOMPARE(ReadFile(out() + "/x.txt"), QByteArray("x"));
        QCOMPARE(QFileInfo(out() + "/data.bin").isFile(), link);
    }

    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reasons"); // what the warning says here|on Windows; "": safe
        QTest::newRow("parent") << "a/../../b" << QString("\"..\"|\"..\"");
        QTest::newRow("backslash parent") << "..\\b" << QString("\"..\"|\"..\"");
        QTest::newRow("absolute") << "/b" << QString("absolute|absolute");
        QTest::newRow("backslash absolute") << "\\\\server\\b" << QString("absolute|absolute");
        QTest::newRow("colon") << "Game: Part 1.bin" << QString("|\":\"");
        QTest::newRow("drive letter") << "c:b.txt" << QString("|drive letter");
        QTest::newRow("dots and blanks") << ".. /b" << QString("|would shorten");
        QTest::newRow("device name") << "a/Con.txt" << QString("|device name");
        QTest::newRow("control character") << "b\n.txt" << QString("|control character");
        QTest::newRow("the marker's name") << "a\\.zanku-extraction" << QString("record|record");
    }

    void unsafeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, reasons);
        for (const NamePlatform platform : {NamePlatform::Unix, NamePlatform::Windows}) {
            const QString want = reasons.section('|', int(platform), int(platform));
            const QString reason = UnsafeNameReason(name, platform);
            QVERIFY2(want.isEmpty() ? reason.isEmpty() : reason.contains(want), qPrintable(reason));
        }
    }
};

QTEST_GUILESS_MAIN(UnzipTest)
#include "test_unzip.moc"
