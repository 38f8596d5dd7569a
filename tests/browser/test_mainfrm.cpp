#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "app/Twips.h"
#include "browser/GameListModel.h"
#include "browser/MainFrm.h"
#include "catalogue/Config.h"
#include "editor/OptionsFrm.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {
template <typename T> T *child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QList<int> columnWidths(const QTableView *view)
{
    QList<int> widths;
    for (int column = 0; column < view->model()->columnCount(); ++column)
        widths.append(view->columnWidth(column));
    return widths;
}
} // namespace

class MainFrmTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheLayoutAndTexts();
    void loadsTheCatalogueFromTheWorkingDirectory();
    void expandTogglesBothWays();
    void menusCarryTheirCaptions();
    void optionsMenuOpensTheEditorInItsMode();
    void exitUnloadsOnce();
    void closingEndsTheProgramWhateverIsOpen();
};

void MainFrmTest::startsWithTheLayoutAndTexts()
{
    TestLibrary library;
    ScriptedMessages messages;
    MainFrm window;
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(),
             QStringLiteral("Zanku - A Multiple Emulator Front-End by Ervo Kallinder"));
    QCOMPARE(window.centralWidget()->size(), QSize(Twips(10530), Twips(5640)));
    QCOMPARE(window.minimumSize(), window.maximumSize()); // fixed size

    auto *lista = child<QTableView>(window, "Lista");
    QCOMPARE(lista->geometry(), QRect(Twips(120), Twips(120), Twips(4095), Twips(4575)));
    QCOMPARE(lista->model()->rowCount(), 0);
    QCOMPARE(lista->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Game Name"));
    QCOMPARE(lista->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Emulator"));
    QCOMPARE(columnWidths(lista), (QList<int>{Twips(4095), Twips(2000), Twips(1822)}));

    auto *launch = child<QPushButton>(window, "Launch");
    QCOMPARE(launch->text(), QStringLiteral("Launch Game"));
    QVERIFY(!launch->isEnabled());
    QCOMPARE(child<QGroupBox>(window, "Frame1")->title(), QStringLiteral("SnapShot"));
    QVERIFY(child<QLabel>(window, "Title")->isVisible());
    QCOMPARE(child<QLabel>(window, "Title")->text(), QStringLiteral("Zanku"));
    QVERIFY(!child<QLabel>(window, "NotPic")->isVisible());
    QCOMPARE(child<QLabel>(window, "NotPic")->text(), QStringLiteral("Picture Not Available"));

    QCOMPARE(window.statusText(), QStringLiteral("Waiting for selection..."));
    QCOMPARE(window.gameCountText(), QStringLiteral("Games  ( 0 Roms )"));
    QCOMPARE(child<QLabel>(window, "StatusPanel1")->width(), Twips(8000));
    QCOMPARE(child<QLabel>(window, "StatusPanel2")->width(), Twips(2500));
    QVERIFY(messages.shown.isEmpty());
}

void MainFrmTest::loadsTheCatalogueFromTheWorkingDirectory()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("emu/b.bin");
    library.write("emu/a.bin");
    QVERIFY(WriteConfig({{"Arcade", "emu", library.path("emu"), "%", "", "zips"}}));
    library.write("Arcade.rom", "Beta=b.bin===Shooter\r\nAlpha=a.bin===Puzzle\r\n");
    App().ProgramDir.clear();

    MainFrm window;
    window.Form_Load();
    QCOMPARE(App().ProgramDir, library.path());
    QCOMPARE(App().ProgramDrive, library.path().left(2));
    auto *lista = child<QTableView>(window, "Lista");
    QCOMPARE(lista->model()->rowCount(), 2);
    QCOMPARE(lista->model()->index(0, 0).data().toString(), QStringLiteral("Alpha"));
    QCOMPARE(lista->model()->index(0, 1).data().toString(), QStringLiteral("Puzzle"));
    QCOMPARE(lista->model()->index(0, 2).data().toString(), QStringLiteral("Arcade"));
    QCOMPARE(window.gameCountText(), QStringLiteral("Games  ( 2 Roms )"));
}

void MainFrmTest::expandTogglesBothWays()
{
    TestLibrary library;
    MainFrm window;
    window.Form_Load();
    window.show();
    auto *lista = child<QTableView>(window, "Lista");
    auto *expand = child<QPushButton>(window, "Expand");
    auto *frame = child<QGroupBox>(window, "Frame1");
    const QRect narrow = lista->geometry();

    QTest::mouseClick(expand, Qt::LeftButton);
    QVERIFY(!frame->isVisible());
    QCOMPARE(lista->width(), Twips(10335));
    QCOMPARE(lista->pos(), narrow.topLeft());
    QCOMPARE(lista->height(), narrow.height());
    QCOMPARE(columnWidths(lista), (QList<int>{Twips(5000), Twips(2550), Twips(2500)}));
    QCOMPARE(expand->text(), QStringLiteral("<<"));

    QTest::mouseClick(expand, Qt::LeftButton);
    QVERIFY(frame->isVisible());
    QCOMPARE(lista->geometry(), narrow);
    QCOMPARE(columnWidths(lista), (QList<int>{Twips(4095), Twips(2000), Twips(1822)}));
    QCOMPARE(expand->text(), QStringLiteral(">>"));
}

void MainFrmTest::menusCarryTheirCaptions()
{
    TestLibrary library;
    MainFrm window;
    QStringList menus;
    for (QAction *menu : window.menuBar()->actions()) {
        QStringList items;
        for (QAction *item : menu->menu()->actions())
            items.append(item->text());
        menus.append(menu->text() + ": " + items.join(", "));
    }
    QCOMPARE(menus,
             (QStringList{"File: Exit", "Options: Emulator Config, Edit Roms List, Import Games...",
                          "Help: About"}));
}

void MainFrmTest::optionsMenuOpensTheEditorInItsMode()
{
    TestLibrary library;
    ScriptedMessages messages;
    MainFrm window;
    window.Form_Load();
    window.show();
    window.findChild<QAction *>("ENewM")->trigger();
    OptionsFrm *editor = OptionsFrmWindow();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(App().EditMode, QStringLiteral("EMU"));
    QCOMPARE(editor->mode(), EditorMode::Emulators);
    QVERIFY(window.isEnabled()); // the editor does not block the main window

    window.findChild<QAction *>("ERomM")->trigger();
    QCOMPARE(OptionsFrmWindow(), editor); // one editor, brought forward and reloaded
    QCOMPARE(editor->mode(), EditorMode::Roms);
    QVERIFY(messages.shown.isEmpty());
}

void MainFrmTest::exitUnloadsOnce()
{
    TestLibrary library;
    MainFrm window;
    window.Form_Load();
    window.show();
    QSignalSpy unloaded(&window, &MainFrm::unloaded);
    QTest::mouseClick(child<QPushButton>(window, "Exit"), Qt::LeftButton);
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!window.isVisible());
    window.close();
    QCOMPARE(unloaded.count(), 1);
}

void MainFrmTest::closingEndsTheProgramWhateverIsOpen()
{
    TestLibrary library;
    ScriptedMessages messages;
    QVERIFY(WriteConfig({{"Gone", "emu", library.path("gone"), "%", "", ""}}));
    MainFrm window;
    window.Form_Load();
    window.show();
    window.endProgramWhenUnloaded();
    QCOMPARE(messages.texts(),
             QStringList{"Emulator Gone Not configured properly!! Path Not Found!"});

    // An editor that has saved would reload everything when it closes, and say again
    // that the directory is missing: ending the program must not close it that way.
    window.findChild<QAction *>("ENewM")->trigger();
    QTest::mouseClick(OptionsFrmWindow()->findChild<QPushButton *>("Salva"), Qt::LeftButton);
    QVERIFY(OptionsFrmWindow()->savedSinceLoad());

    QTimer::singleShot(0, &window, [&] { window.close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(messages.texts(),
             QStringList{"Emulator Gone Not configured properly!! Path Not Found!"});
}

QTEST_MAIN(MainFrmTest)
#include "test_mainfrm.moc"
