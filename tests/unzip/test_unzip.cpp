#include "ScriptedMessages.h"
#include "ZipFixtures.h"
#include "unzip/UnzipNames.h"
#include "unzip/VBUnzBas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RawMember)

// Extraction as the launch calls it (ask 0, overwrite 1, folders 1, no tables), on archives
// made byte by byte in a fresh folder.
class UnzipTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<ScriptedMessages> messages_;
    QString mounted_;

    QString out() const { return tmp_->filePath("deep/out"); }
    QString write(const QByteArray &bytes)
    {
        const QString path = tmp_->filePath("game.zip");
        if (!WriteFile(path, bytes))
            qFatal("cannot write the test archive");
        return path;
    }
    int extract(const QByteArray &bytes)
    {
        return UnzipArchive(write(bytes), out(), 0, 1, 0, 1, 0, 0);
    }

private slots:
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        messages_ = std::make_unique<ScriptedMessages>();
        UnzipText.clear();
        SetFreeSpaceProbe([](const QString &) { return qint64(1) << 40; });
    }

    void cleanup()
    {
        if (!mounted_.isEmpty())
            ::umount(QFile::encodeName(std::exchange(mounted_, QString())).constData());
        SetFreeSpaceProbe({});
        messages_.reset();
        // No extraction ever leaves a temporary file behind.
        QCOMPARE(Tree(tmp_->path()).filter(".part"), QStringList());
    }

    void extractsLikeTheLaunch_data()
    {
        QTest::addColumn<bool>("zip64");
        QTest::addColumn<bool>("descriptors");
        QTest::addColumn<QByteArray>("comment");
        QTest::newRow("plain") << false << false << QByteArray();
        QTest::newRow("zip64") << true << false << QByteArray();
        QTest::newRow("data descriptors") << false << true << QByteArray();
        QTest::newRow("zip64, data descriptors") << true << true << QByteArray();
        QTest::newRow("comment, trailing bytes") << false << false << QByteArray("Hi.\0xx", 6);
    }

    void extractsLikeTheLaunch()
    {
        QFETCH(bool, zip64);
        QFETCH(bool, descriptors);
        QFETCH(QByteArray, comment);
        const QByteArray two = QByteArray("level two ").repeated(300);
        RawMember utf8{"caf\xc3\xa9.txt", "utf8"};
        utf8.utf8Flag = true;
        // Names without the UTF-8 flag are code page 437, even where they read as UTF-8.
        QList<RawMember> members = {{"Game: Part 1.bin", QByteArray(5000, 'g')},
                                    {"data/", {}, false},
                                    {"data/level1.dat", "level one", false},
                                    {"data\\sub\\level2.dat", two},
                                    {"... /empty/", {}, false},
                                    {"\x81"
                                     "ber.txt",
                                     "cp437"},
                                    {"\xc3\xa9.txt", "unflagged"},
                                    utf8};
        for (RawMember &member : members)
            member.descriptor = descriptors;
        QVERIFY(QDir().mkpath(out() + "/data"));
        QVERIFY(WriteFile(out() + "/data/level1.dat", "old content, longer than the new"));
        QCOMPARE(extract(RawZip(members, zip64, comment)), 0);
        QCOMPARE(Tree(out()), QStringList({"... /", "... /empty/", "Game: Part 1.bin", "café.txt",
                                           "data/", "data/level1.dat", "data/sub/",
                                           "data/sub/level2.dat", "über.txt", "├⌐.txt"}));
        QCOMPARE(ReadFile(out() + "/Game: Part 1.bin"), QByteArray(5000, 'g'));
        QCOMPARE(ReadFile(out() + "/data/level1.dat"), QByteArray("level one"));
        QCOMPARE(ReadFile(out() + "/data/sub/level2.dat"), two);
        QCOMPARE(ReadFile(out() + "/über.txt"), QByteArray("cp437"));
        QCOMPARE(QFileInfo(out() + "/data/level1.dat").lastModified(),
                 QDateTime(QDate(2001, 3, 5), QTime(4, 4, 10)));
        QVERIFY(messages_->shown.isEmpty());
    }

    void brokenArchives_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "fifo", "zero": made by the test
        QTest::addColumn<int>("status");
        const QByteArray whole = RawZip({{"a.bin", QByteArray(20000, 'a')}, {"b.bin", "bee"}});
        QTest::newRow("missing") << QByteArray() << 9;
        QTest::newRow("empty file") << QByteArray("empty") << 9;
        QTest::newRow("not a zip") << QByteArray("Just text, no archive.\n").repeated(50) << 9;
        QTest::newRow("a FIFO") << QByteArray("fifo") << 9;
        QTest::newRow("a link to /dev/zero") << QByteArray("zero") << 9;
        QTest::newRow("truncated in the data") << whole.left(40) << 51;
        QTest::newRow("truncated in the directory") << whole.left(whole.size() - 30) << 51;
        QByteArray pastEnd = whole;
        pastEnd[pastEnd.size() - 6] = char(0x7f); // directory offset past the end
        QTest::newRow("directory past the end") << pastEnd << 3;
        // A second archive after the first, its offsets moved to where it lies: unzip tools
        // that take the last directory and libzip that weighs both would disagree.
        QByteArray second = RawZip({{"a.bin", "other bytes"}});
        const quint32 shift = quint32(whole.size());
        for (int field : {int(second.size()) - 6, int(second.size()) - 22 - 46 - 5 + 42})
            qToLittleEndian(qFromLittleEndian<quint32>(second.constData() + field) + shift,
                            second.data() + field);
        QTest::newRow("two directories") << whole + second << 3;
        QTest::newRow("empty archive") << RawZip({}) << 1;
        RawMember locked{"locked.bin", "secret"};
        locked.encrypted = true;
        QTest::newRow("every member encrypted") << RawZip({locked}) << 82;
    }

    void brokenArchives()
    {
        QFETCH(QByteArray, bytes);
        QString path = tmp_->filePath("game.zip");
        if (bytes == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (bytes == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (!bytes.isEmpty())
            path = write(bytes == "empty" ? QByteArray() : bytes);
        const int status = UnzipArchive(path, out(), 0, 1, 0, 1, 0, 0);
        QTEST(status, "status");
        QCOMPARE(messages_->texts(), QStringList{QString::number(status)});
        QCOMPARE(messages_->shown.first().title, QString("Zanku"));
        QCOMPARE(Tree(out()), QStringList());
    }

    void refusedMembersKeepTheFileOnDisk_data()
    {
        QTest::addColumn<RawMember>("member");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("why");
        const QByteArray content = QByteArray("a game file ").repeated(4000);
        RawMember m{"damaged.bin", content};
        m.declaredCrc = 0x12345678;
        QTest::newRow("deflated, bad CRC") << m << 2 << "bad CRC";
        m.deflate = false;
        QTest::newRow("stored, bad CRC") << m << 2 << "bad CRC";
        m = {"damaged.bin", QByteArray(3 << 20, '\0')};
        m.declaredSize = 1000;
        QTest::newRow("larger than declared") << m << 3 << "larger than its declared size";
        m = {"damaged.bin", content};
        m.declaredSize = content.size() + 10;
        QTest::newRow("shorter than declared") << m << 3 << "shorter than its declared size";
        m = {"damaged.bin", content};
        m.localName = "other.bin";
        QTest::newRow("local header disagrees") << m << 3 << "directory and its entries disagree";
        m = {"damaged.bin", content, false, false, false, 98};
        QTest::newRow("unknown method") << m << 81 << "unsupported compression method 98";
        m = {"damaged.bin", content};
        m.encrypted = true;
        QTest::newRow("encrypted") << m << 1 << "encrypted (no password)";
        m = {"damaged.bin", "/etc/passwd", false};
        m.symlink = true;
        QTest::newRow("symbolic link") << m << 1 << "symbolic link";
        for (const char *name : {"../damaged.bin", "data/../../damaged.bin", "..\\damaged.bin",
                                 "/tmp/zanku-damaged.bin", "\\tmp\\zanku-damaged.bin"})
            QTest::newRow(name) << RawMember{name, "evil"} << 1 << "unsafe name";
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
        QFETCH(QString, why);
        QVERIFY2(UnzipText.contains(why), qPrintable(UnzipText));
    }

    void linksAndThingsInTheWay_data()
    {
        QTest::addColumn<QString>("onDisk"); // "link": to outside/; "folder": a folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");
        QTest::newRow("link in place of a folder") << "link"
                                                   << "data" << 1;
        QTest::newRow("link in place of a file is replaced") << "link"
                                                             << "data.bin" << 0;
        QTest::newRow("folder in place of a file") << "folder"
                                                   << "data.bin" << 1;
    }

    void linksAndThingsInTheWay()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, name);
        const QString outside = tmp_->filePath("outside");
        QVERIFY(QDir().mkpath(outside) && QDir().mkpath(out()));
        QVERIFY(WriteFile(outside + "/data.bin", "precious"));
        if (onDisk == "link")
            QVERIFY(
                QFile::link(name == "data" ? outside : outside + "/data.bin", out() + "/" + name));
        else
            QVERIFY(QDir().mkpath(out() + "/" + name + "/inside"));
        QTEST(extract(RawZip({{"data.bin", "new"}, {"data/data.bin", "new"}, {"x.txt", "x"}})),
              "status");
        QCOMPARE(Tree(outside), QStringList{"data.bin"});
        QCOMPARE(ReadFile(outside + "/data.bin"), QByteArray("precious"));
        QCOMPARE(ReadFile(out() + "/x.txt"), QByteArray("x"));
        QCOMPARE(QFileInfo(out() + "/data.bin").isFile(), onDisk == "link");
    }

    void freeSpaceIsCheckedFirst_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("available");
        QTest::addColumn<int>("status");
        const QByteArray members =
            RawZip({{"a.bin", QByteArray(8000, 'a')}, {"b.txt", "123456789"}});
        QTest::newRow("one byte short") << members << qint64(8008) << 50;
        QTest::newRow("just enough") << members << qint64(8009) << 0;
        // Declared sizes whose sum wraps round to 2 in 64 bits.
        RawMember huge{"huge.bin", QByteArray(1 << 20, 'h')};
        huge.declaredSize = qint64(0x5555555555555556);
        QTest::newRow("sizes that overflow")
            << RawZip({huge, huge, huge}, true) << qint64(1 << 20) << 50;
    }

    void freeSpaceIsCheckedFirst()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, available);
        QString asked;
        SetFreeSpaceProbe([&](const QString &directory) {
            asked = directory;
            return available;
        });
        QTEST(extract(bytes), "status");
        QCOMPARE(asked,
                 QDir(tmp_->path()).absolutePath()); // the closest folder that exists
        QCOMPARE(QFileInfo::exists(out()), QTest::currentDataTag() == QLatin1String("just enough"));
    }

    void unwritableFolderIsAWriteError()
    {
        QVERIFY(QDir().mkpath(out()));
        if (::geteuid() == 0) { // root writes anywhere, but not on
                                // a read-only volume
            if (::mount("tmpfs", QFile::encodeName(out()).constData(), "tmpfs", MS_RDONLY, "") != 0)
                QSKIP("cannot mount a read-only volume here");
            mounted_ = out();
        } else {
            QVERIFY(QFile::setPermissions(out(), QFile::ReadOwner | QFile::ExeOwner));
        }
        QCOMPARE(extract(RawZip({{"a.txt", "a"}, {"data/b.txt", "b"}})), 50);
        QCOMPARE(Tree(out()), QStringList());
    }

    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("onUnix"); // what the warning says; empty: safe
        QTest::addColumn<QString>("onWindows");
        const QString up = "a \"..\" component", absolute = "an absolute path";
        QTest::newRow("plain") << "a/b.txt"
                               << ""
                               << "";
        QTest::newRow("parent") << "a/../../b" << up << up;
        QTest::newRow("backslash parent") << "..\\b" << up << up;
        QTest::newRow("absolute") << "/b" << absolute << absolute;
        QTest::newRow("backslash absolute") << "\\\\server\\b" << absolute << absolute;
        QTest::newRow("colon") << "Game: Part 1.bin"
                               << ""
                               << "\":\"";
        QTest::newRow("drive letter") << "c:b.txt"
                                      << ""
                                      << "a drive letter";
        QTest::newRow("dots and blanks") << ".. /b"
                                         << ""
                                         << "would shorten";
        QTest::newRow("device name") << "a/Con.txt"
                                     << ""
                                     << "a device name";
        QTest::newRow("control character") << "b\n.txt"
                                           << ""
                                           << "a control character";
        QTest::newRow("three dots") << "...txt"
                                    << ""
                                    << "";
    }

    void unsafeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, onUnix);
        QFETCH(QString, onWindows);
        for (const auto &[platform, want] :
             {std::pair{NamePlatform::Unix, onUnix}, std::pair{NamePlatform::Windows, onWindows}}) {
            const QString reason = UnsafeNameReason(name, platform);
            QVERIFY2(want.isEmpty() ? reason.isEmpty() : reason.contains(want), qPrintable(reason));
        }
    }

    void archiveShrinkingMidwayIsTruncated_data()
    {
        QTest::addColumn<bool>("deflate");
        QTest::newRow("stored") << false;
        QTest::newRow("deflated") << true;
    }

    void archiveShrinkingMidwayIsTruncated()
    {
        QFETCH(bool, deflate);
        QByteArray big(8 << 20, '\0');
        for (qsizetype i = 0; i < big.size(); ++i)
            big[i] = char((i * 7919) >> 5);
        const QString path = write(RawZip({{"first.txt", "first"}, {"second.bin", big, deflate}}));
        // Another program cuts the archive short once its directory has been read.
        SetFreeSpaceProbe([&](const QString &) {
            QFile::resize(path, 4096);
            return qint64(1) << 40;
        });
        QCOMPARE(UnzipArchive(path, out(), 0, 1, 0, 1, 0, 0), 51);
        QCOMPARE(Tree(out()), QStringList{"first.txt"});
    }
};

QTEST_GUILESS_MAIN(UnzipTest)
#include "test_unzip.moc"
