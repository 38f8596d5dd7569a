#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "catalogue/Config.h"
#include "catalogue/TextFile.h"

#include <QTest>

namespace {
EmulatorRecord emulator(const QString &name, const QString &options = "-f %")
{
    return {name, name + ".exe", "C:\\Emu\\" + name, options, "snaps", "zips"};
}

// Ends the program by throwing, so a test sees the end and nothing after it runs.
struct ProgramEnded {
    int exitCode;
};
} // namespace

class ConfigTest : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void roundTripsWhatItWrites();
    void writesTheExactLayout();
    void loadsMoreThanAHundredEmulators();
    void missingOrEmptyFileMeansNoEmulators();
    void pastVersionShowsItsMessageAndEnds();
    void rereadingAShorterFileShrinksTheCount();
    void unreadableFileIsReportedAndSkipped();
    void failedWriteIsReportedAndKeepsTheFile();
};

void ConfigTest::parses_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("pastVersion");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("lastRecord"); // Program, Path, Zipped, Snapshot, Options

    QTest::newRow("empty") << QStringList() << false << QStringList() << QStringList();
    QTest::newRow("one record") << QStringList{"[Arcade]", "a.exe", "C:\\A", "zips",
                                               "snaps",    "-f %",  ";"}
                                << false << QStringList{"Arcade"}
                                << QStringList{"a.exe", "C:\\A", "zips", "snaps", "-f %"};
    QTest::newRow("empty name") << QStringList{"[]", "p", "d", "z", "s", "o", ";"} << false
                                << QStringList{""} << QStringList{"p", "d", "z", "s", "o"};
    QTest::newRow("no closing bracket loses the last character")
        << QStringList{"[Arcade", "p", "d", "z", "s", "o"} << false << QStringList{"Arcad"}
        << QStringList{"p", "d", "z", "s", "o"};
    QTest::newRow("no closing bracket loses a whole last character")
        << QStringList{QString::fromUtf8("[Arcade\xf0\x9f\x8e\xae"), "p", "d", "z", "s", "o"}
        << false << QStringList{"Arcade"} << QStringList{"p", "d", "z", "s", "o"};
    QTest::newRow("lone bracket is an empty name")
        << QStringList{"[", "p", "d", "z", "s", "o"} << false << QStringList{""}
        << QStringList{"p", "d", "z", "s", "o"};
    QTest::newRow("text between records skipped")
        << QStringList{"[A", "p",   "d",  "z",  "s",  "o",  ";", "", "junk",
                       ";",  "[B]", "p2", "d2", "z2", "s2", "",  ""}
        << false << QStringList{"", "B"} << QStringList{"p2", "d2", "z2", "s2", ""};
    QTest::newRow("values may begin with a bracket")
        << QStringList{"[A]", "[p]", "[d]", "[z]", "[s]", "[o]"} << false << QStringList{"A"}
        << QStringList{"[p]", "[d]", "[z]", "[s]", "[o]"};
    QTest::newRow("ends inside a record") << QStringList{"[A]", "p", "d"} << false
                                          << QStringList{"A"} << QStringList{"p", "d", "", "", ""};
    QTest::newRow("header is the last line")
        << QStringList{"[A]"} << false << QStringList{"A"} << QStringList{"", "", "", "", ""};
    QTest::newRow("first line not a header") << QStringList{";", "[A]", "p", "d", "z", "s", "o"}
                                             << true << QStringList() << QStringList();
    QTest::newRow("blank first line") << QStringList{"", "[A]", "p", "d", "z", "s", "o"} << true
                                      << QStringList() << QStringList();
    QTest::newRow("options line is the closing semicolon")
        << QStringList{"[A]", "p", "d", "z", "s", ";", "[B]"} << true << QStringList{"A"}
        << QStringList{"p", "d", "z", "s", ";"};
    QTest::newRow("past record after a good one")
        << QStringList{"[A]", "p", "d", "z", "s", "o", ";", "[B]", "p", "d", "z", "s", ";old"}
        << true << QStringList{"A", "B"} << QStringList{"p", "d", "z", "s", ";old"};
}

void ConfigTest::parses()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, pastVersion);
    QFETCH(QStringList, names);
    QFETCH(QStringList, lastRecord);

    const ParsedConfig parsed = ParseConfig(lines);
    QCOMPARE(parsed.pastVersion, pastVersion);
    QStringList parsedNames;
    for (const EmulatorRecord &record : parsed.emulators)
        parsedNames.append(record.Name);
    QCOMPARE(parsedNames, names);
    if (!lastRecord.isEmpty()) {
        const EmulatorRecord &last = parsed.emulators.back();
        QCOMPARE((QStringList{last.Program, last.Path, last.ZippedRomPath, last.SnapshotPath,
                              last.Options}),
                 lastRecord);
    }
}

void ConfigTest::roundTripsWhatItWrites()
{
    TestLibrary library;
    const std::vector<EmulatorRecord> written = {emulator("Zeta"),
                                                 emulator("Alpha", ""),
                                                 {"", "", "", "", "", ""},
                                                 {"Blank Name ", " p ", " ", "o;", "[s", "z="}};
    QVERIFY(WriteConfig(written));
    ReadConfig();
    QCOMPARE(App().EmulatorCount, int(written.size()));
    QCOMPARE(App().Emulators.size(), written.size() + 1);
    for (size_t i = 0; i < written.size(); ++i)
        QCOMPARE(App().Emulators[i + 1], written[i]);
    QCOMPARE(App().Emulators[0], EmulatorRecord{});
}

void ConfigTest::writesTheExactLayout()
{
    TestLibrary library;
    QVERIFY(WriteConfig({{"Arcade", "a.exe", "C:\\A", "-f %", "snaps", "zips"}}));
    QCOMPARE(library.read("Zanku.ini"),
             QByteArray("[Arcade]\r\na.exe\r\nC:\\A\r\nzips\r\nsnaps\r\n-f %\r\n;\r\n"));
    QVERIFY(WriteConfig({}));
    QCOMPARE(library.read("Zanku.ini"), QByteArray());
}

void ConfigTest::loadsMoreThanAHundredEmulators()
{
    TestLibrary library;
    std::vector<EmulatorRecord> many;
    for (int i = 0; i < 250; ++i)
        many.push_back(emulator(QStringLiteral("Emu%1").arg(i)));
    QVERIFY(WriteConfig(many));
    ReadConfig();
    QCOMPARE(App().EmulatorCount, 250);
    QCOMPARE(App().Emulators[250].Name, QStringLiteral("Emu249"));
}

void ConfigTest::missingOrEmptyFileMeansNoEmulators()
{
    TestLibrary library;
    ScriptedMessages messages;
    App().EmulatorCount = 7;
    ReadConfig();
    QCOMPARE(App().EmulatorCount, 0);
    library.write("Zanku.ini", "");
    ReadConfig();
    QCOMPARE(App().EmulatorCount, 0);
    QVERIFY(messages.shown.isEmpty());
}

void ConfigTest::pastVersionShowsItsMessageAndEnds()
{
    TestLibrary library;
    ScriptedMessages messages;
    const QByteArray old = ";\r\n[A]\r\np\r\nd\r\nz\r\ns\r\no\r\n";
    library.write("Zanku.ini", old);
    const auto previousEnd = App().EndProgram;
    App().EndProgram = [](int exitCode) { throw ProgramEnded{exitCode}; };

    // Started from elsewhere, the file is still read from the program directory.
    QDir::setCurrent(QDir::tempPath());
    bool ended = false;
    try {
        ReadConfig();
    } catch (const ProgramEnded &end) {
        ended = true;
        QVERIFY(end.exitCode != 0);
    }
    App().EndProgram = previousEnd;

    QVERIFY(ended);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QCOMPARE(messages.shown[0].text,
             QStringLiteral("Zanku.ini belongs to a past version, please delete it and "
                            "reconfigure emulators!"));
    QCOMPARE(library.read("Zanku.ini"), old);
    QCOMPARE(QDir::currentPath(), App().ProgramDir);
}

void ConfigTest::rereadingAShorterFileShrinksTheCount()
{
    TestLibrary library;
    QVERIFY(WriteConfig({emulator("A"), emulator("B"), emulator("C")}));
    ReadConfig();
    QCOMPARE(App().EmulatorCount, 3);
    QVERIFY(WriteConfig({emulator("Z")}));
    ReadConfig();
    QCOMPARE(App().EmulatorCount, 1);
    QCOMPARE(App().Emulators[1].Name, QStringLiteral("Z"));
}

void ConfigTest::unreadableFileIsReportedAndSkipped()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.mkdir("Zanku.ini"); // exists, but no file can be read from it
    ReadConfig();
    QCOMPARE(App().EmulatorCount, 0);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QVERIFY(messages.shown[0].text.contains("Zanku.ini"));
}

void ConfigTest::failedWriteIsReportedAndKeepsTheFile()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("Zanku.ini/keep", "x");
    QVERIFY(!WriteConfig({emulator("A")}));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QVERIFY(messages.shown[0].text.contains("Zanku.ini"));
    QCOMPARE(library.read("Zanku.ini/keep"), QByteArray("x"));
}

QTEST_GUILESS_MAIN(ConfigTest)
#include "test_config.moc"
