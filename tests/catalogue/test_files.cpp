#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "catalogue/Config.h"
#include "catalogue/RomList.h"

#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
};

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
