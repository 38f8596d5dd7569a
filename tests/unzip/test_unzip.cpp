#include "ScriptedMessages.h"
#include "ZipFixtures.h"
#include "unzip/UnzipNames.h"
#include "unzip/VBUnzBas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <ctime>

Q_DECLARE_METATYPE(MessageAnswer)

namespace {

// A local time as the archive stores it (two-second steps).
std::time_t localTime(int year, int month, int day, int hour, int minute)
{
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_isdst = -1;
    return std::mktime(&when);
}

const QList<ZipMember> &gameArchive()
{
    static const QList<ZipMember> members = {
        {"game.bin", QByteArray(5000, 'g'), 8, 0, false, false, localTime(2003, 4, 5, 6, 8)},
        {"data/", {}, 0, 0, false, true, 0},
        {"data/level1.dat", "level one", 0, 0, false, false, 0},
        {"data/sub/level2.dat", QByteArray("level two ").repeated(300), 8, 0, false, false, 0},
        {"empty/", {}, 0, 0, false, true, 0},
    };
    return members;
}

// Entries of the tree that are temporary files of an extraction.
QStringList leftovers(const QString &directory)
{
    QStringList found;
    for (const QString &entry : Tree(directory)) {
        if (entry.endsWith(QLatin1String(".part")))
            found.append(entry);
    }
    return found;
}

} // namespace

class UnzipTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void extractsEveryMemberWithItsFolders();
    void flattensFoldersWhenAsked();
    void createsTheExtractionDirectoryWithParents();
    void emptyExtractionDirectoryMeansTheCurrentOne();
    void overwritesWithoutAQuestion();
    void keepsExistingFilesWhenNeitherOverwriteNorAsk();
    void asksBeforeOverwriting_data();
    void asksBeforeOverwriting();
    void includeAndExcludeTables_data();
    void includeAndExcludeTables();
    void encryptedMembersAreSkipped_data();
    void encryptedMembersAreSkipped();
    void missingArchiveShowsNine();
    void brokenArchives_data();
    void brokenArchives();
    void damagedMemberLeavesNoFile_data();
    void damagedMemberLeavesNoFile();
    void hostileNamesAreRefused_data();
    void hostileNamesAreRefused();
    void linkOnDiskIsNotFollowed();
    void linkOnDiskInPlaceOfAFileIsReplacedNotFollowed();
    void symlinkMembersAreNotCreated();
    void folderInTheWayOfAFileIsKept();
    void notEnoughSpaceWritesNothing();
    void layoutsThatExtractNormally_data();
    void layoutsThatExtractNormally();
    void namesDecodeByTheirFlag();
    void otherMethods();
    void listingLine_data();
    void listingLine();
    void listOnlyBuildsTheListingAndWritesNothing();
    void memberPaths_data();
    void memberPaths();
    void wildcards_data();
    void wildcards();

private:
    QString archive(const QList<ZipMember> &members, const QByteArray &comment = {});
    QString rawArchive(const QByteArray &bytes);
    QString out() const { return tmp_->filePath(QStringLiteral("out")); }

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<ScriptedMessages> messages_;
    int archives_ = 0;
};

void UnzipTest::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    messages_ = std::make_unique<ScriptedMessages>();
    // What the launch does before every extraction.
    CrLf = QStringLiteral("\r\n");
    UnzipText.clear();
    UnzipListing.clear();
    UnzipListCount = 0;
    IncludeNames.fill(QString());
    ExcludeNames.fill(QString());
    SetFreeSpaceProbe([](const QString &) { return qint64(1) << 40; });
}

void UnzipTest::cleanup()
{
    SetFreeSpaceProbe({});
    messages_.reset();
    if (tmp_)
        QCOMPARE(leftovers(tmp_->path()), QStringList());
    tmp_.reset();
}

QString UnzipTest::archive(const QList<ZipMember> &members, const QByteArray &comment)
{
    const QString path = tmp_->filePath(QStringLiteral("archive%1.zip").arg(++archives_));
    if (!MakeZip(path, members, comment))
        qFatal("cannot make the test archive");
    return path;
}

QString UnzipTest::rawArchive(const QByteArray &bytes)
{
    const QString path = tmp_->filePath(QStringLiteral("raw%1.zip").arg(++archives_));
    if (!WriteFile(path, bytes))
        qFatal("cannot write the test archive");
    return path;
}

void UnzipTest::extractsEveryMemberWithItsFolders()
{
    const QString zip = archive(gameArchive());
    QCOMPARE(UnzipArchive(zip, out(), 0, 1, 0, 1, 0, 0), 0);
    QCOMPARE(Tree(out()), QStringList({"data/", "data/level1.dat", "data/sub/",
                                       "data/sub/level2.dat", "empty/", "game.bin"}));
    QCOMPARE(ReadFile(out() + "/game.bin"), QByteArray(5000, 'g'));
    QCOMPARE(ReadFile(out() + "/data/level1.dat"), QByteArray("level one"));
    QCOMPARE(ReadFile(out() + "/data/sub/level2.dat"), QByteArray("level two ").repeated(300));
    QCOMPARE(QFileInfo(out() + "/game.bin").lastModified().toSecsSinceEpoch(),
             qint64(localTime(2003, 4, 5, 6, 8)));
    QVERIFY(messages_->shown.isEmpty());
    QVERIFY(UnzipText.contains("  inflating: game.bin\n"));
    QVERIFY(UnzipText.contains(" extracting: data/level1.dat\n"));
    QCOMPARE(UnzipCallbackRecord.MemberCount, 5);
    QCOMPARE(UnzipCallbackRecord.TotalUncompressedSize, quint64(5000 + 9 + 3000));
}

void UnzipTest::flattensFoldersWhenAsked()
{
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 0, 0, 0), 0);
    QCOMPARE(Tree(out()), QStringList({"game.bin", "level1.dat", "level2.dat"}));
    QCOMPARE(ReadFile(out() + "/level2.dat"), QByteArray("level two ").repeated(300));
}

void UnzipTest::createsTheExtractionDirectoryWithParents()
{
    const QString deep = tmp_->filePath("a/b/c");
    QCOMPARE(UnzipArchive(archive(gameArchive()), deep, 0, 1, 0, 1, 0, 0), 0);
    QCOMPARE(ReadFile(deep + "/data/level1.dat"), QByteArray("level one"));
}

void UnzipTest::emptyExtractionDirectoryMeansTheCurrentOne()
{
    const QString zip = archive({{"here.txt", "here", 8, 0, false, false, 0}});
    const QString previous = QDir::currentPath();
    QVERIFY(QDir().mkpath(out()));
    QVERIFY(QDir::setCurrent(out()));
    const int status = UnzipArchive(zip, QString(), 0, 1, 0, 1, 0, 0);
    QDir::setCurrent(previous);
    QCOMPARE(status, 0);
    QCOMPARE(ReadFile(out() + "/here.txt"), QByteArray("here"));
}

void UnzipTest::overwritesWithoutAQuestion()
{
    QVERIFY(QDir().mkpath(out() + "/data"));
    QVERIFY(WriteFile(out() + "/data/level1.dat", "old content, longer than the new"));
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, 0, 0), 0);
    QCOMPARE(ReadFile(out() + "/data/level1.dat"), QByteArray("level one"));
    QVERIFY(messages_->shown.isEmpty());
}

void UnzipTest::keepsExistingFilesWhenNeitherOverwriteNorAsk()
{
    QVERIFY(QDir().mkpath(out()));
    QVERIFY(WriteFile(out() + "/game.bin", "old"));
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 0, 0, 1, 0, 0), 0);
    QCOMPARE(ReadFile(out() + "/game.bin"), QByteArray("old"));
    QCOMPARE(ReadFile(out() + "/data/level1.dat"), QByteArray("level one"));
    QVERIFY(messages_->shown.isEmpty());
}

void UnzipTest::asksBeforeOverwriting_data()
{
    QTest::addColumn<QList<MessageAnswer>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    const QByteArray firstNew(5000, 'g');
    const QByteArray secondNew("level one");
    QTest::newRow("no, then yes") << QList{MessageAnswer::No, MessageAnswer::Yes} << 2
                                  << QByteArray("old 1") << secondNew;
    QTest::newRow("yes, then no") << QList{MessageAnswer::Yes, MessageAnswer::No} << 2 << firstNew
                                  << QByteArray("old 2");
    QTest::newRow("cancel: no file, no more questions")
        << QList{MessageAnswer::Cancel} << 1 << QByteArray("old 1") << QByteArray("old 2");
}

void UnzipTest::asksBeforeOverwriting()
{
    QFETCH(QList<MessageAnswer>, answers);
    QFETCH(int, questions);
    QVERIFY(QDir().mkpath(out() + "/data"));
    QVERIFY(WriteFile(out() + "/game.bin", "old 1"));
    QVERIFY(WriteFile(out() + "/data/level1.dat", "old 2"));
    for (MessageAnswer answer : answers)
        messages_->answers.enqueue(answer);

    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 1, 0, 0, 1, 0, 0), 0);

    QTEST(ReadFile(out() + "/game.bin"), "first");
    QTEST(ReadFile(out() + "/data/level1.dat"), "second");
    QCOMPARE(ReadFile(out() + "/data/sub/level2.dat"), QByteArray("level two ").repeated(300));
    QCOMPARE(messages_->shown.size(), questions);
    const MessageRequest &box = messages_->shown.first();
    QCOMPARE(box.title, QString("VBUnzip - File already exists"));
    QCOMPARE(box.text, "Overwrite " + QDir(out()).filePath("game.bin") + "?");
    QCOMPARE(box.buttons, MessageButtons::YesNoCancel);
}

void UnzipTest::includeAndExcludeTables_data()
{
    QTest::addColumn<QStringList>("include");
    QTest::addColumn<QStringList>("exclude");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("include one") << QStringList{"game.bin"} << QStringList() << 0
                                 << QStringList{"game.bin"};
    QTest::newRow("include wildcard across folders")
        << QStringList{"*.dat"} << QStringList() << 0
        << QStringList{"data/level1.dat", "data/sub/level2.dat"};
    QTest::newRow("exclude a folder")
        << QStringList() << QStringList{"data/*"} << 0 << QStringList{"game.bin"};
    QTest::newRow("include and exclude")
        << QStringList{"data/*"} << QStringList{"*2.dat"} << 0 << QStringList{"data/level1.dat"};
    QTest::newRow("two includes, one never matches")
        << QStringList{"game.bin", "missing.txt"} << QStringList() << 11 << QStringList{"game.bin"};
    QTest::newRow("nothing matches")
        << QStringList{"nothing*"} << QStringList() << 11 << QStringList();
    QTest::newRow("case counts") << QStringList{"GAME.BIN"} << QStringList() << 11 << QStringList();
}

void UnzipTest::includeAndExcludeTables()
{
    QFETCH(QStringList, include);
    QFETCH(QStringList, exclude);
    QFETCH(QStringList, files);
    for (int i = 0; i < include.size(); ++i)
        IncludeNames[size_t(i)] = include[i];
    for (int i = 0; i < exclude.size(); ++i)
        ExcludeNames[size_t(i)] = exclude[i];
    // Entries beyond the counts are never read.
    IncludeNames[size_t(include.size())] = "*";
    ExcludeNames[size_t(exclude.size())] = "*";

    const int status = UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, int(include.size()),
                                    int(exclude.size()));
    QTEST(status, "status");
    QStringList extracted;
    for (const QString &entry : Tree(out())) {
        if (!entry.endsWith('/'))
            extracted.append(entry);
    }
    QCOMPARE(extracted, files);
}

void UnzipTest::encryptedMembersAreSkipped_data()
{
    QTest::addColumn<int>("encryption");
    QTest::addColumn<bool>("withPlainMember");
    QTest::addColumn<int>("status");
    QTest::newRow("aes-256 beside a plain member") << int(ZIP_EM_AES_256) << true << 1;
    QTest::newRow("aes-128 beside a plain member") << int(ZIP_EM_AES_128) << true << 1;
    QTest::newRow("traditional beside a plain member") << int(ZIP_EM_TRAD_PKWARE) << true << 1;
    QTest::newRow("every member encrypted") << int(ZIP_EM_AES_256) << false << 82;
}

void UnzipTest::encryptedMembersAreSkipped()
{
    QFETCH(int, encryption);
    QFETCH(bool, withPlainMember);
    QList<ZipMember> members = {{"secret1.bin", "hidden", 8, encryption, false, false, 0},
                                {"secret2.bin", "hidden too", 0, encryption, false, false, 0}};
    if (withPlainMember)
        members.append({"plain.txt", "open", 8, 0, false, false, 0});

    const int status = UnzipArchive(archive(members), out(), 0, 1, 0, 1, 0, 0);
    QTEST(status, "status");
    QCOMPARE(messages_->texts(), QStringList{QString::number(status)});
    QCOMPARE(messages_->shown.first().title, QString("Zanku"));
    QCOMPARE(Tree(out()), withPlainMember ? QStringList{"plain.txt"} : QStringList());
    QVERIFY(UnzipText.contains("skipping: secret1.bin  encrypted (no password)"));
}

void UnzipTest::missingArchiveShowsNine()
{
    QCOMPARE(UnzipArchive(tmp_->filePath("nowhere.zip"), out(), 0, 1, 0, 1, 0, 0), 9);
    QCOMPARE(messages_->shown.size(), 1);
    QCOMPARE(messages_->shown.first().title, QString("Zanku"));
    QCOMPARE(messages_->shown.first().text, QString("9"));
    QCOMPARE(messages_->shown.first().buttons, MessageButtons::Ok);
    QVERIFY(!QFileInfo::exists(out()));
}

void UnzipTest::brokenArchives_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QByteArray whole = RawZip({{"a.bin", QByteArray(20000, 'a')}, {"b.bin", "bee"}});
    QTest::newRow("truncated in the data") << whole.left(40) << 51;
    QTest::newRow("truncated in the central directory") << whole.left(whole.size() - 30) << 51;
    QTest::newRow("not a zip") << QByteArray("This is a text file, not an archive.\n").repeated(50)
                               << 9;
    QTest::newRow("empty file") << QByteArray() << 9;
    QTest::newRow("empty archive") << RawZip({}) << 1;
    QByteArray badOffset = whole;
    badOffset[badOffset.size() - 6] = char(0x7f); // central directory offset past the end
    QTest::newRow("central directory offset past the end") << badOffset << 3;
}

void UnzipTest::brokenArchives()
{
    QFETCH(QByteArray, bytes);
    const int status = UnzipArchive(rawArchive(bytes), out(), 0, 1, 0, 1, 0, 0);
    QTEST(status, "status");
    QCOMPARE(messages_->texts(), QStringList{QString::number(status)});
    QVERIFY(!QFileInfo::exists(out()));
}

void UnzipTest::damagedMemberLeavesNoFile_data()
{
    QTest::addColumn<RawMember>("damaged");
    QTest::addColumn<int>("status");
    const QByteArray content = QByteArray("a game file ").repeated(4000);
    RawMember badCrc{"damaged.bin", content};
    badCrc.declaredCrc = 0x12345678;
    QTest::newRow("deflated, bad crc") << badCrc << 2;
    RawMember storedCrc{"damaged.bin", content, false};
    storedCrc.declaredCrc = 0x12345678;
    QTest::newRow("stored, bad crc") << storedCrc << 2;
    RawMember bomb{"damaged.bin", QByteArray(3 << 20, '\0')};
    bomb.declaredSize = 1000;
    QTest::newRow("inflates past its declared size") << bomb << 3;
    RawMember shorter{"damaged.bin", content};
    shorter.declaredSize = content.size() + 10;
    QTest::newRow("shorter than declared") << shorter << 3;
}

Q_DECLARE_METATYPE(RawMember)

void UnzipTest::damagedMemberLeavesNoFile()
{
    QFETCH(RawMember, damaged);
    const QString zip = rawArchive(RawZip({{"good.txt", "good"}, damaged, {"after.txt", "after"}}));
    QVERIFY(QDir().mkpath(out()));
    QVERIFY(WriteFile(out() + "/damaged.bin", "the previous version"));
    QTEST(UnzipArchive(zip, out(), 0, 1, 0, 1, 0, 0), "status");
    // The damaged member never replaces what was there; the others extract.
    QCOMPARE(Tree(out()), QStringList({"after.txt", "damaged.bin", "good.txt"}));
    QCOMPARE(ReadFile(out() + "/damaged.bin"), QByteArray("the previous version"));
}

void UnzipTest::hostileNamesAreRefused_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("parent") << QByteArray("../escaped.txt");
    QTest::newRow("parent deeper") << QByteArray("data/../../escaped.txt");
    QTest::newRow("absolute") << QByteArray("/tmp/zanku-escaped.txt");
    QTest::newRow("backslash parent") << QByteArray("..\\escaped.txt");
    QTest::newRow("backslash absolute") << QByteArray("\\escaped.txt");
    QTest::newRow("drive letter") << QByteArray("C:/escaped.txt");
    QTest::newRow("drive relative") << QByteArray("c:escaped.txt");
    QTest::newRow("dots and blanks") << QByteArray(".. /escaped.txt");
    QTest::newRow("control character") << QByteArray("esc\naped.txt");
}

void UnzipTest::hostileNamesAreRefused()
{
    QFETCH(QByteArray, name);
    const QString zip = archive({{"good.txt", "good", 8, 0, false, false, 0},
                                 {name, "evil", 8, 0, false, false, 0},
                                 {"data/fine.txt", "fine", 0, 0, false, false, 0}});
    const QString extractDir = tmp_->filePath("deep/out");
    QCOMPARE(UnzipArchive(zip, extractDir, 0, 1, 0, 1, 0, 0), 1);
    QCOMPARE(Tree(tmp_->filePath("deep")),
             QStringList({"out/", "out/data/", "out/data/fine.txt", "out/good.txt"}));
    QVERIFY(!QFileInfo::exists("/tmp/zanku-escaped.txt"));
    QVERIFY(UnzipText.contains("unsafe name"));
    QCOMPARE(messages_->texts(), QStringList{"1"});
}

void UnzipTest::linkOnDiskIsNotFollowed()
{
    const QString outside = tmp_->filePath("outside");
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(QDir().mkpath(out()));
    QVERIFY(QFile::link(outside, out() + "/data"));
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, 0, 0), 1);
    QCOMPARE(Tree(outside), QStringList());
    QCOMPARE(ReadFile(out() + "/game.bin"), QByteArray(5000, 'g'));
    QVERIFY(UnzipText.contains("data is a link or a file on disk, not a folder"));
}

void UnzipTest::linkOnDiskInPlaceOfAFileIsReplacedNotFollowed()
{
    const QString target = tmp_->filePath("precious.txt");
    QVERIFY(WriteFile(target, "precious"));
    QVERIFY(QDir().mkpath(out()));
    QVERIFY(QFile::link(target, out() + "/game.bin"));
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, 0, 0), 0);
    QCOMPARE(ReadFile(target), QByteArray("precious"));
    QVERIFY(!QFileInfo(out() + "/game.bin").isSymLink());
    QCOMPARE(ReadFile(out() + "/game.bin"), QByteArray(5000, 'g'));
}

void UnzipTest::symlinkMembersAreNotCreated()
{
    const QString zip = archive({{"link", "/etc/passwd", 0, 0, true, false, 0},
                                 {"real.txt", "real", 8, 0, false, false, 0}});
    QCOMPARE(UnzipArchive(zip, out(), 0, 1, 0, 1, 0, 0), 1);
    QCOMPARE(Tree(out()), QStringList{"real.txt"});
    QVERIFY(UnzipText.contains("skipping: link  symbolic link"));
}

void UnzipTest::folderInTheWayOfAFileIsKept()
{
    QVERIFY(QDir().mkpath(out() + "/game.bin/inside"));
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, 0, 0), 1);
    QVERIFY(QFileInfo(out() + "/game.bin/inside").isDir());
    QCOMPARE(ReadFile(out() + "/data/level1.dat"), QByteArray("level one"));
}

void UnzipTest::notEnoughSpaceWritesNothing()
{
    QString asked;
    SetFreeSpaceProbe([&asked](const QString &directory) {
        asked = directory;
        return qint64(8000); // the members need 8009 bytes
    });
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, 0, 0), 50);
    QCOMPARE(asked, QDir(tmp_->path()).absolutePath());
    QVERIFY(!QFileInfo::exists(out()));
    QCOMPARE(messages_->texts(), QStringList{"50"});

    SetFreeSpaceProbe([](const QString &) { return qint64(8009); });
    QCOMPARE(UnzipArchive(archive(gameArchive()), out(), 0, 1, 0, 1, 0, 0), 0);
}

void UnzipTest::layoutsThatExtractNormally_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray big = QByteArray("zip64 content ").repeated(1000);
    const QList<RawMember> members = {{"one.bin", big}, {"two.txt", "two", false}};
    QTest::newRow("zip64") << RawZip(members, true);
    QList<RawMember> described = members;
    for (RawMember &member : described)
        member.descriptor = true;
    QTest::newRow("data descriptors") << RawZip(described);
    QTest::newRow("zip64 with data descriptors") << RawZip(described, true);
    QTest::newRow("comment") << RawZip(members, false, "An archive comment.");
    QTest::newRow("trailing bytes") << RawZip(members) + QByteArray(100, 'x');
    QTest::newRow("made by libzip, with a comment") << QByteArray();
}

void UnzipTest::layoutsThatExtractNormally()
{
    QFETCH(QByteArray, bytes);
    if (bytes.isEmpty()) {
        // Made by libzip, with a comment set through it.
        bytes = ReadFile(archive(
            {{"one.bin", QByteArray("zip64 content ").repeated(1000), 8, 0, false, false, 0},
             {"two.txt", "two", 0, 0, false, false, 0}},
            "libzip comment"));
    }
    QCOMPARE(UnzipArchive(rawArchive(bytes), out(), 0, 1, 0, 1, 0, 0), 0);
    QCOMPARE(Tree(out()), QStringList({"one.bin", "two.txt"}));
    QCOMPARE(ReadFile(out() + "/one.bin"), QByteArray("zip64 content ").repeated(1000));
    QCOMPARE(ReadFile(out() + "/two.txt"), QByteArray("two"));
}

void UnzipTest::namesDecodeByTheirFlag()
{
    RawMember cp437{QByteArray("\x81"
                               "ber.txt"),
                    "cp437"};
    RawMember utf8{QByteArray("caf\xc3\xa9.txt"), "utf8"};
    utf8.utf8Flag = true;
    RawMember unflagged{QByteArray("\xc3\xa9t\xc3\xa9.txt"), "unflagged"};
    QCOMPARE(UnzipArchive(rawArchive(RawZip({cp437, utf8, unflagged})), out(), 0, 1, 0, 1, 0, 0),
             0);
    QCOMPARE(ReadFile(out() + QString::fromUtf8("/\xc3\xbc"
                                                "ber.txt")),
             QByteArray("cp437"));
    QCOMPARE(ReadFile(out() + QString::fromUtf8("/caf\xc3\xa9.txt")), QByteArray("utf8"));
    // Without the flag, the bytes are code page 437 even where they read as UTF-8.
    QCOMPARE(ReadFile(out() +
                      QString::fromUtf8("/\xe2\x94\x9c\xe2\x8c\x90t\xe2\x94\x9c\xe2\x8c\x90.txt")),
             QByteArray("unflagged"));
}

void UnzipTest::otherMethods()
{
    QList<RawMember> raw = {{"plain.txt", "plain"}};
    RawMember ppmd{"ppmd.bin", "pretend", false};
    ppmd.method = 98;
    raw.append(ppmd);
    QCOMPARE(UnzipArchive(rawArchive(RawZip(raw)), out(), 0, 1, 0, 1, 0, 0), 81);
    QCOMPARE(Tree(out()), QStringList{"plain.txt"});
    QVERIFY(UnzipText.contains("unsupported compression method 98"));

    if (!zip_compression_method_supported(ZIP_CM_BZIP2, 1))
        QSKIP("libzip of this system has no bzip2");
    const QByteArray text = QByteArray("bzip2 text ").repeated(500);
    QCOMPARE(UnzipArchive(archive({{"b.txt", text, ZIP_CM_BZIP2, 0, false, false, 0}}), out() + "2",
                          0, 1, 0, 1, 0, 0),
             0);
    QCOMPARE(ReadFile(out() + "2/b.txt"), text);
}

void UnzipTest::listingLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint64>("size");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<QString>("line");
    // Columns: name 1-50, size 51-57, day 60-61, month 63-64, year 66-67, time 70-74.
    const auto line = [](const QString &name, const QString &size, const QString &date,
                         const QString &time) {
        return (name.leftJustified(50) + size + "  " + date + "  " + time).leftJustified(80);
    };
    QTest::newRow("short") << "game.bin" << quint64(5000) << 25 << 12 << 2003 << 16 << 45
                           << line("game.bin", "   5000", "25/12/03", "16:45");
    QTest::newRow("one-digit day, month, hour, minute")
        << "a" << quint64(0) << 5 << 3 << 2009 << 7 << 4
        << line("a", "      0", " 5/03/09", " 7:04");
    QTest::newRow("name over 50 characters")
        << QString("n").repeated(49) + "XYZ" << quint64(12) << 31 << 1 << 1999 << 23 << 59
        << line(QString("n").repeated(49) + "X", "     12", "31/01/99", "23:59");
    QTest::newRow("size over 7 digits stays whole, the name gives way")
        << QString("n").repeated(50) << quint64(123456789) << 1 << 10 << 2010 << 0 << 0
        << (QString("n").repeated(47) + " 123456789  " + " 1/10/10" + "  " + " 0:00")
               .leftJustified(80);
    QTest::newRow("exactly 7 digits") << "big.bin" << quint64(1234567) << 1 << 10 << 2010 << 0 << 0
                                      << line("big.bin", "1234567", " 1/10/10", " 0:00");
    QTest::newRow("year 2000") << "y2k" << quint64(1) << 1 << 1 << 2000 << 12 << 0
                               << line("y2k", "      1", " 1/01/00", "12:00");
}

void UnzipTest::listingLine()
{
    QFETCH(QString, name);
    QFETCH(quint64, size);
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(QString, line);
    UnzipMessage(size, 0, 0, month, day, year, hour, minute, ' ', name, "Stored", 0, false);
    const QString header = QString("Filename:").leftJustified(52) +
                           QString("Size").leftJustified(9) + QString("Date").leftJustified(9) +
                           QString("Time").leftJustified(10);
    QCOMPARE(header.size(), 80);
    QCOMPARE(UnzipListing, header + "\r\n" + line + "\r\n");
    QCOMPARE(UnzipListCount, 1);
}

void UnzipTest::listOnlyBuildsTheListingAndWritesNothing()
{
    const QString zip = archive(gameArchive());
    QCOMPARE(UnzipArchive(zip, out(), 0, 1, 1, 1, 0, 0), 0);
    QVERIFY(!QFileInfo::exists(out()));
    QCOMPARE(UnzipListCount, 5);
    const QStringList lines = UnzipListing.split("\r\n");
    QCOMPARE(lines.size(), 7); // header, five members, and the empty rest after the last end
    QCOMPARE(lines[1],
             ("game.bin" + QString(42, ' ') + "   5000   5/04/03   6:08").leftJustified(80));
    QVERIFY(lines[3].startsWith("data/level1.dat "));
    QCOMPARE(lines[3].mid(50, 7), QString("      9"));
}

void UnzipTest::memberPaths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folders");
    QTest::addColumn<bool>("safe");
    QTest::addColumn<QString>("place");
    QTest::newRow("plain") << "a.txt" << true << true << "a.txt";
    QTest::newRow("nested") << "a/b/c.txt" << true << true << "a/b/c.txt";
    QTest::newRow("flattened") << "a/b/c.txt" << false << true << "c.txt";
    QTest::newRow("backslashes") << "a\\b\\c.txt" << true << true << "a/b/c.txt";
    QTest::newRow("dot and doubled slashes") << "./a//./b.txt" << true << true << "a/b.txt";
    QTest::newRow("folder entry") << "a/b/" << true << true << "a/b";
    QTest::newRow("three dots are a name") << "...txt" << true << true << "...txt";
    QTest::newRow("parent") << "a/../b" << true << false << "";
    QTest::newRow("parent, flattened") << "../b" << false << false << "";
    QTest::newRow("trailing dot parent") << "a/.. " << true << false << "";
    QTest::newRow("three dots alone") << "a/.../b" << true << false << "";
    QTest::newRow("absolute") << "/b" << true << false << "";
    QTest::newRow("drive") << "D:\\b" << true << false << "";
    QTest::newRow("stream") << "b.txt:hidden" << true << false << "";
    QTest::newRow("empty") << "" << true << false << "";
    QTest::newRow("only a dot") << "." << true << false << "";
}

void UnzipTest::memberPaths()
{
    QFETCH(QString, name);
    QFETCH(bool, folders);
    const MemberPath path = ResolveMemberPath(name, folders);
    QTEST(path.safe, "safe");
    if (path.safe)
        QTEST(path.relative(), "place");
}

void UnzipTest::wildcards_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("anyCase");
    QTest::addColumn<bool>("matches");
    QTest::newRow("exact") << "a.txt"
                           << "a.txt" << false << true;
    QTest::newRow("star crosses folders") << "*.txt"
                                          << "d/a.txt" << false << true;
    QTest::newRow("star needs the rest") << "*.txt"
                                         << "a.txt.bak" << false << false;
    QTest::newRow("question mark") << "a?c"
                                   << "abc" << false << true;
    QTest::newRow("question mark needs one") << "a?c"
                                             << "ac" << false << false;
    QTest::newRow("set") << "[ab]1"
                         << "b1" << false << true;
    QTest::newRow("range") << "x[0-9]"
                           << "x7" << false << true;
    QTest::newRow("negated set") << "x[!0-9]"
                                 << "x7" << false << false;
    QTest::newRow("unclosed set is literal") << "x[0"
                                             << "x[0" << false << true;
    QTest::newRow("case") << "A.TXT"
                          << "a.txt" << false << false;
    QTest::newRow("any case") << "A.TXT"
                              << "a.txt" << true << true;
    QTest::newRow("backtracking") << "*a*b*c"
                                  << "xaxxbxxbc" << false << true;
    QTest::newRow("many stars, no match")
        << "*a*a*a*a*a*b" << QString("a").repeated(200) << false << false;
}

void UnzipTest::wildcards()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, anyCase);
    QTEST(MatchesWildcard(pattern, name, anyCase), "matches");
}

QTEST_GUILESS_MAIN(UnzipTest)
#include "test_unzip.moc"
