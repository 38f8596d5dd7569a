// How the record editor names an emulator's program beside its Games Directory: real
// programs in a temporary folder, found through a real search path.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "core/editor/ProgramChoice.h"

class ProgramChoiceTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString &relative) const { return dir_.filePath(relative); }
    void program(const QString &relative, bool runnable = true) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") > 0);
        file.setPermissions(runnable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                     : QFile::ReadOwner | QFile::WriteOwner);
    }

private slots:
    void initTestCase()
    {
        program("win/emu.exe");
        program("bin/stella");
        program("apps/Game.AppImage");
        program("apps/stella");
        program("flatpak/app/stella/run");
        QDir().mkpath(path("flatpak/exports/bin"));
        QVERIFY(QFile::link(path("flatpak/app/stella/run"),
                            path("flatpak/exports/bin/org.stella.Stella")));
        program("shadow/stella", false); // a game of that name, not a program
        QDir().mkpath(path("roms"));
        QVERIFY(QFile::link(path("bin"), path("binlink")));
        qputenv("PATH", QFile::encodeName(path("bin") + ':' + path("flatpak/exports/bin")));
    }

    void chooseAndFollow_data()
    {
        QTest::addColumn<QString>("picked");   // the chooser's file; empty: the directory changes
        QTest::addColumn<QString>("program");  // before, when the directory changes
        QTest::addColumn<QString>("games");    // Games Directory before
        QTest::addColumn<QString>("after");    // Games Directory after, when it changes
        QTest::addColumn<QString>("expected"); // program|Games Directory; "@" the temporary folder
        const auto row = [](const char *name, const char *picked, const char *program,
                            const char *games, const char *after, const char *expected) {
            QTest::newRow(name) << picked << program << games << after << expected;
        };
        row("Windows-style, none set", "win/emu.exe", "", "", "", "emu.exe|@/win");
        row("Windows-style, its own folder", "win/emu.exe", "", "win", "", "emu.exe|@/win");
        row("system program on the search path", "bin/stella", "", "roms", "", "stella|roms");
        row("system program, none set", "bin/stella", "", "", "", "stella|");
        row("system program, its folder set", "bin/stella", "", "bin", "", "stella|bin");
        row("a program outside it", "apps/Game.AppImage", "", "roms", "",
            "@/apps/Game.AppImage|roms");
        row("another of its name on the search path", "apps/stella", "", "roms", "",
            "@/apps/stella|roms");
        row("an exported launcher", "flatpak/exports/bin/org.stella.Stella", "", "roms", "",
            "org.stella.Stella|roms");
        row("a file of its name in the Games Directory", "bin/stella", "", "shadow", "",
            "@/bin/stella|shadow");
        row("changed: still found by name", "", "stella", "bin", "roms", "stella");
        row("changed: no longer found by name", "", "emu.exe", "win", "roms", "@/win/emu.exe");
        row("changed: now another of that name", "", "stella", "roms", "shadow", "@/bin/stella");
        row("changed: an absolute path stays", "", "@/apps/Game.AppImage", "roms", "win",
            "@/apps/Game.AppImage");
        row("changed: a name that found nothing", "", "nowhere", "win", "roms", "nowhere");
    }
    void chooseAndFollow()
    {
        QFETCH(QString, picked);
        QFETCH(QString, program);
        QFETCH(QString, games);
        QFETCH(QString, after);
        QFETCH(QString, expected);
        const QString root = dir_.path();
        QString got;
        if (!picked.isEmpty()) {
            const ProgramChoice choice = ChooseProgram(path(picked), games, root);
            got = choice.program + '|' + choice.gamesDirectory;
        } else {
            got = FollowGamesDirectory(QString(program).replace('@', root), games, after, root);
        }
        QCOMPARE(got, expected.replace('@', root));
    }

    void systemFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("searchPath"); // ":" between folders; "@" the temporary folder
        QTest::addColumn<bool>("system");
        const auto row = [](const char *folder, const char *searchPath, bool system) {
            QTest::newRow(folder) << folder << searchPath << system;
        };
        row("/usr/bin", "", true);
        row("/usr/local/games/emu", "", true);
        row("/usrlocal/emu", "", false);
        row("/bin", "", true);
        row("/snap/bin", "", true);
        row("/opt/emu", "/usr/bin", false);
        row("/home/me/emu", "/home/me/bin", false);
        row("/home/me/bin/", "/usr/bin:/home/me/bin", true);
        row("/home/me/bin/sub", "/home/me/bin/", false);
        row("@/binlink", "@/bin", true); // the same folder through a link
        row("@/bin", "@/binlink", true);
        row("@/roms", "bin:.", false); // relative entries name no folder
    }
    void systemFolders()
    {
        QFETCH(QString, folder);
        QFETCH(QString, searchPath);
        QFETCH(bool, system);
        const QString root = dir_.path();
        QCOMPARE(
            IsSystemProgramFolder(folder.replace('@', root),
                                  searchPath.replace('@', root).split(':', Qt::SkipEmptyParts)),
            system);
    }
};

QTEST_GUILESS_MAIN(ProgramChoiceTest)
#include "test_program_choice.moc"
