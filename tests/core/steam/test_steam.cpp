#include "TestLibrary.h"
#include "core/files/TextFile.h"
#include "core/steam/ShortcutsVdf.h"
#include "core/steam/SteamGames.h"
#include "core/steam/SteamShortcuts.h"
#include "core/unzip/ZipFixtures.h"

#include <QImage>
#include <QProcess>
#include <QtEndian>

#include <memory>
#include <zlib.h>

namespace {
QByteArray field(char type, const QByteArray &name, const QByteArray &value)
{
    return type + name + '\0' + value;
}
QByteArray text(const QByteArray &name, const QByteArray &value)
{
    return field(1, name, value + '\0');
}
QByteArray number(const QByteArray &name, qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return field(2, name, bytes);
}
QByteArray shortcutList(const QByteArray &shortcuts)
{
    return field(0, "shortcuts", shortcuts + '\x08') + '\x08';
}
// Another program's shortcut, with what Zanku never writes: a float, a 64-bit number, tags.
const QByteArray Foreign =
    field(0, "0",
          number("appid", -12345) + text("AppName", "Other Game") + text("Exe", "\"/opt/other\"") +
              field(3, "Rating", QByteArray("\0\0\x80\x3f", 4)) +
              field(7, "Played", "\x01\x02\x03\x04\x05\x06\x07\x08") +
              field(0, "tags", text("0", "Favorites") + '\x08') + '\x08');

// The number Steam gives a non-Steam shortcut, as published: CRC-32 of Exe then AppName,
// top bit set.
quint32 PublishedAppId(const QByteArray &exe, const QByteArray &name)
{
    const QByteArray key = exe + name;
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(key.constData()), uInt(key.size()))) |
           0x80000000u;
}
} // namespace

class SteamTest : public QObject {
    Q_OBJECT
private slots:
    void addToSteam_data();
    void addToSteam();
    void command_data();
    void command();
};

void SteamTest::addToSteam_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no list yet
    QTest::addColumn<bool>("steamRuns");
    QTest::addColumn<QString>("problem"); // empty: written
    QTest::newRow("no list yet") << QByteArray() << false << "";
    QTest::newRow("a foreign shortcut") << shortcutList(Foreign) << false << "";
    QTest::newRow("Steam runs") << shortcutList(Foreign) << true << "Steam is running";
    QTest::newRow("cut short") << shortcutList(Foreign).chopped(3) << false << "is not a list";
    QTest::newRow("a type of unknown length")
        << shortcutList(Foreign + field(5, "Wide", "ab")) << false << "is not a list";
    QTest::newRow("not a list") << QByteArray("\"shortcuts\" { }") << false << "is not a list";
}

void SteamTest::addToSteam()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, steamRuns);
    QFETCH(QString, problem);
    QTemporaryDir home;
    const QDir config(home.filePath(".local/share/Steam/userdata/123/config"));
    QVERIFY(config.mkpath("."));
    const QString list = config.filePath("shortcuts.vdf");
    if (!before.isNull())
        QCOMPARE(WriteFileBytes(list, before).ok, true);
    QImage picture(8, 12, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(home.filePath("cover.jpg")) && picture.save(home.filePath("snap.png")));
    zanku::SteamShortcut game{"Racing Kart",
                              "\"/usr/bin/zanku\"",
                              "\"/lib\"",
                              "--launch a b",
                              home.filePath("cover.jpg"),
                              {},
                              home.filePath("snap.png")};
    QProcess steam; // a process of this user named "steam"
    if (steamRuns) {
        QVERIFY(QFile::copy("/bin/sleep", home.filePath("steam")));
        steam.start(home.filePath("steam"), {"60"});
        QVERIFY(steam.waitForStarted());
    }
    const zanku::SteamResult first = zanku::AddSteamShortcuts(home.path(), {game});
    const QByteArray backup = ReadFile(list + ".bak");
    game.startDir = "\"/games\"";
    const zanku::SteamResult second = zanku::AddSteamShortcuts(home.path(), {game});
    steam.kill();
    steam.waitForFinished();
    const QByteArray after = ReadFile(list);
    const QDir grid(config.filePath("grid"));
    if (!problem.isEmpty()) {
        QCOMPARE(after, before); // untouched, byte for byte
        QVERIFY2(first.problems.value(0).contains(problem), qPrintable(first.problems.join('\n')));
        QVERIFY(first.users.isEmpty() && !QFileInfo::exists(list + ".bak") && !grid.exists());
        return;
    }
    QCOMPARE(first.problems, QStringList());
    QCOMPARE(first.users, QStringList{"123"});
    QCOMPARE(QList<int>({first.added, first.updated, second.added, second.updated}),
             QList<int>({1, 0, 0, 1}));
    QCOMPARE(backup, before.isNull() ? "<missing>" : before);
    QVERIFY(after.startsWith(before.chopped(before.isNull() ? 0 : 2))); // every byte kept
    const std::optional<zanku::ShortcutsVdf> read = zanku::ShortcutsVdf::parse(after);
    QVERIFY(read.has_value());
    QCOMPARE(read->count(), before.isNull() ? 1 : 2); // updated, not doubled
    const zanku::VdfFields ours = read->fields(read->count() - 1);
    const quint32 id = PublishedAppId(game.exe.toUtf8(), game.appName.toUtf8());
    QCOMPARE(quint32(zanku::VdfInt(ours, "appid").value_or(0)), id);
    QCOMPARE(zanku::VdfString(ours, "StartDir"), game.startDir);
    QCOMPARE(ReadFile(grid.filePath(QString::number(id) + ".png")), ReadFile(game.snapshot));
    QCOMPARE(QImage(grid.filePath(QString::number(id) + "p.png"), "PNG").size(), picture.size());
    QCOMPARE(grid.count(), 4u); // . and .. and the two pictures: no title screen
}

void SteamTest::command_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("command");
    QTest::newRow("its own file") << QByteArray("UNSET") << ""
                                  << QStringList{QCoreApplication::applicationFilePath()};
    QTest::newRow("a Flatpak") << QByteArray("FLATPAK_ID") << "io.example.Z"
                               << QStringList{"flatpak", "run", "io.example.Z"};
    QTest::newRow("a bundle") << QByteArray("ZANKU_BUNDLE") << "/opt/Z b/zanku"
                              << QStringList{"/opt/Z b/zanku"};
}

// Steam starts `zanku --launch` with the game's names whole, through a shell, with the
// game's pictures.
void SteamTest::command()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, value);
    QFETCH(QStringList, command);
    qputenv(variable, value.toUtf8());
    const QStringList made = zanku::ZankuCommand();
    qunsetenv(variable);
    QCOMPARE(made, command);
    TestLibrary library;
    library.write("emu/kid's kart.nes");
    library.write("emu/snaps/Named_Titles/Kid's $Kart.png");
    QVERIFY(library.writeConfig({{"Home Console", "run", library.path("emu"), "%", "snaps", ""}}));
    library.write("Home Console.rom", "Kid's $Kart=kid's kart.nes===\r\n");
    library.core.start();
    const QList<zanku::SteamShortcut> shortcuts =
        zanku::SteamShortcutsFor(library.core, {library.keyOf("Kid's $Kart")}, made);
    QCOMPARE(shortcuts.size(), 1);
    QCOMPARE(shortcuts[0].exe, '"' + command[0] + '"');
    QCOMPARE(shortcuts[0].titleScreen, library.path("emu/snaps/Named_Titles/Kid's $Kart.png"));
    QProcess shell;
    shell.start("/bin/sh", {"-c", "printf '%s\\n' " + shortcuts[0].launchOptions});
    QVERIFY(shell.waitForFinished());
    const QStringList words = command.mid(1) + QStringList{"--library", library.path(), "--launch",
                                                           "Home Console", "Kid's $Kart"};
    QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
             words);
}

QTEST_GUILESS_MAIN(SteamTest)
#include "test_steam.moc"
