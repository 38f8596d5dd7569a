// The command line a launch builds: the options, the game where "%" stands, and the game
// named where it lies, as Windows reads it and as the words handed over elsewhere.

#include "TestLibrary.h"
#include "core/launch/CommandLine.h"

#include <QTest>

using List = QStringList;

namespace {
template <typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
};

void CommandLineTest::commandLine_data()
{
    for (const char *column : {"emulatorOptions", "gameOptions", "file", "windows", "destination"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<QStringList>("native");
    QTest::addColumn<QStringList>("onDisk"); // in the emulator's directory; "x/" holds x/file
    QTest::addColumn<bool>("zipped");
    const auto add = [](const char *name, const char *emulatorOptions, const char *gameOptions,
                        const char *file, const char *windows, const List &native,
                        const List &onDisk = {}, const char *destination = "",
                        bool zipped = false) {
        row(name, QString(emulatorOptions), QString(gameOptions), QString(file), QString(windows),
            QString(destination), native, onDisk, zipped);
    };
    add("emulator options", "-fullscreen %", "", "puzzle", "emu.exe -fullscreen puzzle",
        {"-fullscreen", "puzzle"});
    add("game options instead", "-fullscreen %", "-window % -sound", "puzzle",
        "emu.exe -window puzzle -sound", {"-window", "puzzle", "-sound"});
    add("extension, nothing on disk", "-disk %", "", "game.dsk",
        "emu.exe -disk .\\game.dsk\\game.dsk", {"-disk", "./game.dsk/game.dsk"});
    add("no percent", "-fullscreen", "", "puzzle", "emu.exe -fullscreen", {"-fullscreen"});
    add("no options", "", "", "puzzle", "emu.exe ", {});
    add("last percent wins", "% -x %", "", "puzzle", "emu.exe % -x puzzle", {"%", "-x", "puzzle"});
    add("quotes group words", "--title \"Two Words\" --rom=%", "", "g",
        "emu.exe --title \"Two Words\" --rom=g", {"--title", "Two Words", "--rom=g"});
    add("empty quotes, empty word", "-a \"\" %", "", "g", "emu.exe -a \"\" g", {"-a", "", "g"});
    add("single quotes, backslashes are ordinary", "-n 'a b' C:\\x\\ %", "", "g",
        "emu.exe -n 'a b' C:\\x\\ g", {"-n", "'a", "b'", "C:\\x\\", "g"});
    add("a game like an option", "%", "", "--version", "emu.exe --version", {"./--version"});
    add("file where it lies", "%", "", "a.dsk", "emu.exe a.dsk", {"a.dsk"}, {"a.dsk"});
    add("folder of its own name", "%", "", "a.dsk", "emu.exe .\\a.dsk\\a.dsk", {"./a.dsk/a.dsk"},
        {"a.dsk/"});
    add("zipped into its destination", "%", "", "a.dsk", "emu.exe d\\a.dsk", {"d/a.dsk"},
        {"d/", "a.dsk"}, "d", true);
    add("destination, not zipped", "%", "", "a.dsk", "emu.exe .\\a.dsk\\a.dsk", {"./a.dsk/a.dsk"},
        {"d/"}, "d");
    add("blanks, where it lies", "%", "", "a b.rom", "emu.exe a b.rom", {"a b.rom"}, {"a b.rom"});
}

void CommandLineTest::commandLine()
{
    QFETCH(QString, emulatorOptions);
    QFETCH(QString, gameOptions);
    QFETCH(QString, file);
    QFETCH(QString, windows);
    QFETCH(QString, destination);
    QFETCH(QStringList, native);
    QFETCH(QStringList, onDisk);
    QFETCH(bool, zipped);
    TestLibrary library;
    for (const QString &entry : onDisk)
        library.write("emu/" + entry + (entry.endsWith('/') ? file : QString()));
    const QString options = LaunchOptions(emulatorOptions, gameOptions);
    const GameRecord game{{}, file, destination, {}, {}};
    const QString emu = library.path("emu");
    QCOMPARE(BuildCommandLine("emu.exe", options, GameArgument(game, zipped, emu, u'\\')), windows);
    QCOMPARE(BuildLaunchCommand("emu", options, GameArgument(game, zipped, emu, u'/')).arguments,
             native);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
