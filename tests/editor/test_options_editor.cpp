// The configuration editor and its record editor, driven as a player drives them.

#include "EditorFixture.h"

#include "app/Twips.h"
#include "catalogue/Config.h"
#include "catalogue/RomList.h"

#include <QHeaderView>
#include <QLabel>

#include <algorithm>

namespace {
// Three emulators out of name order; Arcade lists three games (only pac.bin is on disk,
// one game has "=" in its type); Console has no list.
void writeLibrary(EditorLibrary &library)
{
    library.write("arcade/pac.bin");
    library.write("Zanku.ini", configRecord("Zeta", "z.exe", "zeta", "zz", "zs") +
                                   configRecord("Arcade", "arc.exe", library.path("arcade"), "zips",
                                                "snaps", "-f %") +
                                   configRecord("Console", "c.exe", "C:\\console"));
    library.write("Arcade.rom", "Pac=pac.bin=d=-p=Maze\r\nGalaxy=galaxy.bin===Shoot'em Up\r\n"
                                "Boxer=box.bin=x=y=Type=With=Equals\r\n");
}

const QByteArray ArcadeSorted = "Boxer=box.bin=x=y=Type=With=Equals\r\n"
                                "Galaxy=galaxy.bin===Shoot'em Up\r\nPac=pac.bin=d=-p=Maze\r\n";
const Rows ArcadeRows = {{"Boxer", "box.bin", "x", "y", "Type=With=Equals"},
                         {"Galaxy", "galaxy.bin", "", "", "Shoot'em Up"},
                         {"Pac", "pac.bin", "d", "-p", "Maze"}};

OptionsFrm *openWithList(EditorLibrary &library, const QString &mode)
{
    writeLibrary(library);
    OptionsFrm *editor = openEditor(mode);
    if (mode == "ROM" && !pickEmulator(editor, "Arcade"))
        qFatal("cannot pick Arcade");
    return editor;
}

QStringList titles(OptionsFrm *editor)
{
    auto *grid = part<QTableWidget>(editor, "Grid");
    QStringList result;
    for (int column = 0; column < grid->columnCount(); ++column)
        result << grid->horizontalHeaderItem(column)->text() + "/" +
                      QString::number(grid->columnWidth(column));
    return result;
}

QString w(int twips)
{
    return QString::number(Twips(twips));
}
} // namespace

class TestOptionsEditor : public QObject {
    Q_OBJECT

private slots:
    void romModeBeforeAndAfterAPick()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QCOMPARE(editor->windowTitle(), QString("Edit Configuration"));
        QCOMPARE(editor->size(), QSize(Twips(9615), Twips(6225)));
        QCOMPARE(titles(editor), QStringList({"Game Name/" + w(3750), "File or Dir Name/" + w(1875),
                                              "Destination Dir/" + w(1875),
                                              "Game Options/" + w(4688), "Game Type/" + w(1875)}));
        QCOMPARE(editor->rowCount(), 0);
        QVERIFY(!part(editor, "Aggiungi")->isEnabled() && !part(editor, "Rimuovi")->isEnabled());
        QVERIFY(part(editor, "Salva")->isEnabled());
        auto *combo = part<QComboBox>(editor, "Emulator");
        QCOMPARE(combo->currentText(), QString("Choose an Emulator"));
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QString("Zeta")); // the file's order
        clickRow(editor, 0, true);                     // no rows: opens nothing
        QVERIFY(editor->recordEditor() == nullptr);

        QVERIFY(pickEmulator(editor, "Arcade"));
        QCOMPARE(gridRows(editor), ArcadeRows); // every line, sorted, "=" kept in the type
        QCOMPARE(part<QLabel>(editor, "TRom")->text(), QString("Total Rom Listed :  3"));
        QVERIFY(part(editor, "Aggiungi")->isEnabled() && part(editor, "Rimuovi")->isEnabled());

        QVERIFY(pickEmulator(editor, "Console")); // no list file: empty, Save creates it
        QCOMPARE(part<QLabel>(editor, "TRom")->text(), QString("Total Rom Listed :  0"));
        click(editor, "Salva");
        QCOMPARE(library.files(), QStringList({"Arcade.rom", "Console.rom", "Zanku.ini"}));
        QCOMPARE(library.read("Console.rom"), QByteArray());
    }

    void emulatorModeOpensSortedByName()
    {
        EditorLibrary library;
        writeLibrary(library);
        library.write("Zanku.ini", library.read("Zanku.ini") + configRecord("beta", "b", "p"));
        OptionsFrm *editor = openEditor("EMU");
        QCOMPARE(titles(editor),
                 QStringList({"Emulator Name/" + w(1875), "Emul Program/" + w(2812),
                              "Emul Path/" + w(2812), "Zipped Roms Path/" + w(2812),
                              "Emul Snapshot/" + w(2812), "Emul Options/" + w(3750)}));
        QVERIFY(!part(editor, "Emulator")->isVisible() && !part(editor, "TRom")->isVisible());
        QVERIFY(part(editor, "Aggiungi")->isEnabled() && part(editor, "Rimuovi")->isEnabled());
        QCOMPARE(gridRows(editor),
                 Rows({{"Arcade", "arc.exe", library.path("arcade"), "zips", "snaps", "-f %"},
                       {"Console", "c.exe", "C:\\console", "", "", ""},
                       {"Zeta", "z.exe", "zeta", "zz", "zs", ""},
                       {"beta", "b", "p", "", "", ""}}));
    }

    void addNewThenCancelCloseOrOk_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("end");
        for (const char *mode : {"EMU", "ROM"}) {
            for (const char *end : {"Cancel", "close box", "Ok"})
                QTest::addRow("%s %s", mode, end) << mode << end;
        }
    }
    void addNewThenCancelCloseOrOk()
    {
        QFETCH(QString, mode);
        QFETCH(QString, end);
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, mode);
        Rows expected = gridRows(editor);
        click(editor, "Aggiungi");
        OptionsNewFrm *record = editor->recordEditor();
        QVERIFY(record && record->isVisible() && record->isEnabled() && !editor->isEnabled());
        QVERIFY(App().NewRowPending);
        QCOMPARE(editor->rowCount(), int(expected.size()) + 1);
        for (const char *field : {"T0", "T1", "T2", "T3", mode == "ROM" ? "T5" : "T4"})
            QVERIFY(text(record, field).isEmpty());
        QCOMPARE(part<QLabel>(record, "CTitle")->text(),
                 mode == "ROM" ? "Edit Game Properties" : "Edit Emulator Properties");
        QCOMPARE(part<QLabel>(record, "C2")->text(),
                 mode == "ROM" ? "Destination Directory" : "Zipped Rom Path");
        QCOMPARE(part(record, "DirT1")->isVisible(), mode == "EMU");

        if (end == "Ok") {
            type(record, "T0", "Frog");
            type(record, "T1", "frog.bin");
            type(record, mode == "ROM" ? "T5" : "T4", "Hopper"); // a type not in the list
            click(record, "Ok");
            expected.push_back(mode == "ROM"
                                   ? QStringList{"Frog", "frog.bin", "", "", "Hopper"}
                                   : QStringList{"Frog", "frog.bin", "", "", "", "Hopper"});
            std::stable_sort(
                expected.begin(), expected.end(),
                [](const QStringList &a, const QStringList &b) { return a[0] < b[0]; });
        } else if (end == "Cancel") {
            click(record, "Cancel");
        } else {
            record->close();
        }
        flushClosedWindows();
        QVERIFY(editor->recordEditor() == nullptr && editor->isEnabled() && !App().NewRowPending);
        QCOMPARE(gridRows(editor), expected); // the new row at its sorted place
        QCOMPARE(editor->hasUnsavedChanges(), end == "Ok");

        // A double-click on a row, then Cancel: nothing is removed.
        clickRow(editor, 2, true);
        QCOMPARE(text(editor->recordEditor(), "T0"), expected[2][0]);
        click(editor->recordEditor(), "Cancel");
        flushClosedWindows();
        QCOMPARE(gridRows(editor), expected);
    }

    void doubleClickThenOkRewritesTheRow()
    {
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, "EMU");
        clickRow(editor, 0, true);
        OptionsNewFrm *record = editor->recordEditor();
        QVERIFY(!App().NewRowPending);
        QCOMPARE(
            QStringList({text(record, "T0"), text(record, "T1"), text(record, "T2"),
                         text(record, "T3"), text(record, "T4"), record->emupath}),
            QStringList({"Arcade", "arc.exe", "zips", "snaps", "-f %", library.path("arcade")}));
        type(record, "T0", "Zoo"); // typing the program keeps the emulator's directory
        type(record, "T1", "zoo.exe");
        click(record, "Ok");
        QCOMPARE(gridRows(editor).back(),
                 QStringList({"Zoo", "zoo.exe", library.path("arcade"), "zips", "snaps", "-f %"}));
    }

    void okRefusesWhatWouldHarmTheFiles_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message"); // a part of it
        const QString missing = "At Least Game and File MUST be added";
        QTest::newRow("no game name") << "ROM"
                                      << "T0"
                                      << "" << missing;
        QTest::newRow("no game file") << "ROM"
                                      << "T1"
                                      << "" << missing;
        QTest::newRow("no program") << "EMU"
                                    << "T1"
                                    << "" << missing;
        QTest::newRow("game name =") << "ROM"
                                     << "T0"
                                     << "Pac=Man"
                                     << "Game Name";
        QTest::newRow("game file =") << "ROM"
                                     << "T1"
                                     << "a=b"
                                     << "Game File or Directory";
        QTest::newRow("destination =") << "ROM"
                                       << "T2"
                                       << "x=y"
                                       << "Destination Directory";
        QTest::newRow("game options =") << "ROM"
                                        << "T3"
                                        << "-a=1"
                                        << "Game Options";
        QTest::newRow("type line break") << "ROM"
                                         << "T5"
                                         << "A\nB"
                                         << "Game Type";
        QTest::newRow("options ;") << "EMU"
                                   << "T4"
                                   << ";old"
                                   << "\";\"";
        QTest::newRow("emulator name /") << "EMU"
                                         << "T0"
                                         << "A/B"
                                         << "Emulator Name";
        QTest::newRow("emulator name dots") << "EMU"
                                            << "T0"
                                            << "..."
                                            << "Emulator Name";
        QTest::newRow("program line break") << "EMU"
                                            << "T1"
                                            << "a\r\nb"
                                            << "Emulator Program";
    }
    void okRefusesWhatWouldHarmTheFiles()
    {
        QFETCH(QString, mode);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, mode);
        const Rows before = gridRows(editor);
        click(editor, "Aggiungi");
        OptionsNewFrm *record = editor->recordEditor();
        type(record, "T0", "Name");
        type(record, "T1", "file");
        type(record, "T2", "dest");
        type(record, field, value);

        ScriptedMessages messages;
        click(record, "Ok");
        flushClosedWindows();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QString("Error"));
        QVERIFY2(messages.shown[0].text.contains(message), qPrintable(messages.shown[0].text));
        QCOMPARE(editor->recordEditor(), record); // still open, everything as typed
        QCOMPARE(text(record, field), value);
        QCOMPARE(text(record, field == "T2" ? "T1" : "T2"), field == "T2" ? "file" : "dest");
        click(record, "Cancel");
        QCOMPARE(gridRows(editor), before);
    }

    void removeTakesOutTheCurrentRow_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("row"); // -1: no row current
        for (const char *mode : {"EMU", "ROM"}) {
            for (int row : {0, 1, 2, -1})
                QTest::addRow("%s row %d", mode, row) << mode << row;
        }
    }
    void removeTakesOutTheCurrentRow()
    {
        QFETCH(QString, mode);
        QFETCH(int, row);
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, mode);
        Rows expected = gridRows(editor);
        QCOMPARE(expected.size(), size_t(3));
        if (row >= 0) {
            clickRow(editor, row);
            expected.erase(expected.begin() + row); // the rows below move up, every cell
        }
        click(editor, "Rimuovi");
        QCOMPARE(gridRows(editor), expected);
        QCOMPARE(editor->hasUnsavedChanges(), row >= 0);
        while (editor->rowCount() > 0) {
            clickRow(editor, 0);
            click(editor, "Rimuovi");
        }
        click(editor, "Rimuovi"); // only the titles left: nothing happens
        QCOMPARE(editor->rowCount(), 0);
    }

    void saveWritesWhatTheCatalogueReads()
    {
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, "EMU");
        clickRow(editor, 2);
        click(editor, "Rimuovi");
        click(editor, "Aggiungi");
        for (const char *field : {"T0", "T1", "T2", "T3", "T4"})
            type(editor->recordEditor(), field, QString("M") + field);
        click(editor->recordEditor(), "Ok");
        click(editor, "Salva");
        QVERIFY(editor->savedSinceLoad() && !editor->hasUnsavedChanges());
        QCOMPARE(
            library.read("Zanku.ini"),
            configRecord("Arcade", "arc.exe", library.path("arcade"), "zips", "snaps", "-f %") +
                configRecord("Console", "c.exe", "C:\\console") +
                configRecord("MT0", "MT1", "", "MT2", "MT3", "MT4"));
        ReadConfig();
        QCOMPARE(App().EmulatorCount, 3);
        QCOMPARE(App().Emulators[3].ZippedRomPath, QString("MT2"));
        QCOMPARE(App().Emulators[3].Options, QString("MT4"));

        editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Arcade"));
        click(editor, "Salva");
        QCOMPARE(library.read("Arcade.rom"), ArcadeSorted);
        QCOMPARE(ReadRomList(library.path("Arcade.rom"))[0].Type, QString("Type=With=Equals"));
    }

    void romSaveNeedsThePickedEmulator_data()
    {
        QTest::addColumn<QString>("pick");
        QTest::addColumn<QString>("typed");
        QTest::newRow("before a pick") << ""
                                       << "";
        QTest::newRow("before a pick, a name typed") << ""
                                                     << "Arcade";
        QTest::newRow("unknown name typed") << "Arcade"
                                            << "Nope";
        QTest::newRow("another emulator typed") << "Arcade"
                                                << "Zeta";
    }
    void romSaveNeedsThePickedEmulator()
    {
        QFETCH(QString, pick);
        QFETCH(QString, typed);
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pick.isEmpty() || pickEmulator(editor, pick));
        if (!typed.isEmpty())
            type(editor, "Emulator", typed);
        ScriptedMessages messages;
        click(editor, "Salva");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QString("Error"));
        QCOMPARE(library.files(), QStringList({"Arcade.rom", "Zanku.ini"}));
        QVERIFY(library.read("Arcade.rom") != ArcadeSorted); // untouched
        QVERIFY(!editor->savedSinceLoad());
    }

    void closingReloadsTheCatalogueAfterASave_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("save");
        QTest::addColumn<int>("games"); // -1: not reloaded
        QTest::newRow("emulators saved") << "EMU"
                                         << "ok" << 1;
        QTest::newRow("emulators not saved") << "EMU"
                                             << "none" << -1;
        QTest::newRow("emulators save failed") << "EMU"
                                               << "fails" << -1;
        QTest::newRow("games saved") << "ROM"
                                     << "ok" << 1;
        QTest::newRow("games not saved") << "ROM"
                                         << "none" << -1;
        QTest::newRow("games save failed") << "ROM"
                                           << "fails" << -1;
    }
    void closingReloadsTheCatalogueAfterASave()
    {
        QFETCH(QString, mode);
        QFETCH(QString, save);
        QFETCH(int, games);
        EditorLibrary library;
        ScriptedMessages messages; // the catalogue reports the emulators it cannot load
        OptionsFrm *editor = openWithList(library, mode);
        App().GameCount = -1;
        const QString target = mode == "ROM" ? "Arcade.rom" : "Zanku.ini";
        if (save == "fails") { // a directory now stands where the file goes
            QFile::remove(library.path(target));
            QDir().mkpath(library.path(target));
        }
        if (save != "none")
            click(editor, "Salva");
        QCOMPARE(editor->savedSinceLoad(), save == "ok");
        QCOMPARE(editor->hasUnsavedChanges(), false);
        if (save == "fails") {
            QCOMPARE(messages.shown.size(), 1); // the player is told
            QVERIFY(QFileInfo(library.path(target)).isDir());
        }
        messages.shown.clear();
        click(editor, "cancella");
        flushClosedWindows();
        QVERIFY(OptionsFrmWindow() == nullptr);
        QCOMPARE(App().GameCount, games);
        if (games > 0) {
            QCOMPARE(App().Games[1].Name, QString("Pac"));
            // Saving the emulator list wrote it in name order: Arcade moved to slot 1.
            QCOMPARE(App().Games[1].EmulatorIndex, mode == "EMU" ? 1 : 2);
        } else {
            QVERIFY(messages.shown.isEmpty());
        }
    }

    void theModeStaysWhenEditModeChanges()
    {
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, "EMU");
        App().EditMode = "ROM"; // the menu changed it; the editor keeps its own mode
        clickRow(editor, 2);
        click(editor, "Rimuovi");
        clickRow(editor, 1, true);
        QCOMPARE(editor->recordEditor()->mode(), EditorMode::Emulators);
        type(editor->recordEditor(), "T4", "-x");
        click(editor->recordEditor(), "Ok");
        click(editor, "Salva");
        QCOMPARE(
            library.read("Zanku.ini"),
            configRecord("Arcade", "arc.exe", library.path("arcade"), "zips", "snaps", "-f %") +
                configRecord("Console", "c.exe", "C:\\console", "", "", "-x"));
        QCOMPARE(library.files(), QStringList({"Arcade.rom", "Zanku.ini"}));
    }

    void askingForTheOtherMode_data()
    {
        QTest::addColumn<QString>("pending"); // none, removed row, open record
        QTest::addColumn<bool>("drop");       // the answer, when asked
        QTest::newRow("nothing unsaved") << "none" << false;
        QTest::newRow("removed row, kept") << "removed row" << false;
        QTest::newRow("removed row, dropped") << "removed row" << true;
        QTest::newRow("open record, kept") << "open record" << false;
        QTest::newRow("open record, dropped") << "open record" << true;
    }
    void askingForTheOtherMode()
    {
        QFETCH(QString, pending);
        QFETCH(bool, drop);
        EditorLibrary library;
        OptionsFrm *editor = openWithList(library, "EMU");
        if (pending == "removed row") {
            clickRow(editor, 0);
            click(editor, "Rimuovi");
        } else if (pending == "open record") {
            click(editor, "Aggiungi");
            editor->close(); // waits for its record editor
            flushClosedWindows();
            QCOMPARE(OptionsFrmWindow(), editor);
        }
        const Rows before = gridRows(editor);
        ScriptedMessages messages;
        messages.answers.enqueue(drop ? MessageAnswer::Yes : MessageAnswer::No);
        QCOMPARE(openEditor("EMU"), editor); // the same mode: only brought forward
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(openEditor("ROM"), editor);
        flushClosedWindows();
        QCOMPARE(messages.shown.size(), pending == "none" ? 0 : 1);
        const bool reloaded = pending == "none" || drop;
        QCOMPARE(editor->mode(), reloaded ? EditorMode::Roms : EditorMode::Emulators);
        QCOMPARE(editor->rowCount(), reloaded ? 0 : int(before.size()));
        QCOMPARE(editor->recordEditor() != nullptr, pending == "open record" && !drop);
        if (reloaded)
            QVERIFY(editor->isEnabled() && !App().NewRowPending && !editor->hasUnsavedChanges());
    }

    void aSaveStillCountsAfterAModeReload()
    {
        EditorLibrary library;
        ScriptedMessages messages;
        OptionsFrm *editor = openWithList(library, "EMU");
        App().GameCount = -1;
        click(editor, "Salva");
        QCOMPARE(openEditor("ROM")->mode(), EditorMode::Roms);
        click(editor, "cancella");
        flushClosedWindows();
        QCOMPARE(App().GameCount, 1);
    }
};

QTEST_MAIN(TestOptionsEditor)
#include "test_options_editor.moc"
