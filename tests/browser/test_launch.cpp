#include "../unzip/ZipFixtures.h"
#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "browser/MainFrm.h"
#include "catalogue/Config.h"
#include "unzip/VBUnzBas.h"

#include <QAction>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
// How the stand-in emulator was started, read from the record it leaves behind.
struct Launched {
    QString cwd;
    QStringList arguments;
    QString game; // content of the last argument's file, when it was one
};

// Waits for the stand-in emulator of this directory to report, and takes its record.
std::optional<Launched> waitForLaunch(const QString &emulatorDir)
{
    QFile record(QDir(emulatorDir).filePath("launched.txt"));
    for (int tries = 0; tries < 500 && !record.exists(); ++tries)
        QTest::qWait(10);
    if (!record.open(QIODevice::ReadOnly))
        return std::nullopt;
    Launched launched;
    for (const QString &line : QString::fromUtf8(record.readAll()).split('\n')) {
        if (line.startsWith("cwd="))
            launched.cwd = line.mid(4);
        else if (line.startsWith("arg="))
            launched.arguments.append(line.mid(4));
        else if (line.startsWith("game="))
            launched.game = line.mid(5);
    }
    record.remove();
    return launched;
}

// Copies the stand-in emulator into an emulator directory under the given name.
void installEmulator(const TestLibrary &library, const QString &dir, const QString &name)
{
    library.mkdir(dir);
    const QString target = library.path(dir + "/" + name);
    QVERIFY(QFile::copy(QStringLiteral(FAKE_EMULATOR), target));
}

EmulatorRecord emulator(const QString &name, const QString &path, const QString &options,
                        const QString &program = "emulator")
{
    return {name, program, path, options, "snaps", "zips"};
}

// The library most tests start from: the emulator "Arcade" in "emu", started as
// `program`, with one game "Puzzle" in the file "puzzle".
void writeArcade(const TestLibrary &library, const QString &options,
                 const QString &program = "emulator")
{
    if (program == "emulator")
        installEmulator(library, "emu", "emulator");
    library.write("emu/puzzle", "PUZZLE");
    QVERIFY(WriteConfig({emulator("Arcade", library.path("emu"), options, program)}));
    library.write("Arcade.rom", "Puzzle=puzzle===Puzzle Game\r\n");
}

class Window {
public:
    Window()
    {
        main.Form_Load();
        main.show();
        if (!QTest::qWaitForWindowExposed(&main))
            qFatal("main window not exposed");
    }
    QTableView *lista() const { return main.findChild<QTableView *>("Lista"); }
    QPushButton *button(const char *name) const { return main.findChild<QPushButton *>(name); }
    int rowOf(const QString &name, const QString &emulatorName = {}) const
    {
        const auto *model = lista()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data() == name &&
                (emulatorName.isEmpty() || model->index(row, 2).data() == emulatorName))
                return row;
        }
        qFatal("no row %s", qPrintable(name));
    }
    QPoint cellCentre(int row) const
    {
        return lista()->visualRect(lista()->model()->index(row, 0)).center();
    }
    void click(int row) const
    {
        QTest::mouseMove(lista()->viewport(), cellCentre(row));
        QTest::mouseClick(lista()->viewport(), Qt::LeftButton, {}, cellCentre(row));
    }
    void doubleClick(int row) const
    {
        click(row);
        QTest::mouseDClick(lista()->viewport(), Qt::LeftButton, {}, cellCentre(row));
    }
    void select(int row) const { lista()->setCurrentIndex(lista()->model()->index(row, 0)); }
    void pressEnter() const { QTest::keyClick(lista(), Qt::Key_Return); }
    QLabel *label(const char *name) const { return main.findChild<QLabel *>(name); }
    void triggerMenu(const char *name) const { main.findChild<QAction *>(name)->trigger(); }

    MainFrm main;
};
} // namespace

class LaunchTest : public QObject {
    Q_OBJECT
private slots:
    void plainLaunchStartsTheEmulatorInItsDirectory();
    void zippedLaunchExtractsWhereTheCommandLinePoints();
    void extractionIsRemovedAtTheNextAction_data();
    void extractionIsRemovedAtTheNextAction();
    void destinationDirKeepsItsFiles();
    void existingFolderIsNotRemoved();
    void eachRowLaunchesItsOwnGame();
    void optionsWithoutPercentPassNoGame();
    void programWithBlanksAndGameOptions();
    void missingProgramIsReported();
    void unreachableEmulatorDirectoryLeavesTheWindowUsable();
    void launchWithoutACurrentRowDoesNothing();
    void titleRowNeverLaunches();
    void headerClickSortsRunsByName();
    void previewShowsTheSnapshotOrItsAbsence();
    void arrowKeysPreviewOnlyWithTheMouseOverAData();
};

void LaunchTest::plainLaunchStartsTheEmulatorInItsDirectory()
{
    TestLibrary library;
    ScriptedMessages messages;
    writeArcade(library, "-fullscreen %");
    Window window;

    window.click(0);
    QVERIFY(window.button("Launch")->isEnabled());
    QTest::mouseClick(window.button("Launch"), Qt::LeftButton);
    const auto launched = waitForLaunch(library.path("emu"));
    QVERIFY(launched);
    QCOMPARE(launched->cwd, library.path("emu"));
    QCOMPARE(launched->arguments, (QStringList{"-fullscreen", "puzzle"}));
    QCOMPARE(launched->game, QStringLiteral("PUZZLE"));
    QVERIFY(window.main.isEnabled());
    QCOMPARE(window.main.statusText(), QStringLiteral("Waiting for selection..."));
    QCOMPARE(QDir::currentPath(), library.path("emu"));
    QVERIFY(messages.shown.isEmpty());
}

void LaunchTest::zippedLaunchExtractsWhereTheCommandLinePoints()
{
    TestLibrary library;
    ScriptedMessages messages;
    installEmulator(library, "emu", "emulator");
    library.mkdir("emu/zips");
    QVERIFY(MakeZip(library.path("emu/zips/game.zip"),
                    {{"game.dsk", "DISK"}, {"extras/manual.txt", "read me"}}));
    QVERIFY(WriteConfig({emulator("Micro", library.path("emu"), "-disk %")}));
    library.write("Micro.rom", "Game=game.dsk===\r\n");
    Window window;

    window.select(0);
    window.pressEnter();
    const auto launched = waitForLaunch(library.path("emu"));
    QVERIFY(launched);
    QCOMPARE(launched->arguments, (QStringList{"-disk", "./game.dsk/game.dsk"}));
    QCOMPARE(launched->game, QStringLiteral("DISK"));
    QVERIFY(QFileInfo(library.path("emu/game.dsk/extras/manual.txt")).isFile());
    QVERIFY(messages.shown.isEmpty());
}

void LaunchTest::extractionIsRemovedAtTheNextAction_data()
{
    QTest::addColumn<QString>("action");
    for (const char *action :
         {"selection", "launch", "about", "emulator config", "edit roms", "expand", "exit"})
        QTest::newRow(action) << QString::fromLatin1(action);
}

void LaunchTest::extractionIsRemovedAtTheNextAction()
{
    QFETCH(QString, action);
    TestLibrary library;
    ScriptedMessages messages;
    installEmulator(library, "emu", "emulator");
    library.write("emu/other.bin");
    library.mkdir("emu/zips");
    QVERIFY(MakeZip(library.path("emu/zips/game.zip"), {{"game.dsk", "DISK"}}));
    QVERIFY(WriteConfig({emulator("Micro", library.path("emu"), "%")}));
    library.write("Micro.rom", "Game=game.dsk===\r\nOther=other.bin===\r\n");
    Window window;

    window.doubleClick(window.rowOf("Game"));
    QVERIFY(waitForLaunch(library.path("emu")));
    QVERIFY(QFileInfo::exists(library.path("emu/game.dsk/game.dsk")));
    // The current directory moves away before the next action: the clean-up still finds
    // the right folder.
    QDir::setCurrent(library.path());

    if (action == "selection") {
        window.click(window.rowOf("Other"));
    } else if (action == "launch") {
        window.doubleClick(window.rowOf("Other"));
        QVERIFY(waitForLaunch(library.path("emu")));
    } else if (action == "about") {
        window.triggerMenu("AboutM");
    } else if (action == "emulator config") {
        window.triggerMenu("ENewM");
    } else if (action == "edit roms") {
        window.triggerMenu("ERomM");
    } else if (action == "expand") {
        QTest::mouseClick(window.button("Expand"), Qt::LeftButton);
    } else if (action == "exit") {
        QTest::mouseClick(window.button("Exit"), Qt::LeftButton);
    }
    QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk")));
    QVERIFY(QFileInfo::exists(library.path("emu/other.bin")));
    QVERIFY(QFileInfo::exists(library.path("emu/zips/game.zip")));
}

void LaunchTest::destinationDirKeepsItsFiles()
{
    TestLibrary library;
    ScriptedMessages messages;
    installEmulator(library, "emu", "emulator");
    library.mkdir("emu/zips");
    QVERIFY(MakeZip(library.path("emu/zips/game.zip"), {{"game.dsk", "DISK"}}));
    // The game's file names an unrelated folder of the player's as well.
    library.mkdir("emu/games");
    QVERIFY(WriteConfig({emulator("Micro", library.path("emu"), "%")}));
    library.write("Micro.rom", "Game=game.dsk=games==\r\n");
    Window window;
    library.write("emu/game.dsk/keep.txt", "mine"); // made after the catalogue loaded

    window.doubleClick(0);
    QVERIFY(waitForLaunch(library.path("emu")));
    QCOMPARE(ReadFile(library.path("emu/games/game.dsk")), QByteArray("DISK"));
    window.click(0);
    QVERIFY(QFileInfo::exists(library.path("emu/games/game.dsk")));
    QCOMPARE(ReadFile(library.path("emu/game.dsk/keep.txt")), QByteArray("mine"));
}

void LaunchTest::existingFolderIsNotRemoved()
{
    TestLibrary library;
    ScriptedMessages messages;
    installEmulator(library, "emu", "emulator");
    library.mkdir("emu/zips");
    QVERIFY(MakeZip(library.path("emu/zips/game.zip"), {{"game.dsk", "DISK"}}));
    library.write("emu/game.dsk/saves.dat", "progress");
    QVERIFY(WriteConfig({emulator("Micro", library.path("emu"), "%")}));
    // The catalogue saw no file "game.dsk" but a folder: still extract into it.
    library.write("Micro.rom", "Game=game.dsk===\r\n");
    Window window;
    App().Games[1].Zipped = true;

    window.doubleClick(0);
    QVERIFY(waitForLaunch(library.path("emu")));
    window.click(0);
    QCOMPARE(ReadFile(library.path("emu/game.dsk/saves.dat")), QByteArray("progress"));
}

void LaunchTest::eachRowLaunchesItsOwnGame()
{
    TestLibrary library;
    ScriptedMessages messages;
    installEmulator(library, "one", "emulator");
    installEmulator(library, "two", "emulator");
    library.write("one/game.bin", "ONE");
    library.write("two/game.bin", "TWO");
    QVERIFY(WriteConfig({emulator("First", library.path("one"), "--one %"),
                         emulator("Second", library.path("two"), "--two %")}));
    library.write("First.rom", "Same=game.bin===\r\n");
    library.write("Second.rom", "Same=game.bin===\r\n");
    Window window;
    window.lista()->horizontalHeader()->setSortIndicatorShown(false);

    window.doubleClick(window.rowOf("Same", "Second"));
    auto launched = waitForLaunch(library.path("two"));
    QVERIFY(launched);
    QCOMPARE(launched->arguments, (QStringList{"--two", "./game.bin/game.bin"}));
    QCOMPARE(launched->cwd, library.path("two"));

    window.doubleClick(window.rowOf("Same", "First"));
    launched = waitForLaunch(library.path("one"));
    QVERIFY(launched);
    QCOMPARE(launched->arguments.first(), QStringLiteral("--one"));
    QVERIFY(!QFileInfo::exists(library.path("two/launched.txt")));
}

void LaunchTest::optionsWithoutPercentPassNoGame()
{
    TestLibrary library;
    ScriptedMessages messages;
    writeArcade(library, "-fullscreen \"two words\"");
    Window window;
    window.doubleClick(0);
    const auto launched = waitForLaunch(library.path("emu"));
    QVERIFY(launched);
    QCOMPARE(launched->arguments, (QStringList{"-fullscreen", "two words"}));
}

void LaunchTest::programWithBlanksAndGameOptions()
{
    TestLibrary library;
    ScriptedMessages messages;
    installEmulator(library, "emu dir", "my emulator");
    library.write("emu dir/my game.rom", "MINE");
    QVERIFY(WriteConfig({emulator("Arcade", library.path("emu dir"), "-emu %", "my emulator")}));
    library.write("Arcade.rom", "Game=my game.rom==-window % -sound=\r\n");
    Window window;
    window.doubleClick(0);
    const auto launched = waitForLaunch(library.path("emu dir"));
    QVERIFY(launched);
    QCOMPARE(launched->arguments, (QStringList{"-window", "./my game.rom/my game.rom", "-sound"}));
    QVERIFY(messages.shown.isEmpty());
}

void LaunchTest::missingProgramIsReported()
{
    TestLibrary library;
    ScriptedMessages messages;
    writeArcade(library, "%", "no-such-emulator");
    Window window;
    window.doubleClick(0);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Error"));
    QVERIFY(messages.shown[0].text.contains("no-such-emulator"));
    QVERIFY(window.main.isEnabled());
    QCOMPARE(window.main.statusText(), QStringLiteral("Waiting for selection..."));
}

void LaunchTest::unreachableEmulatorDirectoryLeavesTheWindowUsable()
{
    TestLibrary library;
    ScriptedMessages messages;
    writeArcade(library, "%");
    Window window;
    // The directory goes away after the catalogue was loaded.
    QVERIFY(WriteConfig({emulator("Arcade", library.path("gone"), "%")}));
    window.doubleClick(0);
    QCOMPARE(messages.texts(),
             QStringList{"Emulator Arcade Not configured properly!! Path Not Found!"});
    QVERIFY(window.main.isEnabled());
    QCOMPARE(window.main.statusText(), QStringLiteral("Waiting for selection..."));
}

void LaunchTest::launchWithoutACurrentRowDoesNothing()
{
    TestLibrary library;
    ScriptedMessages messages;
    writeArcade(library, "%");
    Window window;
    window.lista()->setCurrentIndex({});
    window.button("Launch")->setEnabled(true);
    QTest::mouseClick(window.button("Launch"), Qt::LeftButton);
    window.pressEnter();
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(library.path("emu/launched.txt")));
    QVERIFY(window.main.isEnabled());
    QCOMPARE(window.main.statusText(), QStringLiteral("Waiting for selection..."));
}

void LaunchTest::titleRowNeverLaunches()
{
    TestLibrary library;
    ScriptedMessages messages;
    writeArcade(library, "%");
    Window window;
    QHeaderView *header = window.lista()->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, title);
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(library.path("emu/launched.txt")));
    QVERIFY(!window.button("Launch")->isEnabled());
}

void LaunchTest::headerClickSortsRunsByName()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.mkdir("emu");
    QByteArray lines;
    const QList<QPair<QString, QString>> games = {
        {"e", "C"}, {"d", "B"}, {"c", "C"}, {"b", "B"}, {"a", "A"}};
    for (const auto &[name, type] : games) {
        library.write("emu/" + name);
        lines += (name + "=" + name + "===" + type + "\r\n").toLatin1();
    }
    QVERIFY(WriteConfig({emulator("E", library.path("emu"), "%")}));
    library.write("E.rom", lines);
    Window window;
    QHeaderView *header = window.lista()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QStringList order;
    for (int row = 0; row < 5; ++row) {
        const auto *model = window.lista()->model();
        order.append(model->index(row, 1).data().toString() +
                     model->index(row, 0).data().toString());
    }
    QCOMPARE(order, (QStringList{"Aa", "Bb", "Bd", "Cc", "Ce"}));
    QVERIFY(!window.button("Launch")->isEnabled());
    QVERIFY(window.label("Title")->isVisible());
}

void LaunchTest::previewShowsTheSnapshotOrItsAbsence()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("emu/small.nes");
    library.write("emu/wide.nes");
    library.write("emu/none.nes");
    library.write("emu/broken.nes");
    library.mkdir("emu/snaps");
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(Qt::red);
    QVERIFY(small.save(library.path("emu/snaps/small.gif").replace(".gif", ".bmp"), "BMP"));
    QVERIFY(small.save(library.path("emu/snaps/small.jpg"), "JPG"));
    QImage wide(1000, 100, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    QVERIFY(wide.save(library.path("emu/snaps/wide.bmp"), "BMP"));
    library.write("emu/snaps/broken.jpg", "not a picture");
    QVERIFY(WriteConfig({emulator("E", library.path("emu"), "%")}));
    library.write("E.rom", "Small=small.nes===\r\nWide=wide.nes===\r\nNone=none.nes===\r\n"
                           "Broken=broken.nes===\r\n");
    Window window;
    QLabel *snap = window.label("Snap");
    QLabel *notPic = window.label("NotPic");
    const QSize design = snap->size();

    window.click(window.rowOf("Small"));
    QVERIFY(!window.label("Title")->isVisible());
    QVERIFY(!notPic->isVisible());
    QCOMPARE(snap->size(), QSize(64, 48));
    QCOMPARE(snap->pixmap().toImage().pixelColor(1, 1).red() > 200, true); // the jpg
    // Centred in its frame, 50 twips (3 pixels) below the middle.
    const QSize frame = window.main.findChild<QWidget *>("Frame1")->size();
    QVERIFY(qAbs(snap->x() - (frame.width() - 64) / 2) <= 1);
    QVERIFY(qAbs(snap->y() - ((frame.height() - 48) / 2 + 3)) <= 1);

    window.click(window.rowOf("Wide"));
    QCOMPARE(snap->width(), frame.width() - 22);
    QCOMPARE(snap->height(), 100);

    window.click(window.rowOf("None"));
    QVERIFY(notPic->isVisible());
    QCOMPARE(snap->size(), design);

    window.click(window.rowOf("Broken"));
    QVERIFY(notPic->isVisible());
    QCOMPARE(snap->size(), design);
    QVERIFY(messages.shown.isEmpty());
}

void LaunchTest::arrowKeysPreviewOnlyWithTheMouseOverAData()
{
    TestLibrary library;
    ScriptedMessages messages;
    library.write("emu/a.nes");
    library.write("emu/b.nes");
    library.mkdir("emu/snaps");
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(library.path("emu/snaps/a.bmp"), "BMP"));
    QVERIFY(WriteConfig({emulator("E", library.path("emu"), "%")}));
    library.write("E.rom", "A=a.nes===\r\nB=b.nes===\r\n");
    Window window;
    QLabel *notPic = window.label("NotPic");

    // Nothing has been under the pointer yet: moving the current row shows nothing.
    window.select(1);
    QVERIFY(window.label("Title")->isVisible());
    QVERIFY(!window.button("Launch")->isEnabled());

    // With the pointer resting over a data row, the arrow keys refresh the picture.
    window.click(0);
    QVERIFY(!notPic->isVisible());
    QTest::keyClick(window.lista(), Qt::Key_Down);
    QCOMPARE(window.lista()->currentIndex().row(), 1);
    QVERIFY(notPic->isVisible());
}

QTEST_MAIN(LaunchTest)
#include "test_launch.moc"
