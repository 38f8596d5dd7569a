#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Config.h"
#include "catalogue/RomList.h"

#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void savingWithoutAnEditKeepsEveryByte_data();
    void savingWithoutAnEditKeepsEveryByte();
    void unreadableFileIsReported_data();
    void unreadableFileIsReported();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
};

void FilesTest::savingWithoutAnEditKeepsEveryByte_data()
{
    QTest::addColumn<bool>("config");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("edit"); // appended to the first record's second value
    QTest::addColumn<QByteArray>("saved");

    QByteArray bytes; // every byte from 0x20 to 0xFF
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        bytes += char(byte);
    QByteArray noEquals = bytes;
    noEquals.replace('=', "");
    const QByteArray rom = noEquals + "=f=d=o=" + bytes + "\r\n";
    const QByteArray ini = "[" + bytes + "]\r\n" + (bytes + "\r\n").repeated(5) + ";\r\n";
    const QByteArray utf8 = "Caf\xc3\xa9=\xf0\x9f\x8e\xae.nes===\xe6\x97\xa5\r\n";
    const QByteArray bom = "\xef\xbb\xbf[A]\r\np\r\nd\r\nz\r\ns\r\no\r\n;\r\n";
    QTest::newRow("ROM list, Windows-1252") << false << rom << "" << rom;
    QTest::newRow("Zanku.ini, Windows-1252") << true << ini << "" << ini;
    QTest::newRow("ROM list, UTF-8") << false << utf8 << "" << utf8;
    QTest::newRow("Zanku.ini, UTF-8 with a mark") << true << bom << "" << bom;
    QTest::newRow("a character Windows-1252 lacks makes it UTF-8")
        << false << QByteArray("Caf\xe9=f===\r\n") << QString::fromUtf8("\xe6\x97\xa5")
        << QByteArray("Caf\xc3\xa9=f\xe6\x97\xa5===\r\n");
}

void FilesTest::savingWithoutAnEditKeepsEveryByte()
{
    QFETCH(bool, config);
    QFETCH(QByteArray, content);
    QFETCH(QString, edit);
    QFETCH(QByteArray, saved);
    TestLibrary library;
    ScriptedMessages messages;
    const QString file = config ? "Zanku.ini" : "E.rom";
    library.write(file, content);
    if (config) {
        ReadConfig();
        std::vector<EmulatorRecord> emulators(App().Emulators.begin() + 1, App().Emulators.end());
        emulators[0].Program += edit;
        QVERIFY(WriteConfig(emulators));
    } else {
        std::vector<GameRecord> games = ReadRomList(library.path(file));
        games[0].File += edit;
        QVERIFY(WriteRomList("E", games));
    }
    QCOMPARE(library.read(file), saved);
    QVERIFY(messages.shown.isEmpty());
}

void FilesTest::unreadableFileIsReported_data()
{
    QTest::addColumn<bool>("config");
    QTest::addColumn<QString>("kind");
    for (const bool config : {true, false}) {
        for (const char *kind : {"folder", "pipe", "device link", "over 64 MiB"}) {
            QTest::addRow("%s, %s", config ? "Zanku.ini" : "ROM list", kind)
                << config << QString::fromLatin1(kind);
        }
    }
}

// Read, nothing hangs or fills the memory: an "Error" box names the file, nothing loads.
void FilesTest::unreadableFileIsReported()
{
    QFETCH(bool, config);
    QFETCH(QString, kind);
    TestLibrary library;
    ScriptedMessages messages;
    const QString path = library.path(config ? "Zanku.ini" : "E.rom");
    if (!config)
        QVERIFY(WriteConfig({{"E", "e", library.mkdir("emu"), "", "", ""}}));
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "pipe") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "device link") {
        QVERIFY(QFile::link("/dev/zero", path));
    } else {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1));
    }
    ReadConfig();
    LoadCatalogue();
    QCOMPARE(App().EmulatorCount, config ? 0 : 1);
    QCOMPARE(App().GameCount, 0);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QVERIFY(messages.shown[0].text.startsWith("Cannot read " + path + ": "));
    if (kind == "pipe") { // nor is it replaced
        QVERIFY(config ? !WriteConfig({}) : !WriteRomList("E", {}));
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }
}

void FilesTest::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("config");
    QTest::addColumn<int>("values"); // how many values to write, 64 bytes each
    QTest::newRow("small Zanku.ini") << true << 60;
    QTest::newRow("large Zanku.ini") << true << 6000;
    QTest::newRow("small ROM list") << false << 60;
    QTest::newRow("large ROM list") << false << 6000;
}

// The disk fills up during the save: a child process may write at most 2 KiB per file.
void FilesTest::failedSaveKeepsTheOldFile()
{
    QFETCH(bool, config);
    QFETCH(int, values);
    TestLibrary library;
    const QString file = config ? "Zanku.ini" : "E.rom";
    const QByteArray old = "the old content\r\n";
    library.write(file, old);
    const QString value(63, u'x');

    int pipeEnds[2];
    QVERIFY(pipe(pipeEnds) == 0);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{2048, 2048};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        ScriptedMessages messages;
        bool saved = false;
        if (config) {
            saved = WriteConfig(std::vector<EmulatorRecord>(
                size_t(values / 6), {value, value, value, value, value, value}));
        } else {
            saved = WriteRomList("E", std::vector<GameRecord>(size_t(values / 5),
                                                              {value, value, value, value, value}));
        }
        const QByteArray report =
            (saved ? "saved\n" : "refused\n") +
            (messages.shown.size() == 1 ? messages.shown[0].title + u'\n' + messages.shown[0].text
                                        : QString("no single box"))
                .toUtf8();
        (void)!write(pipeEnds[1], report.constData(), size_t(report.size()));
        _exit(0);
    }
    close(pipeEnds[1]);
    QFile reader;
    QVERIFY(reader.open(pipeEnds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QStringList report = QString::fromUtf8(reader.readAll()).split(u'\n');
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(report.value(0), QStringLiteral("refused"));
    QCOMPARE(report.value(1), QStringLiteral("Error"));
    QVERIFY2(report.value(2).contains(file) &&
                 report.value(2).contains(QString::fromLocal8Bit(strerror(EFBIG))),
             qPrintable(report.join(u'|')));
    QCOMPARE(library.read(file), old);
    QCOMPARE(QDir(library.path()).entryList(QDir::Files), QStringList{file});
}

QTEST_GUILESS_MAIN(FilesTest)
#include "test_files.moc"
