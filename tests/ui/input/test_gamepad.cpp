#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "core/gamedata/GameData.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/MainFrm.h"
#include "ui/input/GamepadInput.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTextBrowser>

#include <SDL.h>

#include <optional>

// The real main window worked by SDL's virtual controllers, on six games whose emulator
// records the game it was given in "launched.txt" and runs until "stop" appears (20 s at most).
struct Couch : TestLibrary {
    Couch()
    {
        write("emu/player",
              "#!/bin/sh\ncat -- \"$1\" >>launched.txt\n"
              "i=0; while [ ! -e stop ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i + 1)); done\n");
        QFile::setPermissions(path("emu/player"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QByteArray list;
        for (const char *name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"}) {
            write(QStringLiteral("emu/%1.bin").arg(name), name);
            list += QByteArray(name) + '=' + name + ".bin\r\n";
        }
        write("Arcade.rom", list);
        writeConfig({{"Arcade", path("emu/player"), path("emu"), "%", "snaps", "zips"}});
        pad.setClock([this] { return now; });
        main.Form_Load();
        main.useGamepad(pad);
        main.show();
        QApplication::setActiveWindow(&main);
        if (!QTest::qWaitForWindowActive(&main))
            qFatal("the window did not become active");
        lista()->setFocus();
        lista()->setCurrentIndex(lista()->model()->index(0, 0));
    }
    ~Couch()
    {
        write("emu/stop");
        for (int tries = 500; tries > 0 && core.anyEmulatorRunning(); --tries)
            QTest::qWait(10); // even after a failure, which ends QTRY_ at once
        for (SDL_Joystick *stick : sticks)
            SDL_JoystickClose(stick);
        while (SDL_NumJoysticks() > 0)
            SDL_JoystickDetachVirtual(0);
    }
    QTableView *lista() const { return main.findChild<QTableView *>("Lista"); }
    int row() const { return lista()->currentIndex().row(); }
    SDL_Joystick *attach()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "Couch pad";
        sticks.push_back(SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc)));
        pad.poll();
        return sticks.back();
    }
    void hold(SDL_GameControllerButton button, bool down, SDL_Joystick *stick = nullptr)
    {
        SDL_JoystickSetVirtualButton(stick ? stick : sticks.front(), button, down ? 1 : 0);
        pad.poll();
    }
    void press(SDL_GameControllerButton button, SDL_Joystick *stick = nullptr)
    {
        hold(button, true, stick);
        hold(button, false, stick);
    }
    // Start, then Down until the command is highlighted, then A.
    bool choose(const char *command)
    {
        press(SDL_CONTROLLER_BUTTON_START);
        auto *menu = main.findChild<QMenu *>("CouchMenu");
        auto *wanted = menu ? menu->findChild<QAction *>(command) : nullptr;
        for (int i = 0; wanted && i < 20 && menu->activeAction() != wanted; ++i)
            press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        if (!wanted || menu->activeAction() != wanted)
            return false;
        press(SDL_CONTROLLER_BUTTON_A);
        return true;
    }
    QString launched(int tries = 300) const
    {
        while (tries-- > 0 && read("emu/launched.txt").isEmpty())
            QTest::qWait(10);
        return read("emu/launched.txt");
    }

    ScriptedMessages messages;
    qint64 now = 0;
    GamepadInput pad{path("gamecontrollerdb.txt")};
    MainFrm main{core};
    std::vector<SDL_Joystick *> sticks;
};

class GamepadTest : public QObject {
    Q_OBJECT
private slots:
    // The mappings are read by the program: a pipe in the file's place is never waited on.
    void mappingsFile_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("pipe") << true;
        QTest::newRow("file") << false; // last: SDL may keep what it was given
    }
    void mappingsFile()
    {
        QFETCH(bool, pipe);
        TestLibrary library;
        const char *guid = "03000000f00d0000be00000000000000";
        std::optional<StuckPipe> stuck;
        if (pipe)
            stuck.emplace(library.path("gamecontrollerdb.txt"));
        else
            library.write("gamecontrollerdb.txt",
                          "# mappings\r\n" + QByteArray(guid) +
                              ",Zanku pad,a:b0,b:b1,platform:" + SDL_GetPlatform() + ",\r\n");
        const GamepadInput pad{library.path("gamecontrollerdb.txt")};
        QVERIFY(!stuck || !stuck->released());
        QVERIFY(pad.available());
        char *mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(guid));
        QCOMPARE(mapping != nullptr, !pipe);
        SDL_free(mapping);
    }
    void downDownALaunchesTheThirdRow()
    {
        Couch couch;
        QVERIFY(couch.pad.available());
        couch.attach();
        QCOMPARE(couch.pad.controllerCount(), 1);
        QSignalSpy chosen(couch.main.findChild<GameListView *>(),
                          &GameListView::currentGameChanged);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        QCOMPARE(couch.row(), 2);
        // The picture follows the pad, the pointer nowhere near the list.
        QTRY_VERIFY(!chosen.isEmpty() &&
                    chosen.constLast().at(0).value<zanku::GameKey>().name == "Charlie");
        couch.press(SDL_CONTROLLER_BUTTON_A);
        QCOMPARE(couch.launched(), "Charlie");
    }
    // The covers, two to a row at the smallest size: across, down a row, and A.
    void theCoversByPadAlone()
    {
        Couch couch;
        couch.attach();
        couch.main.findChild<QAction *>("CoverViewM")->trigger();
        auto *covers = couch.main.findChild<QListView *>("Covers");
        QVERIFY(covers->hasFocus());
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        QCOMPARE(covers->currentIndex().row(), 3);
        couch.press(SDL_CONTROLLER_BUTTON_A);
        QCOMPARE(couch.launched(), "Delta");
    }
    void shouldersStickAndBack()
    {
        Couch couch;
        SDL_Joystick *stick = couch.attach();
        couch.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
        const int paged = couch.row();
        QVERIFY(paged > 1);
        couch.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
        QCOMPARE(couch.row(), 0);
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 16000); // under half
        couch.pad.poll();
        QCOMPARE(couch.row(), 0);
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 20000);
        couch.pad.poll();
        QCOMPARE(couch.row(), 1);
        auto *expand = couch.main.findChild<QPushButton *>("Expand");
        couch.press(SDL_CONTROLLER_BUTTON_BACK);
        QCOMPARE(expand->text(), "<<");
    }
    void bClosesTheFindField()
    {
        Couch couch;
        couch.attach();
        QTest::keyClicks(couch.lista(), "ch");
        auto *find = couch.main.findChild<QLineEdit *>("Find");
        QTRY_VERIFY(find->isVisible());
        couch.press(SDL_CONTROLLER_BUTTON_B);
        QVERIFY(!find->isVisible());
        QCOMPARE(couch.lista()->currentIndex().data().toString(), "Charlie");
    }
    // Pressed at 1000: the first repeat at 1400, then one every 80 ms.
    void heldDownRepeats()
    {
        Couch couch;
        couch.attach();
        couch.now = 1000;
        couch.hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        QList<int> rows;
        for (couch.now = 1000; couch.now <= 1500; couch.now += 10) {
            couch.pad.poll();
            rows << couch.row();
        }
        QCOMPARE(rows.count(1), 40); // 1000 to 1390
        QCOMPARE(rows.count(2), 8);  // 1400 to 1470
        QCOMPARE(rows.last(), 3);
        couch.hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
        couch.now = 3000;
        couch.pad.poll();
        QCOMPARE(couch.row(), 3);
    }
    void letGoWhileTheEmulatorRuns()
    {
        Couch couch;
        couch.attach();
        QSignalSpy running(&couch.core, &zanku::Library::emulatorsRunning);
        couch.press(SDL_CONTROLLER_BUTTON_A);
        QCOMPARE(couch.launched(), "Alpha");
        QCOMPARE(running, (QList<QVariantList>{{true}}));
        QCOMPARE(couch.pad.controllerCount(), 0);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        QCOMPARE(couch.row(), 0);
        couch.hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true); // held as the emulator ends
        couch.write("emu/stop");
        QTRY_COMPARE(running.size(), 2);
        QCOMPARE(running.last(), QVariantList{false});
        QCOMPARE(couch.pad.controllerCount(), 1);
        couch.now = 5000;
        couch.pad.poll();
        QCOMPARE(couch.row(), 0);
        couch.hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        QCOMPARE(couch.row(), 1);
    }
    // Full screen is the couch view: no desktop parts, large text, everything by the pad,
    // and the keyboard's Esc to leave.
    void theCouchView()
    {
        Couch couch;
        couch.attach();
        couch.main.findChild<QAction *>("FullScreenM")->trigger();
        QTRY_VERIFY(couch.main.isFullScreen());
        auto *details = couch.main.findChild<QTextBrowser *>("CouchDetails");
        QVERIFY(details->isVisible() && details->toPlainText().contains("File: Alpha.bin"));
        QVERIFY(!couch.main.menuBar()->isVisible() && !couch.main.statusBar()->isVisible());
        QVERIFY(!couch.main.findChild<QPushButton *>("Launch")->isVisible());
        const int screen = couch.main.screen()->geometry().height();
        QVERIFY(details->fontInfo().pixelSize() * 40 >= screen);
        QVERIFY(couch.lista()->fontInfo().pixelSize() * 40 >= screen);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        const zanku::GameKey bravo = couch.main.findChild<GameListView *>()->currentGame();
        QVERIFY(couch.choose("FavouriteM"));
        QVERIFY(bravo.name == "Bravo" && couch.core.gameData().isFavourite(bravo));
        couch.press(SDL_CONTROLLER_BUTTON_BACK); // the covers, the same game chosen
        auto *covers = couch.main.findChild<QListView *>("Covers");
        QTRY_VERIFY(covers->hasFocus());
        couch.press(SDL_CONTROLLER_BUTTON_A);
        QCOMPARE(couch.launched(), "Bravo");
        couch.write("emu/stop");
        QTRY_VERIFY(!couch.core.anyEmulatorRunning() && couch.pad.controllerCount() == 1);
        QTRY_VERIFY(couch.main.isActiveWindow() && covers->hasFocus());
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT); // the pad is live again
        QCOMPARE(covers->currentIndex().row(), 2);
        couch.press(SDL_CONTROLLER_BUTTON_B); // nothing open: the pad's B stays
        QVERIFY(couch.main.isFullScreen());
        couch.messages.answers << MessageAnswer::No;
        QVERIFY(couch.choose("CouchQuitM"));
        QTRY_COMPARE(couch.messages.shown.size(), 1);
        QCOMPARE(couch.messages.shown[0].buttons, MessageButtons::YesNo);
        QVERIFY(couch.main.isVisible());
        QTest::keyClick(covers, Qt::Key_Escape);
        QTRY_VERIFY(!couch.main.isFullScreen());
        QVERIFY(couch.main.menuBar()->isVisible() && !details->isVisible());
        QCOMPARE(couch.main.findChild<GameListView *>()->currentGame().name, "Charlie");
    }
    void controllersComeAndGo()
    {
        Couch couch;
        couch.attach();
        SDL_Joystick *second = couch.attach();
        QCOMPARE(couch.pad.controllerCount(), 2);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, second);
        QCOMPARE(couch.row(), 1);
        SDL_JoystickDetachVirtual(0);
        couch.pad.poll();
        QCOMPARE(couch.pad.controllerCount(), 1);
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, second);
        QCOMPARE(couch.row(), 2);
        QApplication::setActiveWindow(nullptr); // another program's window: nothing is sent
        couch.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, second);
        QCOMPARE(couch.row(), 2);
    }
};

QTEST_MAIN(GamepadTest)
#include "test_gamepad.moc"
