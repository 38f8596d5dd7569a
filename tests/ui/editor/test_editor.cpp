// The configuration editor, its record editor and the chooser: the rules they apply, and
// the windows driven as a player drives them, the editor being the active window.

#include "core/gamedata/GameData.h"
#include "ui/editor/DirFrm.h"
#include "ui/editor/EditorFixture.h"
#include "ui/editor/OptionsFrm.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QWheelEvent>

#include <algorithm>

namespace {
using Rows = std::vector<QStringList>;

// "ROM" edits the game lists, anything else the emulators.
EditorMode EditorModeFor(const QString &editMode)
{
    return editMode == QLatin1String("ROM") ? EditorMode::Roms : EditorMode::Emulators;
}

// Picks entry `index` of the emulator chooser's open list: a click on it, or Enter on it.
void pick(OptionsFrm *editor, int index, bool byKeys = false);

// A program directory with the editor the menu opens on it, as the active window.
class EditorLibrary : public TestLibrary {
public:
    ~EditorLibrary()
    {
        if (editor != nullptr) {
            if (OptionsNewFrm *record = editor->recordEditor())
                record->close();
            editor->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // "ROM" edits the game lists, showing Arcade's unless asked not to; "EMU" the emulators.
    OptionsFrm *open(const QString &editMode, bool showArcade = true)
    {
        const EditorMode mode = EditorModeFor(editMode);
        if (editor != nullptr)
            editor->showAgain(mode);
        else
            (editor = new OptionsFrm(core, mode, nullptr))->show();
        QApplication::setActiveWindow(editor);
        if (!QTest::qWaitForWindowActive(editor))
            qFatal("the editor is not active");
        if (editMode == "ROM" && showArcade)
            pick(editor, 1);
        return editor;
    }
    QPointer<OptionsFrm> editor;
};

QByteArray configRecord(const QString &name, const QString &program, const QString &path,
                        const QString &zips = {}, const QString &snaps = {},
                        const QString &options = {})
{
    return QStringList({"[" + name + "]", program, path, zips, snaps, options, ";", ""})
        .join("\r\n")
        .toLocal8Bit();
}

// Three emulators out of name order; Arcade lists four games (one has "=" in its type,
// only pac.bin is on disk); Console has no list.
void writeLibrary(EditorLibrary &library)
{
    library.write("arcade/pac.bin");
    library.write("Zanku.ini", configRecord("Zeta", "z.exe", "zeta", "zz", "zs") +
                                   configRecord("Arcade", "arc.exe", library.path("arcade"), "zips",
                                                "snaps", "-f %") +
                                   configRecord("Console", "c.exe", "C:\\console"));
    library.write("Arcade.rom", "Pac=pac.bin=d=-p=Maze\r\nGalaxy=galaxy.bin===Shoot'em Up\r\n"
                                "apple=a.bin====\r\nBoxer=box.bin=x=y=Type=With=Equals\r\n");
}
const Rows ArcadeRows = {{"Boxer", "box.bin", "x", "y", "Type=With=Equals"},
                         {"Galaxy", "galaxy.bin", "", "", "Shoot'em Up"},
                         {"Pac", "pac.bin", "d", "-p", "Maze"},
                         {"apple", "a.bin", "", "", "="}};

void clickAt(QWidget *area, QPoint at, bool twice = false)
{
    QTest::mouseClick(area, Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(area, Qt::LeftButton, {}, at);
}

void pick(OptionsFrm *editor, int index, bool byKeys)
{
    auto *combo = editor->findChild<QComboBox *>("Emulator");
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    list->setCurrentIndex(combo->model()->index(index, 0));
    if (byKeys)
        QTest::keyClick(list, Qt::Key_Return);
    else
        clickAt(list->viewport(), list->visualRect(list->currentIndex()).center());
}

Rows gridRows(OptionsFrm *editor)
{
    Rows rows;
    for (int row = 0; row < editor->rowCount(); ++row)
        rows.push_back(editor->rowCells(row));
    return rows;
}

// Clicks a row, or double-clicks it. Row -1 is the title row, rowCount() below the last.
void clickRow(OptionsFrm *editor, int row, bool twice = false)
{
    auto *grid = part<QTableWidget>(editor, "Grid");
    QPoint at(5, grid->rowViewportPosition(row - 1) + grid->rowHeight(row - 1) + 5);
    if (row >= 0 && row < grid->rowCount())
        at = grid->visualRect(grid->model()->index(row, 0)).center();
    clickAt(row < 0 ? grid->horizontalHeader()->viewport() : grid->viewport(), at, twice);
}

// Clicks (or double-clicks) the entry of a chooser list whose text or path is this.
void clickEntry(QListWidget *list, const QString &entry, bool twice = false)
{
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        if (item->data(Qt::UserRole).toString() == entry || item->text() == entry)
            clickAt(list->viewport(), list->visualItemRect(item).center(), twice);
    }
}

// Types into a field, which takes the focus as a click into it would give it.
void type(QWidget *window, const QString &field, const QString &text)
{
    auto *combo = window->findChild<QComboBox *>(field);
    QLineEdit *line = combo != nullptr ? combo->lineEdit() : part<QLineEdit>(window, field);
    line->setFocus();
    line->clear();
    QTest::keyClicks(line, text);
}

// The last box shown was an "Error" saying this.
void checkError(const ScriptedMessages &messages, int count, const QString &saying)
{
    QCOMPARE(messages.shown.size(), count);
    QCOMPARE(messages.shown.back().title, QString("Error"));
    QVERIFY2(messages.shown.back().text.contains(saying), qPrintable(messages.shown.back().text));
}
} // namespace

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void recordChecks_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("refusal");      // empty: taken; else parts of the message
        const QString games = "ROM", emus = "rom"; // "ROM" alone, exactly, edits the games
        // clang-format off
        QTest::newRow("game no name") << games << QStringList{"", "f", "", "", ""} << MissingNameOrFileText;
        QTest::newRow("game options =") << games << QStringList{"a", "f", "", "=", ""} << "Game Options|\"=\"";
        QTest::newRow("game blanks, no such path, ; and = in the type") << games << QStringList{" ", " ", "Q:\\no", ";x", "A=B"} << "";
        QTest::newRow("game type line break") << games << QStringList{"a", "f", "", "", "A\nB"} << "Game Type|line break";
        QTest::newRow("emulator") << emus << QStringList{"A=B [x]", " ", "", "", "", "-x;y=z"} << "";
        QTest::newRow("options ;") << emus << QStringList{"M", "m", "", "", "", ";-x"} << "Options|\";\"|past version";
        for (const char *bad : {"/", ":", "|"})
            QTest::addRow("emulator name %s", bad) << emus << QStringList{QString("A%1B").arg(bad), "m"} << QString("Emulator Name|\"%1\"").arg(bad);
        QTest::newRow("name tab") << emus << QStringList{"A\tB", "m"} << "Emulator Name|control";
        QTest::newRow("name '. .'") << emus << QStringList{". .", "m"} << "Emulator Name|dots and blanks";
        QTest::newRow("name device") << emus << QStringList{"nul.x", "m"} << "Emulator Name|device";
        QTest::newRow("name like a device") << emus << QStringList{"Console", "m"} << "";
        // clang-format on
    }
    void recordChecks()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, row);
        QFETCH(QString, refusal);
        const QString problem = RecordProblem(EditorModeFor(mode), row);
        QCOMPARE(problem.isEmpty(), refusal.isEmpty());
        for (const QString &part : refusal.split('|', Qt::SkipEmptyParts))
            QVERIFY2(problem.contains(part), qPrintable(problem));
    }

    // A pick with the mouse, Enter, the arrow keys or a typed name loads that list; one
    // that would drop edits asks first. The wheel picks nothing.
    void everyPickLoadsAndNoEditIsDroppedUnasked()
    {
        EditorLibrary library;
        ScriptedMessages messages;
        writeLibrary(library);
        OptionsFrm *editor = library.open("ROM", false);
        QVERIFY(!part(editor, "Aggiungi")->isEnabled() && !part(editor, "Rimuovi")->isEnabled());
        auto *combo = part<QComboBox>(editor, "Emulator");
        QCOMPARE(combo->currentText(), QString("Choose an Emulator"));
        click(editor, "Salva");
        checkError(messages, 1, "Choose an emulator");

        pick(editor, 1, true);                  // Enter on the highlighted entry
        QCOMPARE(gridRows(editor), ArcadeRows); // every line, sorted, "=" kept in the type
        QCOMPARE(part<QLabel>(editor, "TRom")->text(), QString("Total Rom Listed :  4"));
        QVERIFY(part(editor, "Aggiungi")->isEnabled() && part(editor, "Rimuovi")->isEnabled());
        QWheelEvent wheel({5, 5}, combo->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        QCOMPARE(combo->currentText(), QString("Arcade"));
        QTest::keyClick(combo, Qt::Key_Down); // Console: no list yet
        QCOMPARE(part<QLabel>(editor, "TRom")->text(), QString("Total Rom Listed :  0"));
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(gridRows(editor), ArcadeRows);

        click(editor, "Rimuovi"); // an edit: the next pick asks, and No keeps it
        messages.answers << MessageAnswer::No;
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(combo->currentText() == "Arcade" && editor->rowCount() == 3);
        type(editor, "Emulator", "Nobody"); // no such emulator: the Save says so
        click(editor, "Salva");
        checkError(messages, 3, "not an emulator of the configuration");
        messages.answers << MessageAnswer::Yes;
        type(editor, "Emulator", "Console"); // leaving the field picks it
        click(editor, "Salva");              // Console has no list: Save creates it
        QVERIFY(QFile::exists(library.path("Console.rom")) && messages.shown.size() == 4);
        QCOMPARE(library.read("Arcade.rom").count('\n'), 4);
    }

    void addNewThenCloseOrOk_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("end");
        QTest::newRow("game, close box") << QString("ROM") << "close box";
        QTest::newRow("emulator, Ok") << QString("EMU") << "Ok";
        QTest::newRow("game, Ok") << QString("ROM") << "Ok";
    }
    void addNewThenCloseOrOk()
    {
        QFETCH(QString, mode);
        QFETCH(QString, end);
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = library.open(mode);
        Rows expected = gridRows(editor);
        click(editor, "Rimuovi"); // the grid starts on its first row
        expected.erase(expected.begin());
        QCOMPARE(gridRows(editor), expected);
        clickRow(editor, 1);
        // A double-click on the title row or below the last row, Enter, F2: the current row.
        for (int row : {-1, editor->rowCount(), int(Qt::Key_Return), int(Qt::Key_F2)}) {
            if (row > Qt::Key_Escape)
                QTest::keyClick(part(editor, "Grid"), Qt::Key(row));
            else
                clickRow(editor, row, true);
            QVERIFY(editor->recordEditor() != nullptr);
            QCOMPARE(part<QLineEdit>(editor->recordEditor(), "T0")->text(), expected[1][0]);
            click(editor->recordEditor(), "Cancel"); // nothing is removed
        }

        click(editor, "Aggiungi");
        OptionsNewFrm *record = editor->recordEditor();
        QVERIFY(record->isVisible() && !editor->isEnabled() && record->isEnabled());
        QCOMPARE(part(record, "DirT1")->isVisible(), mode == "EMU");
        ScriptedMessages messages;
        click(record, "Ok"); // refused: the record needs a name and a file
        checkError(messages, 1, "At Least Game and File MUST be added");
        for (const char *field : {"T0", "T1", "T2", "T3", mode == "ROM" ? "T5" : "T4",
                                  mode == "ROM" ? "T0" : "emupath"})
            type(record, field, field); // a type that is not in the list
        if (end == "Ok") {
            click(record, "Ok");
            expected.push_back(mode == "ROM"
                                   ? QStringList{"T0", "T1", "T2", "T3", "T5"}
                                   : QStringList{"T0", "T1", "emupath", "T2", "T3", "T4"});
            std::sort(expected.begin(), expected.end());
        } else {
            record->close();
        }
        QVERIFY(editor->recordEditor() == nullptr && editor->isEnabled());
        QCOMPARE(gridRows(editor), expected); // the new row at its sorted place
        const int current = part<QTableWidget>(editor, "Grid")->currentRow();
        if (end == "Ok") // and current there
            QCOMPARE(editor->rowCells(current).value(0), "T0");
    }

    // A bare program name found in the old Games Directory stays found when the Games
    // Directory changes, however the record is confirmed.
    void programFollowsTheGamesDirectory_data()
    {
        QTest::addColumn<bool>("keys"); // Alt+O, else OK clicked
        QTest::newRow("OK clicked") << false;
        QTest::newRow("Alt+O") << true;
    }
    void programFollowsTheGamesDirectory()
    {
        QFETCH(bool, keys);
        EditorLibrary library;
        QFile::setPermissions(library.write("emu/run.exe"), QFile::ReadOwner | QFile::ExeOwner);
        library.mkdir("other");
        OptionsFrm *editor = library.open("EMU");
        click(editor, "Aggiungi");
        OptionsNewFrm *record = editor->recordEditor();
        QApplication::setActiveWindow(record);
        for (const char *field : {"T0", "emupath", "T1", "emupath"})
            type(record, field, field == QString("T1") ? "run.exe" : "emu");
        QTest::keyClicks(part<QLineEdit>(record, "emupath"), "/../other");
        keys ? QTest::keyClick(record->focusWidget(), Qt::Key_O, Qt::AltModifier)
             : click(record, "Ok");
        QTRY_VERIFY(editor->recordEditor() == nullptr); // Alt+O clicks in a moment
        QCOMPARE(editor->rowCells(0).mid(1, 2),
                 QStringList({library.path("emu/run.exe"), "emu/../other"}));
    }

    void saveWritesOnlyWhatWasReadAndClosingReloadsIt_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("before"); // what happened before Save and the close
        QTest::newRow("emulators saved") << QString("EMU") << "edit";
        QTest::newRow("games saved") << QString("ROM") << "";
        QTest::newRow("games, a directory in the way") << QString("ROM") << "directory later";
        QTest::newRow("Zanku.ini a directory") << QString("EMU") << "directory";
        QTest::newRow("ROM list a directory") << QString("ROM") << "directory";
        QTest::newRow("ROM list not readable") << QString("ROM") << "not readable";
        QTest::newRow("record open, dropped for the other mode") << QString("EMU") << "record";
    }
    void saveWritesOnlyWhatWasReadAndClosingReloadsIt()
    {
        QFETCH(QString, mode);
        QFETCH(QString, before);
        EditorLibrary library;
        ScriptedMessages messages; // an unreadable file is reported when it is loaded
        writeLibrary(library);
        const QString name = mode == "EMU" ? "Zanku.ini" : "Arcade.rom";
        const QString file = library.path(name);
        const QByteArray content = library.read(name);
        if (before == "directory")
            QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        else if (before == "not readable" && QFile::setPermissions(file, QFile::WriteOwner) &&
                 QFile(file).open(QFile::ReadOnly))
            QSKIP("this user reads files without read permission");
        OptionsFrm *editor = library.open(mode);
        QSignalSpy reloaded(&library.core, &zanku::Library::catalogueChanged);
        if (before == "record") {
            click(editor, "Aggiungi");
            editor->close(); // waits for its record editor
            QCOMPARE(library.editor, editor);
            messages.answers.enqueue(MessageAnswer::Yes); // drop it and edit the ROM lists
        } else if (before == "directory later") {
            QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        } else if (before == "edit") {
            QVERIFY(!part(editor, "Emulator")->isVisible() && !part(editor, "TRom")->isVisible());
            clickRow(editor, 0, true);
            QCOMPARE(part<QLineEdit>(editor->recordEditor(), "emupath")->text(),
                     library.path("arcade"));
            type(editor->recordEditor(), "T1", "arc2.exe"); // typed: the directory stays
            click(editor->recordEditor(), "Ok");
        }
        const bool saved = before.isEmpty() || before == "edit";
        const int shown = int(messages.shown.size());
        if (before != "record")
            click(editor, "Salva");
        if (!saved && before != "record") // the player is told; nothing was written
            checkError(messages, shown + 1,
                       QDir::toNativeSeparators(file) +
                           (before == "directory later" ? "" : " could not be read"));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(library.read(name),
                 !saved ? (before.startsWith("directory") ? QByteArray() : content)
                 : mode == "ROM"
                     ? "Boxer=box.bin=x=y=Type=With=Equals\r\nGalaxy=galaxy.bin===Shoot'em Up\r\n"
                       "Pac=pac.bin=d=-p=Maze\r\napple=a.bin====\r\n"
                     : configRecord("Arcade", "arc2.exe", library.path("arcade"), "zips", "snaps",
                                    "-f %") +
                           configRecord("Console", "c.exe", "C:\\console") +
                           configRecord("Zeta", "z.exe", "zeta", "zz", "zs"));
        QCOMPARE(library.open("ROM", false), editor); // reloads when nothing would be lost
        if (before == "record")
            QCOMPARE(messages.shown.size(), 1); // asked first
        QVERIFY(editor->mode() == EditorMode::Roms && editor->recordEditor() == nullptr);
        // What is shown is the games mode too: the emulator chooser and the five columns.
        QVERIFY(part(editor, "Emulator")->isVisible() &&
                part<QTableWidget>(editor, "Grid")->columnCount() == 5);
        QVERIFY(editor->isEnabled());
        click(editor, "cancella");
        QCOMPARE(reloaded.size(), saved ? 1 : 0);
        if (saved) // saved emulators are in name order: Arcade moved to slot 1
            QVERIFY(library.core.GameCount() == 1 &&
                    library.core.game(1).EmulatorIndex == (mode == "EMU" ? 1 : 2));
    }

    void backAsksAndARenameTakesTheEmulatorsFiles_data()
    {
        QTest::addColumn<MessageAnswer>("answer"); // to Back's question about the edits
        QTest::addColumn<bool>("savesThere");      // kept saves of the new name: set aside
        QTest::newRow("Cancel keeps the editor") << MessageAnswer::Cancel << false;
        QTest::newRow("No drops the edits") << MessageAnswer::No << false;
        QTest::newRow("Yes saves them") << MessageAnswer::Yes << false;
        QTest::newRow("Yes, saves of the new name there") << MessageAnswer::Yes << true;
    }
    // Arcade renamed in the record editor, then Back: the player is asked. Saved, the
    // renamed emulator keeps its list and kept saves, and every emulator has a list, so
    // the reload that follows reports none missing.
    void backAsksAndARenameTakesTheEmulatorsFiles()
    {
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, savesThere);
        EditorLibrary library;
        ScriptedMessages messages;
        writeLibrary(library);
        library.write("Saves/Arcade/pac.bin/pac.srm", "kept");
        if (savesThere)
            library.write("Saves/Arcade 2/pac.bin/pac.srm", "stale");
        library.write("Zanku.played", "2 60 - 1 Arcade\tPac\tpac.bin\r\n");
        library.core.start();
        const QByteArray config = library.read("Zanku.ini");
        OptionsFrm *editor = library.open("EMU");
        clickRow(editor, 0, true); // Arcade, the first in name order
        type(editor->recordEditor(), "T0", "Arcade 2");
        click(editor->recordEditor(), "Ok");
        messages.answers << answer << MessageAnswer::No;
        click(editor, "cancella");
        QCOMPARE(messages.shown.size(), savesThere ? 2 : 1);
        QCOMPARE(messages.shown[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(library.editor != nullptr && library.editor->isVisible(),
                 answer == MessageAnswer::Cancel);
        const bool saved = answer == MessageAnswer::Yes;
        QCOMPARE(library.read("Zanku.ini") != config, saved);
        QCOMPARE(library.read("Arcade 2.rom").startsWith("Pac=pac.bin"), saved);
        QCOMPARE(QFile::exists(library.path("Arcade.rom")), !saved);
        QCOMPARE(library.read("Saves/Arcade 2/pac.bin/pac.srm"), saved        ? "kept"
                                                                 : savesThere ? "stale"
                                                                              : "");
        QCOMPARE(library.read("Saves/Arcade 2 (old)/pac.bin/pac.srm"), savesThere ? "stale" : "");
        library.core.gameData().flush(); // the history is saved on a worker
        QCOMPARE(library.read("Zanku.played").contains("Arcade 2\tPac\tpac.bin"), saved);
        QCOMPARE(QFile::exists(library.path("Console.rom")) &&
                     QFile::exists(library.path("Zeta.rom")),
                 saved);
        if (saved) {
            QVERIFY2(!library.notices.join('\n').contains(".rom Not Found"),
                     qPrintable(library.notices.join('\n')));
            QCOMPARE(library.core.GameCount(), 1); // Pac, under its new emulator
        }
    }

    void theChooserFillsTheFieldOfItsLatestButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("ending");
        QTest::newRow("program") << QString("DirT1") << "OK";
        QTest::newRow("zipped roms") << QString("DirT2") << "OK";
        QTest::newRow("snapshots") << QString("DirT3") << "OK";
        QTest::newRow("games directory") << QString("DirEmupath") << "OK";
        QTest::newRow("Cancel") << QString("DirT2") << "Cancel";
        QTest::newRow("close box") << QString("DirT3") << "close box";
        QTest::newRow("program, Browse") << QString("DirT1") << "Browse";
        QTest::newRow("snapshots, Browse") << QString("DirT3") << "Browse";
        QTest::newRow("a program on the search path") << QString("DirT1") << "OK, on PATH";
    }
    void theChooserFillsTheFieldOfItsLatestButton()
    {
        QFETCH(QString, button);
        QFETCH(QString, ending);
        EditorLibrary library;
        library.write("emu/readme.txt");
        QFile::setPermissions(library.write("emu/run.exe"), QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH"); // its folder then holds no games
        const auto restore = qScopeGuard([&path] { qputenv("PATH", path); });
        if (ending == "OK, on PATH")
            qputenv("PATH", QFile::encodeName(library.path("emu")) + ':' + path);
        OptionsFrm *editor = library.open("EMU");
        click(editor, "Aggiungi");
        OptionsNewFrm *record = editor->recordEditor();
        for (const char *field : {"T0", "T1", "T2", "T3"})
            type(record, field, field);
        click(record, "DirT1");
        DirFrm *chooser = record->chooser();
        QCOMPARE(chooser->currentDirectory(), library.path()); // no emulator directory yet
        QTest::keyClicks(chooser->Dir1, "em"); // highlighted by its name, then Enter opens it
        QCOMPARE(chooser->Dir1->currentItem()->data(Qt::UserRole).toString(), library.path("emu"));
        QTest::keyClick(chooser->Dir1, Qt::Key_Return);
        click(record, button); // the open chooser stays where it is, for the latest field
        QCOMPARE(record->chooser(), chooser);
        QCOMPARE(chooser->File1->count(), button == "DirT1" ? 1 : 2); // a directory's: all
        clickEntry(chooser->File1, "run.exe");
        QVERIFY(chooser->FileC->isReadOnly());
        if (ending == "close box") {
            chooser->close();
        } else if (ending == "Browse") { // the dialog's choice, as OK takes the lists'
            chooser->browseOptions = QFileDialog::DontUseNativeDialog;
            click(chooser, "Browse");
            auto *dialog = chooser->findChild<QFileDialog *>();
            QVERIFY(dialog != nullptr);
            dialog->selectFile(library.path(button == "DirT1" ? "emu/run.exe" : "emu"));
            static_cast<QDialog *>(dialog)->accept(); // as its Open button does
        } else {
            click(chooser, ending.section(u',', 0, 0));
        }
        const bool chose = ending != "Cancel" && ending != "close box";
        auto *emupath = part<QLineEdit>(record, "emupath");
        QCOMPARE(record->focusWidget() == emupath, ending == "OK, on PATH");
        QCOMPARE(emupath->placeholderText().isEmpty(), ending != "OK, on PATH");
        click(record, "DirT3"); // a new chooser starts at the emulator's directory
        QCOMPARE(
            record->chooser()->currentDirectory(),
            library.path(button != "DirT2" && button != "DirT3" && chose && ending != "OK, on PATH"
                             ? "emu"
                             : ""));
        click(record, "Ok");
        // As typed, what OK chose, and the "%" a new emulator's options start with.
        QStringList row = {"T0", "T1", "", "T2", "T3", "%"};
        if (chose && ending != "OK, on PATH")
            row[button == "DirT1" || button == "DirEmupath" ? 2 : button.right(1).toInt() + 1] =
                QDir::toNativeSeparators(library.path("emu"));
        if (chose && button == "DirT1")
            row[1] = "run.exe";
        QCOMPARE(editor->rowCells(0), row);
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
