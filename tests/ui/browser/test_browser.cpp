#include "ScriptedMessages.h"
#include "TestLibrary.h"
#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "core/files/SettingsFile.h"
#include "core/gamedata/GameData.h"
#include "core/unzip/ZipFixtures.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/LaunchFailureStrip.h"
#include "ui/browser/MainFrm.h"
#include "ui/browser/RecentMenu.h"
#include "ui/common/Twips.h"
#include "ui/editor/OptionsFrm.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using List = QStringList;
const QString Waiting = QStringLiteral("Waiting for selection...");

namespace {
template <typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
// A program directory whose message boxes are answered. Its emulators are a stand-in named
// "true" (the PATH's does nothing) that records in "launched.txt" how it was started.
struct Fixture : TestLibrary {
    QString standIn(const QString &file) const
    {
        write(file, R"sh(#!/bin/sh
args= paths=0 game=
for a in "$@"; do args="$args|$a"; [ -n "$a" ] && [ -e "$a" ] && paths=$((paths + 1))
    [ -z "$game" ] && [ -f "$a" ] && game=$(cat -- "$a"); done
printf 'cwd=%s\nargs=%s\npaths=%s\ngame=%s\n' "$(pwd -P)" "${args#|}" $paths "$game" >launched.tmp
mv launched.tmp launched.txt)sh");
        QFile::setPermissions(path(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path(file);
    }
    // Adds an emulator in `dir`, a file per game ROM line "Name=file..." (holding the name).
    void add(const QString &name, const QString &dir, const QString &options,
             const QStringList &games, const QString &path = {})
    {
        mkdir(dir + "/zips");
        standIn(dir + "/true");
        emulators.push_back(
            {name, "true", path.isEmpty() ? this->path(dir) : path, options, "snaps", "zips"});
        QByteArray list;
        for (const QString &game : games) {
            write(dir + "/" + game.section('=', 1, 1), game.section('=', 0, 0).toUtf8());
            list += (game + "\r\n").toUtf8();
        }
        write(name + ".rom", list);
        QVERIFY(writeConfig(emulators));
    }
    // What the stand-in recorded in `dir`: "cwd", "args", "paths" (naming a file), "game".
    QHash<QString, QString> launched(const QString &dir = "emu", int tries = 300) const
    {
        QFile record(path(dir + "/launched.txt"));
        while (tries-- > 0 && !record.exists())
            QTest::qWait(10);
        QHash<QString, QString> values;
        for (const QString &line :
             record.open(QIODevice::ReadOnly) ? QString(record.readAll()).split('\n') : List{})
            values.insert(line.section('=', 0, 0), line.section('=', 1));
        record.remove();
        return values;
    }
    bool launchedNothing(const QString &dir = "emu") const { return launched(dir, 10).isEmpty(); }
    ScriptedMessages messages;
    std::vector<EmulatorRecord> emulators;
};
struct Window {
    explicit Window(TestLibrary &library)
        : main(library.core)
    {
        main.Form_Load();
        main.show();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
    }
    QTableView *lista() const { return main.findChild<QTableView *>("Lista"); }
    QWidget *find(const char *name) const { return main.findChild<QWidget *>(name); }
    static void mouse(QWidget *target, QPoint point, bool twice)
    {
        QTest::mouseClick(target, Qt::LeftButton, {}, point);
        if (twice) { // the second press of a double-click, then its release
            QTest::mouseDClick(target, Qt::LeftButton, {}, point);
            QTest::mouseRelease(target, Qt::LeftButton, {}, point);
        }
    }
    QPoint at(int row) const
    {
        return lista()->visualRect(lista()->model()->index(row, 0)).center();
    }
    void hover(int row) const { QTest::mouseMove(lista()->viewport(), at(row)); }
    void click(int row, bool twice = false) const { mouse(lista()->viewport(), at(row), twice); }
    void clickTitle(int column, bool twice = false) const
    {
        QHeaderView *titles = lista()->horizontalHeader();
        mouse(titles->viewport(), QPoint(titles->sectionViewportPosition(column) + 5, 5), twice);
    }
    void select(int row) const { lista()->setCurrentIndex(lista()->model()->index(row, 0)); }
    void enter() const { QTest::keyClick(lista(), Qt::Key_Return); }
    void press(const char *name) const
    {
        QAction *action = main.findChild<QAction *>(name);
        action != nullptr ? action->trigger() : QTest::mouseClick(find(name), Qt::LeftButton);
    }
    bool idle() const { return main.isEnabled() && main.statusText() == Waiting; }
    bool launchEnabled() const { return find("Launch")->isEnabled(); }
    MainFrm main;
};
} // namespace

class BrowserTest : public QObject {
    Q_OBJECT
private slots:
    void expandAndCloseTheWindow();
    void theEditorOpensCentredOverTheWindow();
    void launchesFromEachTrigger_data();
    void launchesFromEachTrigger();
    void launchShowsEachStepWhileTheWindowWaits();
    void zippedGameIsExtractedUntilTheNextAction_data();
    void zippedGameIsExtractedUntilTheNextAction();
    void eachRowLaunchesWithTheEmulatorItShows();
    void titlesAndNamelessRowsNeverLaunchOrSelect();
    void previewShowsTheSnapshotOrAReadableNotice();
    void aReloadKeepsTheHighlightedGameOrNone();
    void findAGameByTyping();
    void favouritesAndRecentlyPlayed();
    void recentlyPlayedIsGreyedByWhatIsListed_data();
    void recentlyPlayedIsGreyedByWhatIsListed();
    void theGameMenuChoosesEmulatorsAndCollections();
    void aHeldKeyShowsTheRowItRestsOn();
    void everyDemoGameGetsAnExistingPath();
    void theCoverViewIsTheListInTiles();
    void theWindowOpensAsItWasLeft_data();
    void theWindowOpensAsItWasLeft();
    void theDetailsFollowTheHighlight();
};

void BrowserTest::expandAndCloseTheWindow()
{
    Fixture library;
    QVERIFY(library.writeConfig({{"Gone", "emu", library.path("gone"), "%", "", ""}}));
    Window window(library);
    QVERIFY(window.find("Expand")->toolTip().startsWith("Widen the game list"));
    window.press("Expand");
    QVERIFY(!window.find("Frame1")->isVisible() && window.lista()->width() == Twips(10335) &&
            window.find("Expand")->property("text") == "<<");
    QVERIFY(window.find("Expand")->toolTip().startsWith("Narrow the game list"));
    window.press("Expand");
    QVERIFY(window.find("Frame1")->isVisible() && window.lista()->columnWidth(0) == Twips(4095));
    // Closing ends the program at once, not closing a saved editor (it would reload).
    window.main.endProgramWhenUnloaded();
    window.press("ENewM");
    QTest::mouseClick(window.main.editor()->findChild<QWidget *>("Salva"), Qt::LeftButton);
    QTimer::singleShot(0, [&] { window.press("Exit"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(
        library.messages.texts(),
        List{"Emulator Gone Not configured properly!! Path Not Found!\nIts Games Directory \"" +
             library.path("gone") + "\" does not exist."});
}

void BrowserTest::theEditorOpensCentredOverTheWindow()
{
    Fixture library;
    Window window(library);
    window.main.move(30, 20);
    window.press("ENewM");
    const QRect editor = window.main.editor()->frameGeometry();
    QVERIFY2(
        (editor.center() - window.main.frameGeometry().center()).manhattanLength() <= 2,
        qPrintable(
            QStringLiteral("editor at %1,%2").arg(editor.center().x()).arg(editor.center().y())));
}

void BrowserTest::launchesFromEachTrigger_data()
{
    QTest::addColumn<int>("key"); // 0: the mouse, clicking `Launch` or double-clicking
    QTest::addColumn<bool>("twice");
    row("Launch button", 0, false);
    row("double-click", 0, true);
    row("Enter", int(Qt::Key_Return), false);
    row("keypad Enter", int(Qt::Key_Enter), false);
}

void BrowserTest::launchesFromEachTrigger()
{
    QFETCH(int, key);
    QFETCH(bool, twice);
    Fixture library;
    library.add("Arcade", "emu", "-f %", {"Puzzle=puz.bin===Maze", "Racer=race.bin"});
    Window window(library);
    QVERIFY(window.idle() && !window.launchEnabled() && window.main.model()->cell(0, 1) == "Maze");
    QStringList menus;
    for (const char *name : {"ExitM", "ENewM", "ERomM", "ImportM", "AboutM"})
        menus << window.main.findChild<QAction *>(name)->text();
    QCOMPARE(menus,
             (List{"E&xit", "&Emulator Config", "Edit &Roms List", "&Import Games...", "&About"}));
    const auto press = [&] { // through the window to whatever has the focus
        QTest::keyClick(window.main.windowHandle(), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    };
    window.lista()->setFocus();
    key != 0 ? window.select(0) : window.click(0, twice);
    key != 0 ? press() : twice ? void() : QTest::mouseClick(window.find("Launch"), Qt::LeftButton);
    auto launched = library.launched();
    QCOMPARE(launched["args"], "-f|puz.bin");
    QCOMPARE(launched["game"], "Puzzle");
    QVERIFY(window.idle());
    if (key != 0) { // the keyboard still works the grid: Down, then the same key
        QTest::keyClick(window.main.windowHandle(), Qt::Key_Down);
        press();
        QCOMPARE(library.launched()["game"], "Racer");
    }
}

void BrowserTest::launchShowsEachStepWhileTheWindowWaits()
{
    Fixture library;
    library.add("Micro", "emu", "%", {"Game=game.dsk"});
    QFile::rename(library.path("emu/game.dsk"), library.path("emu/zips/game.zip")); // broken
    QFile::setPermissions(library.path("emu/true"), QFile::ReadOwner | QFile::WriteOwner);
    Window window(library);
    QStringList seen; // the window as each message finds it
    QString last;
    const MessageHandler previous = SetMessageHandler([&](const MessageRequest &request) {
        seen << QString::number(window.main.isEnabled()) + " " + window.main.statusText();
        last = request.text;
        return MessageAnswer::Ok;
    });
    const auto restore = qScopeGuard([&] { SetMessageHandler(previous); });
    window.select(0);
    window.enter(); // the extraction fails in a box, then the start in the strip
    QCOMPARE(seen, List{"0 Decompressing Games... Game.... Please Wait"});
    const auto *strip = window.main.findChild<LaunchFailureStrip *>();
    QVERIFY2(strip->text().startsWith("Game did not start in Micro: ") &&
                 strip->text().contains("true") && strip->text().endsWith("is not executable."),
             qPrintable(strip->text()));
    QVERIFY(window.main.isEnabled() && window.main.statusText() == "Waiting for selection...");
    QTest::keyClick(window.lista(), Qt::Key_Escape);
    QVERIFY(strip->text().isEmpty());
}

void BrowserTest::zippedGameIsExtractedUntilTheNextAction_data()
{
    QTest::addColumn<QString>("action");      // "reload": the editor saves and closes
    QTest::addColumn<QString>("destination"); // given: the player makes a "game.dsk" folder
    for (const char *action :
         {"select", "launch", "AboutM", "ENewM", "ERomM", "Expand", "Exit", "reload"})
        row(action, QString(action), QString());
    row("the player's folder", QString("select"), QString(".")); // "." for none
    row("a destination directory", QString("select"), QString("games"));
}

void BrowserTest::zippedGameIsExtractedUntilTheNextAction()
{
    QFETCH(QString, action);
    QFETCH(QString, destination);
    const bool playersFolder = !destination.isEmpty();
    destination = destination == "." ? QString() : destination;
    Fixture library;
    library.add("Micro", "emu", "-d %", {"Other=other.bin", "Game=game.dsk=" + destination});
    QVERIFY(QFile::remove(library.path("emu/game.dsk")));
    QVERIFY(MakeZip(library.path("emu/zips/game.zip"), {{"game.dsk", "DISK"}}));
    Window window(library);
    if (playersFolder)
        library.write("emu/game.dsk/keep.txt", "mine");
    if (action == "reload")
        window.press("ENewM"); // the editor stays open beside the main window
    window.click(0, true);     // rows by name: Game, Other
    if (playersFolder &&
        destination.isEmpty()) { // never extracted into, nor removed: the launch says why
        QVERIFY(library.launchedNothing());
        QVERIFY(library.messages.texts().join('\n').contains("is in the way of the game's"));
        QCOMPARE(library.read("emu/game.dsk/keep.txt"), "mine");
        QVERIFY(!QFileInfo::exists(library.path("emu/game.dsk/game.dsk")));
        return;
    }
    const auto launched = library.launched();
    QCOMPARE(launched["args"],
             destination.isEmpty() ? "-d|./game.dsk/game.dsk" : "-d|games/game.dsk");
    QCOMPARE(launched["game"], "DISK");
    if (action == "reload") { // the catalogue is read while the extraction lies there
        QTest::mouseClick(window.main.editor()->findChild<QWidget *>("Salva"), Qt::LeftButton);
        window.main.editor()->close(); // the reload cleans up first: the game is zipped again
        QTRY_VERIFY(!QFileInfo::exists(library.path("emu/game.dsk"))); // once the emulator ends
        QTRY_VERIFY(window.main.editor() == nullptr);
        window.click(0, true); // rows by name: Game, Other
        QCOMPARE(library.launched()["game"], "DISK");
    }
    action == "select" || action == "launch"
        ? window.click(1, action == "launch")
        : window.press(qPrintable(action == "reload" ? "Exit" : action));
    if (action == "launch")
        QCOMPARE(library.launched()["game"], "Other");
    QCOMPARE(library.read("emu/game.dsk/keep.txt"), playersFolder ? "mine" : "");
    QTRY_COMPARE(QFileInfo::exists(library.path("emu/game.dsk")),
                 playersFolder); // once the emulator ends
    QCOMPARE(library.read("emu/games/game.dsk"), destination.isEmpty() ? "" : "DISK");
    const QHash<QString, int> modes{{"ENewM", int(EditorMode::Emulators)},
                                    {"ERomM", int(EditorMode::Roms)}};
    QCOMPARE(window.main.editor() ? int(window.main.editor()->mode()) : -1,
             modes.value(action, -1));
}

void BrowserTest::eachRowLaunchesWithTheEmulatorItShows()
{
    Fixture library;
    library.add("First", "one", "--one %", {"Same=game.bin"});
    library.add("Second", "two", "--two %", {"Same=game.bin"});
    Window window(library);
    const auto &in = library.emulators;
    for (const auto &config : {in, std::vector{in[1], in[0]}, std::vector{in[0]}}) {
        QVERIFY(library.writeConfig(config)); // edited by hand after the load
        window.click(1, true);                // loaded second, sorted second: Second's row
        const bool configured = config.size() == 2;
        QCOMPARE(library.launched("two", configured ? 300 : 10)["args"],
                 configured ? "--two|game.bin" : "");
    }
    QCOMPARE(library.messages.texts(),
             List{"Emulator Second Not configured properly!! Path Not Found!"});
}

void BrowserTest::titlesAndNamelessRowsNeverLaunchOrSelect()
{
    Fixture library;
    library.add("Micro", "emu", "%", {"=c.bin", "B=b.bin===Y", "A=a.bin===Z", "Game=game.dsk===X"});
    QVERIFY(QFile::remove(library.path("emu/game.dsk")));
    QVERIFY(MakeZip(library.path("emu/zips/game.zip"), {{"game.dsk", "DISK"}}));
    Window window(library);
    window.clickTitle(0, true);
    window.select(0); // rows by name: "" (a game without a name), A, B, Game
    window.enter();
    QVERIFY(library.launchedNothing() && window.idle() && !window.launchEnabled());
    window.select(3);
    window.enter();
    QCOMPARE(library.launched()["game"], "DISK");
    window.hover(1);                   // the pointer passes over a data row
    for (const int column : {2, 0, 1}) // by type at last: "", Game, B, A
        window.clickTitle(column);
    QVERIFY(QFileInfo::exists(library.path("emu/game.dsk/game.dsk")) &&
            !window.find("Title")->isVisible() && window.launchEnabled());
    window.enter(); // the row followed its game through the sorts, and so did the picture
    QCOMPARE(library.launched()["game"], "DISK");
    QFile::remove(library.path("Zanku.ini")); // no emulator left: Enter tries, then nothing acts
    window.enter();
    window.clickTitle(0);
    QCOMPARE(window.main.model()->cell(1, 0), "Game");
    window.click(1, true);
    QVERIFY(library.launchedNothing() && !window.launchEnabled());
    QCOMPARE(library.messages.texts(),
             List{"Emulator Micro Not configured properly!! Path Not Found!"});
}

void BrowserTest::previewShowsTheSnapshotOrAReadableNotice()
{
    Fixture library;
    library.add("E", "emu", "%", {"A=a", "B=b", "C=c"}, "emu");
    QImage picture(1000, 1000, QImage::Format_RGB32); // wider and taller than the frame
    picture.fill(Qt::red);
    QVERIFY(picture.copy(0, 0, 64, 48).save(library.mkdir("emu/snaps") + "/a.jpg"));
    for (const char *name : {"emu/snaps/a.bmp", "emu/snaps/b.BMP"})
        QVERIFY(picture.save(library.path(name), "BMP"));
    Window window(library);
    QWidget *snap = window.find("Snap"), *notPic = window.find("NotPic");
    const QSize design = snap->size();
    QVERIFY(window.find("Title")->isVisible() && !window.launchEnabled() && !notPic->isVisible());
    QTest::mouseMove(window.find("Exit")); // the pointer away from the list: the keys choose
    window.select(1);
    QTest::keyClick(window.lista(), Qt::Key_Up);
    QVERIFY(window.launchEnabled() && !window.find("Title")->isVisible() && !notPic->isVisible());
    QTRY_COMPARE(snap->size(), QSize(64, 48));     // the jpg before the bmp
    QTest::keyClick(window.lista(), Qt::Key_Down); // from the emulator's directory now
    // Scaled to fit above the details, square still, and large enough to see.
    const QWidget *details = window.find("Details");
    const auto fitted = [&](int least) {
        return snap->width() == snap->height() && snap->height() >= least &&
               snap->geometry().bottom() < details->geometry().top();
    };
    QTRY_VERIFY(fitted(180) && details->height() >= 120);
    const QSize small = snap->size();
    // A larger window: the list and the frame take the room, the picture and the details
    // grow with the frame, and the buttons stay under the list.
    const QRect list = window.find("Lista")->geometry();
    const int detailsHeight = details->height();
    window.main.resize(window.main.size() + QSize(300, 200));
    QTRY_VERIFY(fitted(small.height() + 100) && details->height() > detailsHeight);
    QCOMPARE(window.find("Lista")->size(), list.size() + QSize(150, 200));
    QVERIFY(window.find("Frame1")->width() == Twips(6135) + 150 &&
            window.find("Exit")->geometry().top() > list.bottom() + 200);
    window.main.resize(window.main.size() - QSize(300, 200));
    QTRY_COMPARE(snap->size(), small);
    QTest::keyClick(window.lista(), Qt::Key_Down);
    QTRY_VERIFY(notPic->isVisible() && snap->size() == design);
    // The notice can be read: some of its pixels, and only some, are of its text colour.
    const QImage shot =
        snap->grab(notPic->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    const auto *pixels = reinterpret_cast<const QRgb *>(shot.constBits());
    const qsizetype inked = std::count(pixels, pixels + shot.width() * shot.height(),
                                       notPic->palette().color(QPalette::WindowText).rgb());
    QVERIFY2(inked > 100 && inked < shot.width() * shot.height() / 2,
             qPrintable(QString::number(inked)));
}

// The editor's reload: the game highlighted stays so, current and pictured; once it is
// gone no row is current, and the grid's focus makes none current unseen.
void BrowserTest::aReloadKeepsTheHighlightedGameOrNone()
{
    Fixture library;
    library.add("Arcade", "emu", "%", {"A=a.bin", "B=b.bin", "C=c.bin"});
    Window window(library);
    const auto reload = [&] {
        window.press("ENewM");
        QTest::mouseClick(window.main.editor()->findChild<QWidget *>("Salva"), Qt::LeftButton);
        window.main.editor()->close();
    };
    window.click(1);
    library.write("Arcade.rom", "Z=a.bin\r\nB=b.bin\r\nC=c.bin\r\n"); // A sorts last now
    reload();
    QCOMPARE(window.lista()->selectionModel()->selectedRows(),
             QModelIndexList{window.lista()->model()->index(0, 0)});
    QVERIFY(window.launchEnabled() && window.find("NotPic")->isVisible());
    QTest::mouseClick(window.find("Launch"), Qt::LeftButton);
    QCOMPARE(library.launched()["game"], "B");

    library.write("Arcade.rom", "A=a.bin\r\nC=c.bin\r\n");
    reload();
    QVERIFY(!window.lista()->currentIndex().isValid() && !window.launchEnabled());
    QVERIFY(window.find("Title")->isVisible() && !window.find("NotPic")->isVisible());
    window.lista()->clearFocus();
    window.lista()->setFocus(Qt::TabFocusReason);
    window.enter();
    QTest::mouseClick(window.find("Launch"), Qt::LeftButton);
    QVERIFY(library.launchedNothing());
}

// Typing on the list finds; the keys move through what is found; Enter starts it; a sort
// and a reload keep the list narrowed; Esc brings every row back, the game still chosen.
void BrowserTest::findAGameByTyping()
{
    Fixture library;
    library.add(
        "Arcade", "emu", "%",
        {"Racing Kart=kart.bin===Driving", "Mario Kart=mario.bin===Driving", "Puzzle=p.bin"});
    Window window(library);
    QLineEdit *find = window.main.findChild<QLineEdit *>("Find");
    const auto shown = [&] {
        QStringList names;
        for (int row = 0; row < window.lista()->model()->rowCount(); ++row)
            names << window.lista()->model()->index(row, 0).data().toString();
        return names;
    };
    const auto count = [&] { return window.main.findChild<QLabel *>("StatusPanel2")->text(); };
    QVERIFY(!find->isVisible());
    window.lista()->setFocus();
    QTest::keyClicks(window.lista(), "KAR");
    QTest::keyClicks(find, "t");
    QVERIFY(find->isVisible() && find->hasFocus() && find->text() == "KARt");
    QCOMPARE(shown(), (List{"Mario Kart", "Racing Kart"}));
    QCOMPARE(count(), "Games  ( 2 of 3 Roms )");
    QVERIFY(window.launchEnabled() && window.lista()->selectionModel()->isRowSelected(0));
    QTest::keyClick(find, Qt::Key_Down);
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(library.launched()["game"], "Racing Kart");
    window.clickTitle(0);
    window.press("ENewM");
    QTest::mouseClick(window.main.editor()->findChild<QWidget *>("Salva"), Qt::LeftButton);
    window.main.editor()->close(); // a reload: still found, still chosen
    QCOMPARE(shown(), (List{"Mario Kart", "Racing Kart"}));
    QVERIFY(window.lista()->selectionModel()->isRowSelected(1));
    find->setFocus();
    QTest::keyClick(find, Qt::Key_Escape);
    QVERIFY(!find->isVisible() && window.lista()->hasFocus() && count() == "Games  ( 3 Roms )");
    QCOMPARE(shown(), (List{"Mario Kart", "Puzzle", "Racing Kart"}));
    QVERIFY(window.lista()->selectionModel()->isRowSelected(2));
    QTest::keyClicks(window.lista(), "zelda");
    QVERIFY(shown().isEmpty() && !window.launchEnabled() && count() == "Games  ( 0 of 3 Roms )");
}

// Ctrl+D stars the chosen game; "Show Favourites Only" counts what it shows; File >
// "Recently Played" lists what was launched, newest first, and starts it again.
void BrowserTest::favouritesAndRecentlyPlayed()
{
    Fixture library;
    library.add("Arcade & Co", "emu", "%", {"Alpha=a.bin", "Beta=b.bin", "Gamma=c.bin"});
    Window window(library);
    const auto count = [&] { return window.main.findChild<QLabel *>("StatusPanel2")->text(); };
    QMenu *recent = window.main.findChild<QMenu *>("RecentM");
    emit window.main.findChild<QMenu *>("FileM")->aboutToShow();
    QVERIFY(!recent->menuAction()->isEnabled());
    window.click(1, true); // Beta, launched
    QCOMPARE(library.launched()["args"], "b.bin");
    window.click(2, true); // then Gamma
    QCOMPARE(library.launched()["args"], "c.bin");
    const auto items = [recent] { // once each game has counted as played
        emit recent->aboutToShow();
        QStringList texts;
        for (const QAction *action : recent->actions())
            texts << action->text();
        return texts;
    };
    QTRY_COMPARE(items(), (List{"Gamma (Arcade && Co)", "Beta (Arcade && Co)"})); // "&" as written
    recent->actions().at(1)->trigger();
    QCOMPARE(library.launched()["args"], "b.bin");

    for (const int row : {0, 2}) { // Alpha and Gamma
        window.select(row);
        QTest::keyClick(window.lista(), Qt::Key_D, Qt::ControlModifier);
    }
    QVERIFY(window.lista()->model()->index(0, 0).data(Qt::UserRole + 1).toBool());
    QCOMPARE(window.lista()->model()->index(0, 0).data().toString(), "Alpha"); // a star, not text
    window.main.findChild<QAction *>("FavouritesOnlyM")->setChecked(true);
    QCOMPARE(window.lista()->model()->rowCount(), 2);
    QCOMPARE(count(), "Games  ( 2 of 3 Roms )");
    QVERIFY(window.lista()->model()->index(0, 0).data(Qt::ToolTipRole).toString() ==
            "Never played");

    // Alpha launched, Gamma chosen while it runs: when the run is counted, Gamma stays
    // chosen, and Enter starts it.
    library.write("emu/true", library.read("emu/true") + "\nsleep 0.5\n");
    window.select(0);
    window.enter();
    QCOMPARE(library.launched()["args"], "a.bin");
    window.click(1);
    QTRY_VERIFY(!library.core.anyEmulatorRunning());
    QCOMPARE(window.lista()->selectionModel()->selectedRows(),
             QModelIndexList{window.lista()->model()->index(1, 0)});
    window.enter();
    QCOMPARE(library.launched()["args"], "c.bin");
    // Found alone, then no longer a favourite: nothing is left to show or launch.
    QTest::keyClicks(window.lista(), "Gam");
    QCOMPARE(window.lista()->model()->rowCount(), 1);
    QTest::keyClick(window.find("Find"), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(count(), "Games  ( 0 of 3 Roms )");
    QVERIFY(window.find("Title")->isVisible() && !window.launchEnabled());
}

void BrowserTest::recentlyPlayedIsGreyedByWhatIsListed_data()
{
    // "Zanku.played" beside the games Alpha, Beta and Gamma of "Arcade": shorter than the
    // list, or longer (the look-up then goes the other way).
    QTest::addColumn<QByteArray>("played");
    QTest::addColumn<bool>("enabled");
    const auto line = [](const char *emulator, const char *name, bool launched = true) {
        return QByteArray(launched ? "1 60 2026-01-01T00:00:00+01:00 0 " : "0 0 - 1 ") + emulator +
               '\t' + name + '\t' + QByteArray(name).toLower().left(1) + ".bin\n";
    };
    QByteArray others;
    for (const char *name : {"Delta", "Epsilon", "Zeta", "Eta"})
        others += line("Arcade", name);
    row("nothing played", QByteArray(), false);
    row("a listed game played", line("Arcade", "Beta"), true);
    row("a game no longer listed", line("Arcade", "Delta"), false);
    row("the same game under another emulator", line("Console", "Beta"), false);
    row("a listed game starred, never launched", line("Arcade", "Beta", false), false);
    row("a long history, one listed", others + line("Arcade", "Gamma"), true);
    row("a long history, none listed", others + line("Arcade", "Gamma", false), false);
}

// File > "Recently Played" is greyed, as the File menu opens, while no game it would list
// is listed; a launch makes it usable at the next opening.
void BrowserTest::recentlyPlayedIsGreyedByWhatIsListed()
{
    QFETCH(QByteArray, played);
    QFETCH(bool, enabled);
    Fixture library;
    library.add("Arcade", "emu", "%", {"Alpha=a.bin", "Beta=b.bin", "Gamma=g.bin"});
    library.write("Zanku.played", played);
    library.core.start();
    QMenu file;
    RecentMenu recent(library.core, &file);
    emit file.aboutToShow();
    QCOMPARE(recent.menuAction()->isEnabled(), enabled);
    library.core.gameData().launched(library.core.keyOf(1));
    emit file.aboutToShow();
    QVERIFY(recent.menuAction()->isEnabled());
}

// Launch With starts the game's own file with another emulator; Always Launch With makes
// that what Enter does; a new collection narrows the list; a narrowing that hid the chosen
// game gives it back when it ends.
void BrowserTest::theGameMenuChoosesEmulatorsAndCollections()
{
    Fixture library;
    library.add("Arcade", "emu", "%", {"Alpha=a.bin", "Beta=b.bin"});
    library.add("Console", "emu2", "-c %", {});
    Window window(library);
    const auto item = [&](const char *menu, const QString &text) -> QAction * {
        auto *found = window.main.findChild<QMenu *>(menu);
        emit found->aboutToShow();
        for (QAction *action : found->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    };
    window.select(0);
    emit window.main.findChild<QMenu *>("GameM")->aboutToShow();
    item("LaunchWithM", "Console")->trigger();
    QCOMPARE(library.launched("emu2")["args"], "-c|" + library.path("emu/a.bin"));
    item("AlwaysLaunchWithM", "Console")->trigger();
    window.enter();
    QCOMPARE(library.launched("emu2")["cwd"], library.path("emu2"));
    QVERIFY(window.lista()
                ->model()
                ->index(0, 0)
                .data(Qt::ToolTipRole)
                .toString()
                .endsWith("Launches with Console"));

    SetTextAsker([](const QString &, const QString &, const QString &) {
        return std::optional<QString>("Couch & Co");
    });
    item("AddToCollectionM", "&New Collection...")->trigger();
    SetTextAsker({});
    item("ShowM", "Couch && Co")->trigger();
    QCOMPARE(window.lista()->model()->rowCount(), 1);
    QCOMPARE(window.main.findChild<QLabel *>("StatusPanel2")->text(), "Games  ( 1 of 2 Roms )");
    item("ShowM", "&All Games")->trigger();
    window.select(1); // Beta, no favourite
    window.press("FavouritesOnlyM");
    QCOMPARE(window.lista()->model()->rowCount(), 0);
    window.press("FavouritesOnlyM");
    QCOMPARE(window.lista()->selectionModel()->selectedRows(),
             QModelIndexList{window.lista()->model()->index(1, 0)});
}

// A held key runs through the list without a picture on the way; the row it rests on is
// shown and is what Enter starts.
void BrowserTest::aHeldKeyShowsTheRowItRestsOn()
{
    Fixture library;
    QStringList games;
    for (int i = 0; i < 1000; ++i)
        games << QStringLiteral("G%1=g%1.bin").arg(i, 4, 10, QChar('0'));
    library.add("Arcade", "emu", "%", games);
    Window window(library);
    QTest::mouseMove(window.find("Exit")); // the pointer away from the list
    window.select(0);
    QSignalSpy shown(window.main.findChild<GameListView *>(), &GameListView::currentGameChanged);
    for (int i = 0; i < 999; ++i)
        QTest::keyClick(window.lista(), Qt::Key_Down);
    QVERIFY2(shown.size() <= 3, qPrintable(QString::number(shown.size())));
    window.enter(); // at once, the keys still running: the picture catches up first
    QCOMPARE(library.launched()["args"], "g0999.bin");
    QCOMPARE(shown.constLast().at(0).value<zanku::GameKey>().name, "G0999");
    QTest::qWait(100); // the launch counted, the list keeps the row it rests on
    QCOMPARE(window.lista()->currentIndex().row(), 999);
    QVERIFY(window.launchEnabled());
}

void BrowserTest::everyDemoGameGetsAnExistingPath()
{
    Fixture library;
    QVERIFY(QProcess::execute("bash", {ZANKU_SOURCE_DIR "/scripts/make-demo", library.path("demo"),
                                       library.standIn("player")}) == 0);
    zanku::Library demo(library.path("demo"));
    demo.start();
    QCOMPARE(demo.GameCount(), 12);
    for (int slot = 1; slot <= demo.GameCount(); ++slot) {
        const GameRecord &game = demo.game(slot);
        demo.LaunchGame(demo.keyOf(slot));
        const QString emulatorDir =
            QDir(library.path("demo")).filePath(demo.emulator(game.EmulatorIndex).Path);
        QVERIFY2(library.launched(emulatorDir)["paths"] == "1", qPrintable(game.Name));
    }
}

// The covers show the list's rows, with its chosen game, its find field and its Enter.
void BrowserTest::theCoverViewIsTheListInTiles()
{
    Fixture library;
    library.add("E", "emu", "%", {"A=a", "B=b", "C=c", "D=d", "F=f"});
    QImage boxArt(300, 420, QImage::Format_RGB32);
    boxArt.fill(Qt::red);
    QVERIFY(boxArt.save(library.mkdir("emu/snaps/Named_Boxarts") + "/A.png"));
    Window window(library);
    window.click(1);
    window.press("CoverViewM");
    auto *covers = window.main.findChild<QListView *>("Covers");
    QVERIFY(covers->isVisible() && !window.lista()->isVisible());
    QCOMPARE(covers->currentIndex().row(), 1); // the game chosen in the list
    // A's tile shows its box art once read.
    const QRect tileA = covers->visualRect(covers->model()->index(0, 0));
    QTRY_VERIFY(covers->viewport()->grab(tileA).toImage().pixelColor(
                    tileA.width() / 2, tileA.height() / 2) == Qt::red);
    // Two tiles a row at the smallest size: Right, then Down a row.
    QCOMPARE(covers->visualRect(covers->model()->index(1, 0)).top(), tileA.top());
    QVERIFY(covers->visualRect(covers->model()->index(2, 0)).top() > tileA.top());
    covers->setFocus();
    QTest::keyClick(covers, Qt::Key_Right);
    QTest::keyClick(covers, Qt::Key_Down);
    QTRY_COMPARE(window.main.shown()->slotAt(covers->currentIndex().row()), 5);
    QTest::keyClick(covers, Qt::Key_Return);
    QCOMPARE(library.launched()["game"], "F");
    // Typing finds, as on the list; the game found stays chosen in the list.
    QTest::keyClicks(covers, "d");
    QTRY_COMPARE(covers->model()->rowCount(), 1);
    QTest::keyClick(window.main.findChild<QLineEdit *>("Find"), Qt::Key_Escape);
    window.press("ListViewM");
    QVERIFY(window.lista()->isVisible() && window.launchEnabled());
    QCOMPARE(window.main.shown()->slotAt(window.lista()->currentIndex().row()), 4);
}

void BrowserTest::theWindowOpensAsItWasLeft_data()
{
    QTest::addColumn<QString>("left"); // how: "full screen", or a pipe in this file's place
    QTest::newRow("resized") << "";
    QTest::newRow("closed in full screen") << "full screen";
    QTest::newRow("a pipe for the memory") << "Zanku.conf";
    QTest::newRow("a pipe for its lock") << "Zanku.conf.lock";
}

// Size, place and view come back at the next start, for this user only; a pipe in the
// memory's place holds neither the start nor the quit.
void BrowserTest::theWindowOpensAsItWasLeft()
{
    QFETCH(QString, left);
    Fixture library;
    library.add("E", "emu", "%", {"A=a"});
    const QString conf = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Zanku/Zanku.conf";
    QDir().mkpath(QFileInfo(conf).path());
    std::optional<StuckPipe> pipe;
    if (left.startsWith("Zanku"))
        pipe.emplace(QFileInfo(conf).path() + '/' + left);
    QSize size, design;
    for (int run = 0; run < 2; ++run) {
        MainFrm window(library.core);
        window.Form_Load();
        window.showAsRemembered();
        if (run == 1) {
            QTRY_COMPARE(window.size(), left == "Zanku.conf" ? design : size);
            QCOMPARE(window.isFullScreen(), false);
            QCOMPARE(window.findChild<QAction *>("CoverViewM")->isChecked(), left != "Zanku.conf");
            window.findChild<QAction *>("ListViewM")->trigger();
        } else {
            design = window.size();
            window.findChild<QAction *>("CoverViewM")->trigger();
            window.resize(window.size() + QSize(90, 40));
            size = window.size();
            if (left == "full screen")
                window.findChild<QAction *>("FullScreenM")->trigger();
            QTRY_COMPARE(window.isFullScreen(), left == "full screen");
        }
        window.close();
    }
    QVERIFY(!pipe || !pipe->released());
    QCOMPARE(zanku::ReadSettingsFile(conf, 1 << 16).value("MainWindow/View").toString(),
             left == "Zanku.conf" ? "" : "List");
}

// The details read once the window shows, under the picture of the game chosen in the list
// or the covers; a fault of their file told in the status bar; View > Columns remembered.
void BrowserTest::theDetailsFollowTheHighlight()
{
    Fixture library;
    library.add("E", "emu", "%", {"A=a.bin===Puzzle", "B=b.bin===Maze"});
    library.write("emu/gamelist.xml",
                  "<gameList><game><path>a.bin</path><name>Alpha Deluxe</name>"
                  "<developer>Acme</developer><genre>Logic</genre><desc>All "
                  "about A</desc><releasedate>1990</releasedate></game>\n<game>");
    Window window(library);
    auto *details = window.main.findChild<QTextBrowser *>("Details");
    QTRY_VERIFY(!window.lista()->isColumnHidden(GameListModel::GenreColumn));
    QVERIFY2(window.main.statusText().contains("line 2 of " + library.path("emu/gamelist.xml")),
             qPrintable(window.main.statusText()));
    const auto shows = [&](const QStringList &texts) {
        return std::all_of(texts.begin(), texts.end(), [&](const QString &text) {
            return details->toPlainText().contains(text);
        });
    };
    window.click(0);
    QVERIFY(shows({"Alpha Deluxe", "Year: 1990", "Developer: Acme", "All about A"}));
    QTest::keyClick(window.lista(), Qt::Key_Down); // no details, no picture: what and where
    QTRY_VERIFY(
        shows({"Type: Maze", "File: b.bin", library.path("emu/snaps/b") + " (", "Named_Boxarts"}));
    window.press("CoverViewM");
    QTest::keyClick(window.main.findChild<QListView *>("Covers"), Qt::Key_Left);
    QTRY_VERIFY(shows({"Alpha Deluxe"}) && !shows({"File: b.bin"}));
    window.press("YearColumnM");
    QVERIFY(window.lista()->isColumnHidden(GameListModel::YearColumn));
    const QString conf = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Zanku/Zanku.conf";
    QCOMPARE(zanku::ReadSettingsFile(conf, 1 << 16).value("MainWindow/HiddenColumns"), "Year");
}

QTEST_MAIN(BrowserTest)
#include "test_browser.moc"
