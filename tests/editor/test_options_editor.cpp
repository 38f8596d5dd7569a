// The configuration editor and its record editor, driven as a player drives them.

#include "EditorFixture.h"

#include "catalogue/Config.h"
#include "catalogue/RomList.h"
#include "common/ScriptedMessages.h"

#include "app/Twips.h"

#include <QHeaderView>
#include <QLabel>

namespace {
// Three emulators, not in name order; Arcade has a ROM list of three games, one of them
// with "=" in its type, and a directory with one of the games present.
void writeLibrary(EditorLibrary &library)
{
    library.mkdir("arcade");
    library.write("arcade/pac.bin");
    library.write("Zanku.ini", configRecord("Zeta", "z.exe", library.path("zeta"), "zz", "zs") +
                                   configRecord("Arcade", "arc.exe", library.path("arcade"), "zips",
                                                "snaps", "-f %") +
                                   configRecord("Console", "c.exe", "C:\\console"));
    library.write("Arcade.rom", "Pac=pac.bin=d=-p=Maze\r\n"
                                "Galaxy=galaxy.bin===Shoot'em Up\r\n"
                                "Boxer=box.bin=x=y=Type=With=Equals\r\n");
}

const Rows ArcadeRows = {{"Boxer", "box.bin", "x", "y", "Type=With=Equals"},
                         {"Galaxy", "galaxy.bin", "", "", "Shoot'em Up"},
                         {"Pac", "pac.bin", "d", "-p", "Maze"}};

OptionsNewFrm *recordEditorOf(OptionsFrm *editor)
{
    OptionsNewFrm *record = editor->recordEditor();
    if (record == nullptr)
        qFatal("the record editor is not open");
    return record;
}
} // namespace

class TestOptionsEditor : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { closeEditorWindows(); }

    void romModeOpensWithoutAList()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(editor != nullptr);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->windowTitle(), QString("Edit Configuration"));
        QCOMPARE(editor->mode(), EditorMode::Roms);

        QVERIFY(!part<QPushButton>(editor, "Aggiungi")->isEnabled());
        QVERIFY(!part<QPushButton>(editor, "Rimuovi")->isEnabled());
        QVERIFY(part<QPushButton>(editor, "Salva")->isEnabled());
        QVERIFY(part<QPushButton>(editor, "cancella")->isEnabled());

        auto *combo = part<QComboBox>(editor, "Emulator");
        QVERIFY(combo->isVisible());
        QCOMPARE(combo->currentText(), QString("Choose an Emulator"));
        QStringList listed;
        for (int index = 0; index < combo->count(); ++index)
            listed.append(combo->itemText(index));
        QCOMPARE(listed, QStringList({"Zeta", "Arcade", "Console"})); // the file's order
        QVERIFY(part<QLabel>(editor, "TRom")->isVisible());
        QVERIFY(part<QLabel>(editor, "TRom")->text().isEmpty());

        QTableWidget *grid = gridOf(editor);
        QCOMPARE(grid->rowCount(), 0);
        QCOMPARE(grid->columnCount(), 5);
        QStringList titles;
        for (int column = 0; column < grid->columnCount(); ++column)
            titles.append(grid->horizontalHeaderItem(column)->text());
        QCOMPARE(titles, QStringList({"Game Name", "File or Dir Name", "Destination Dir",
                                      "Game Options", "Game Type"}));
        const int widths[] = {3750, 1875, 1875, 4688, 1875};
        for (int column = 0; column < 5; ++column)
            QCOMPARE(grid->columnWidth(column), Twips(widths[column]));
        QCOMPARE(editor->size(), QSize(Twips(9615), Twips(6225)));
        QCOMPARE(grid->geometry(), QRect(Twips(120), Twips(600), Twips(9375), Twips(4575)));

        // Double-clicking an empty grid opens nothing.
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(editor->recordEditor() == nullptr);
    }

    void emulatorModeOpensSortedByName()
    {
        EditorLibrary library;
        writeLibrary(library);
        library.write("Zanku.ini", library.read("Zanku.ini") + configRecord("beta", "b", "p") +
                                       configRecord("Beta", "B", "P"));
        OptionsFrm *editor = openEditor("EMU");
        QCOMPARE(editor->mode(), EditorMode::Emulators);
        QVERIFY(!part<QComboBox>(editor, "Emulator")->isVisible());
        QVERIFY(!part<QLabel>(editor, "TRom")->isVisible());
        for (const char *button : {"Aggiungi", "Rimuovi", "Salva", "cancella"})
            QVERIFY(part<QPushButton>(editor, button)->isEnabled());

        QTableWidget *grid = gridOf(editor);
        QCOMPARE(grid->columnCount(), 6);
        QCOMPARE(grid->horizontalHeaderItem(3)->text(), QString("Zipped Roms Path"));
        const int widths[] = {1875, 2812, 2812, 2812, 2812, 3750};
        for (int column = 0; column < 6; ++column)
            QCOMPARE(grid->columnWidth(column), Twips(widths[column]));

        QCOMPARE(columnZero(editor), QStringList({"Arcade", "Beta", "Console", "Zeta", "beta"}));
        QCOMPARE(editor->rowCells(0), QStringList({"Arcade", "arc.exe", library.path("arcade"),
                                                   "zips", "snaps", "-f %"}));
        QVERIFY(!editor->hasUnsavedChanges());
    }

    void pickingAnEmulatorLoadsItsList()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Arcade"));
        // Every line is a row, present on disk or not, sorted by name; "=" stays in Type.
        QCOMPARE(gridRows(editor), ArcadeRows);
        QCOMPARE(part<QLabel>(editor, "TRom")->text(), QString("Total Rom Listed :  3"));
        for (const char *button : {"Aggiungi", "Rimuovi", "Salva"})
            QVERIFY(part<QPushButton>(editor, button)->isEnabled());

        // An emulator without a list: empty grid, count 0; Save then creates the file.
        QVERIFY(pickEmulator(editor, "Console"));
        QCOMPARE(editor->rowCount(), 0);
        QCOMPARE(part<QLabel>(editor, "TRom")->text(), QString("Total Rom Listed :  0"));
        ScriptedMessages messages;
        click(editor, "Salva");
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(library.exists("Console.rom"));
        QCOMPARE(library.read("Console.rom"), QByteArray());
    }

    void anEmulatorWithoutANameLoadsNothing()
    {
        EditorLibrary library;
        library.write("Zanku.ini", configRecord("", "x", "y") + configRecord("Arcade", "a", "b"));
        library.write("Arcade.rom", "A=a===\r\n");
        library.write(".rom", "Hidden=h===\r\n");
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Arcade"));
        QVERIFY(!pickEmulator(editor, ""));
        QCOMPARE(part<QComboBox>(editor, "Emulator")->currentText(), QString("Choose an Emulator"));
        QCOMPARE(columnZero(editor), QStringList({"A"})); // the list shown stays
        ScriptedMessages messages;
        click(editor, "Salva");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QString("Error"));
        QCOMPARE(library.read(".rom"), QByteArray("Hidden=h===\r\n"));
    }

    void romSaveWritesOnlyThePickedEmulatorsList_data()
    {
        QTest::addColumn<QString>("pick");   // empty: no pick
        QTest::addColumn<QString>("typed");  // empty: nothing typed
        QTest::addColumn<QString>("writes"); // the file written, empty for a refusal
        QTest::newRow("before a pick") << ""
                                       << ""
                                       << "";
        QTest::newRow("before a pick, a name typed") << ""
                                                     << "Arcade"
                                                     << "";
        QTest::newRow("picked") << "Arcade"
                                << ""
                                << "Arcade.rom";
        QTest::newRow("unknown name typed") << "Arcade"
                                            << "Nope"
                                            << "";
        QTest::newRow("other emulator typed") << "Arcade"
                                              << "Zeta"
                                              << "";
    }
    void romSaveWritesOnlyThePickedEmulatorsList()
    {
        QFETCH(QString, pick);
        QFETCH(QString, typed);
        QFETCH(QString, writes);
        EditorLibrary library;
        writeLibrary(library);
        const QByteArray arcade = library.read("Arcade.rom");
        const QStringList before = library.files();
        OptionsFrm *editor = openEditor("ROM");
        if (!pick.isEmpty())
            QVERIFY(pickEmulator(editor, pick));
        if (!typed.isEmpty())
            typeInto(editor, "Emulator", typed);

        ScriptedMessages messages;
        click(editor, "Salva");
        if (writes.isEmpty()) {
            QCOMPARE(messages.shown.size(), 1);
            QCOMPARE(messages.shown[0].title, QString("Error"));
            QCOMPARE(library.files(), before);
            QCOMPARE(library.read("Arcade.rom"), arcade);
            QVERIFY(!editor->savedSinceLoad());
        } else {
            QVERIFY(messages.shown.isEmpty());
            QVERIFY(editor->savedSinceLoad());
            // Written whole, in grid order, CR LF after each line.
            QCOMPARE(library.read(writes), QByteArray("Boxer=box.bin=x=y=Type=With=Equals\r\n"
                                                      "Galaxy=galaxy.bin===Shoot'em Up\r\n"
                                                      "Pac=pac.bin=d=-p=Maze\r\n"));
        }
    }

    void addNewThenCancelOrCloseLeavesTheGrid_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("emulators, Cancel") << "EMU" << false;
        QTest::newRow("emulators, close box") << "EMU" << true;
        QTest::newRow("games, Cancel") << "ROM" << false;
        QTest::newRow("games, close box") << "ROM" << true;
    }
    void addNewThenCancelOrCloseLeavesTheGrid()
    {
        QFETCH(QString, mode);
        QFETCH(bool, closeBox);
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor(mode);
        if (mode == "ROM")
            QVERIFY(pickEmulator(editor, "Arcade"));
        const Rows before = gridRows(editor);

        click(editor, "Aggiungi");
        QVERIFY(App().NewRowPending);
        QCOMPARE(editor->rowCount(), int(before.size()) + 1);
        OptionsNewFrm *record = recordEditorOf(editor);
        QVERIFY(record->isVisible());
        QVERIFY(!editor->isEnabled());
        QVERIFY(record->isEnabled());
        for (const char *field : {"T0", "T1", "T2", "T3"})
            QVERIFY(fieldText(record, field).isEmpty());
        QVERIFY(fieldText(record, mode == "ROM" ? "T5" : "T4").isEmpty());

        if (closeBox)
            record->close();
        else
            click(record, "Cancel");
        flushClosedWindows();
        QVERIFY(editor->recordEditor() == nullptr);
        QVERIFY(editor->isEnabled());
        QVERIFY(!App().NewRowPending);
        QCOMPARE(gridRows(editor), before);
        QVERIFY(!editor->hasUnsavedChanges());
    }

    void addNewThenOkPlacesTheRowInOrder()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Arcade"));
        click(editor, "Aggiungi");
        OptionsNewFrm *record = recordEditorOf(editor);
        QCOMPARE(part<QLabel>(record, "CTitle")->text(), QString("Edit Game Properties"));
        QCOMPARE(part<QLabel>(record, "C4")->text(), QString("Game Type"));
        QVERIFY(!part<QLineEdit>(record, "T4")->isVisible());
        QVERIFY(!part<QPushButton>(record, "DirT1")->isVisible());
        typeInto(record, "T0", "Frogger");
        typeInto(record, "T1", "frog.bin");
        typeInto(record, "T3", "-s");
        typeInto(record, "T5", "Arcade Hopper"); // not in the list: kept as typed
        click(record, "Ok");
        flushClosedWindows();

        QVERIFY(editor->isEnabled());
        QVERIFY(!App().NewRowPending);
        Rows expected = ArcadeRows;
        expected.insert(expected.begin() + 1, {"Frogger", "frog.bin", "", "-s", "Arcade Hopper"});
        QCOMPARE(gridRows(editor), expected);
        QCOMPARE(gridOf(editor)->currentRow(), 1); // the new row stays current
        QVERIFY(editor->hasUnsavedChanges());

        // A double-click on another row and Cancel removes nothing.
        doubleClickRow(editor, 3);
        record = recordEditorOf(editor);
        QCOMPARE(fieldText(record, "T0"), QString("Pac"));
        QCOMPARE(fieldText(record, "T5"), QString("Maze"));
        click(record, "Cancel");
        flushClosedWindows();
        QCOMPARE(gridRows(editor), expected);
    }

    void doubleClickThenOkRewritesTheRow()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("EMU");
        QCOMPARE(columnZero(editor), QStringList({"Arcade", "Console", "Zeta"}));
        doubleClickRow(editor, 0);
        OptionsNewFrm *record = recordEditorOf(editor);
        QVERIFY(!App().NewRowPending);
        QCOMPARE(part<QLabel>(record, "CTitle")->text(), QString("Edit Emulator Properties"));
        const QStringList labels = {"Emulator Name", "Emulator Program", "Zipped Rom Path",
                                    "Snapshot Path", "Options"};
        for (int index = 0; index < 5; ++index) {
            const QByteArray name = "C" + QByteArray::number(index);
            QCOMPARE(part<QLabel>(record, name.constData())->text(), labels[index]);
        }
        QVERIFY(!part<QComboBox>(record, "T5")->isVisible());
        QCOMPARE(fieldText(record, "T0"), QString("Arcade"));
        QCOMPARE(fieldText(record, "T1"), QString("arc.exe"));
        QCOMPARE(fieldText(record, "T2"), QString("zips"));
        QCOMPARE(fieldText(record, "T3"), QString("snaps"));
        QCOMPARE(fieldText(record, "T4"), QString("-f %"));
        QCOMPARE(record->emupath, library.path("arcade"));

        // Renamed past the others: it moves to its place; the typed program does not
        // change the emulator's directory.
        typeInto(record, "T0", "Xeno");
        typeInto(record, "T1", "xeno.exe");
        click(record, "Ok");
        flushClosedWindows();
        QCOMPARE(gridRows(editor),
                 Rows({{"Console", "c.exe", "C:\\console", "", "", ""},
                       {"Xeno", "xeno.exe", library.path("arcade"), "zips", "snaps", "-f %"},
                       {"Zeta", "z.exe", library.path("zeta"), "zz", "zs", ""}}));
    }

    void okNeedsANameAndAFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("neither") << ""
                                 << "";
        QTest::newRow("no name") << ""
                                 << "game.bin";
        QTest::newRow("no file") << "Game"
                                 << "";
    }
    void okNeedsANameAndAFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Arcade"));
        click(editor, "Aggiungi");
        OptionsNewFrm *record = recordEditorOf(editor);
        typeInto(record, "T0", name);
        typeInto(record, "T1", file);
        typeInto(record, "T2", "dest");

        ScriptedMessages messages;
        click(record, "Ok");
        flushClosedWindows();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QString("Error"));
        QCOMPARE(messages.shown[0].text, QString("At Least Game and File MUST be added"));
        QCOMPARE(editor->recordEditor(), record);
        QVERIFY(record->isVisible());
        QCOMPARE(fieldText(record, "T0"), name);
        QCOMPARE(fieldText(record, "T1"), file);
        QCOMPARE(fieldText(record, "T2"), QString("dest"));
        QVERIFY(!editor->isEnabled());

        // Cancel then drops the new row.
        click(record, "Cancel");
        flushClosedWindows();
        QCOMPARE(gridRows(editor), ArcadeRows);
    }

    void blanksPassTheCheck()
    {
        EditorLibrary library;
        OptionsFrm *editor = openEditor("ROM "); // not exactly "ROM": emulator mode
        QCOMPARE(editor->mode(), EditorMode::Emulators);
        QCOMPARE(editor->rowCount(), 0);
        click(editor, "Aggiungi");
        OptionsNewFrm *record = recordEditorOf(editor);
        typeInto(record, "T0", "Emu");
        typeInto(record, "T1", "   ");
        ScriptedMessages messages;
        click(record, "Ok");
        flushClosedWindows();
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(gridRows(editor), Rows({{"Emu", "   ", "", "", "", ""}}));
    }

    void harmfulValuesAreRefused_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("label"); // the field the message names
        QTest::newRow("game name =") << "ROM"
                                     << "T0"
                                     << "Pac=Man"
                                     << "Game Name";
        QTest::newRow("game file =") << "ROM"
                                     << "T1"
                                     << "a=b.bin"
                                     << "Game File or Directory";
        QTest::newRow("game destination =") << "ROM"
                                            << "T2"
                                            << "x=y"
                                            << "Destination Directory";
        QTest::newRow("game options =") << "ROM"
                                        << "T3"
                                        << "-a=1"
                                        << "Game Options";
        QTest::newRow("game type line break") << "ROM"
                                              << "T5"
                                              << "A\nB"
                                              << "Game Type";
        QTest::newRow("emulator options ;") << "EMU"
                                            << "T4"
                                            << ";old"
                                            << "Options";
        QTest::newRow("emulator name /") << "EMU"
                                         << "T0"
                                         << "A/B"
                                         << "Emulator Name";
        QTest::newRow("emulator name :") << "EMU"
                                         << "T0"
                                         << "C:"
                                         << "Emulator Name";
        QTest::newRow("emulator name dots") << "EMU"
                                            << "T0"
                                            << "..."
                                            << "Emulator Name";
        QTest::newRow("emulator name blanks") << "EMU"
                                              << "T0"
                                              << "  "
                                              << "Emulator Name";
        QTest::newRow("emulator program line break") << "EMU"
                                                     << "T1"
                                                     << "a\r\nb"
                                                     << "Emulator Program";
    }
    void harmfulValuesAreRefused()
    {
        QFETCH(QString, mode);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, label);
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor(mode);
        if (mode == "ROM")
            QVERIFY(pickEmulator(editor, "Arcade"));
        const Rows before = gridRows(editor);
        click(editor, "Aggiungi");
        OptionsNewFrm *record = recordEditorOf(editor);
        typeInto(record, "T0", "Name");
        typeInto(record, "T1", "file");
        const QByteArray fieldName = field.toLatin1();
        if (value.contains('\n') || value.contains('\r')) {
            // Only a paste brings a line break into a field.
            if (auto *combo = record->findChild<QComboBox *>(field))
                combo->lineEdit()->setText(value);
            else
                part<QLineEdit>(record, fieldName.constData())->setText(value);
        } else {
            typeInto(record, fieldName.constData(), value);
        }

        ScriptedMessages messages;
        click(record, "Ok");
        flushClosedWindows();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QString("Error"));
        QVERIFY2(messages.shown[0].text.contains(label), qPrintable(messages.shown[0].text));
        QCOMPARE(editor->recordEditor(), record);
        QCOMPARE(fieldText(record, fieldName.constData()), value);

        click(record, "Cancel");
        flushClosedWindows();
        QCOMPARE(gridRows(editor), before);
    }

    void removeTakesOutTheCurrentRow_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("clicked"); // -1: no row current
        QTest::addColumn<int>("removed"); // -1: nothing removed
        for (const char *mode : {"EMU", "ROM"}) {
            QTest::addRow("%s first", mode) << mode << 0 << 0;
            QTest::addRow("%s middle", mode) << mode << 1 << 1;
            QTest::addRow("%s last", mode) << mode << 3 << 3;
            QTest::addRow("%s none current", mode) << mode << -1 << -1;
        }
    }
    void removeTakesOutTheCurrentRow()
    {
        QFETCH(QString, mode);
        QFETCH(int, clicked);
        QFETCH(int, removed);
        EditorLibrary library;
        if (mode == "EMU") {
            library.write("Zanku.ini", configRecord("A", "a1", "a2", "a3", "a4", "a5") +
                                           configRecord("B", "b1", "b2", "b3", "b4", "b5") +
                                           configRecord("C", "c1", "c2", "c3", "c4", "c5") +
                                           configRecord("D", "d1", "d2", "d3", "d4", "d5"));
        } else {
            library.write("Zanku.ini", configRecord("Arcade", "a", "b"));
            library.write("Arcade.rom", "A=a1=a2=a3=a4\r\nB=b1=b2=b3=b4\r\n"
                                        "C=c1=c2=c3=c4\r\nD=d1=d2=d3=d4\r\n");
        }
        OptionsFrm *editor = openEditor(mode);
        if (mode == "ROM")
            QVERIFY(pickEmulator(editor, "Arcade"));
        Rows expected = gridRows(editor);
        QCOMPARE(int(expected.size()), 4);
        QCOMPARE(expected[1].size(), mode == "ROM" ? 5 : 6); // every cell moves
        gridOf(editor)->setCurrentCell(-1, -1);
        if (clicked >= 0)
            clickRow(editor, clicked);
        click(editor, "Rimuovi");
        if (removed >= 0)
            expected.erase(expected.begin() + removed);
        QCOMPARE(gridRows(editor), expected);
        QCOMPARE(editor->hasUnsavedChanges(), removed >= 0);
        QVERIFY(!editor->savedSinceLoad());
    }

    void removeDownToNothing()
    {
        EditorLibrary library;
        library.write("Zanku.ini", configRecord("Only", "o", "p"));
        OptionsFrm *editor = openEditor("EMU");
        clickRow(editor, 0);
        click(editor, "Rimuovi");
        QCOMPARE(editor->rowCount(), 0);
        click(editor, "Rimuovi"); // nothing left: nothing happens
        QCOMPARE(editor->rowCount(), 0);
        // Add New then appends the first row.
        click(editor, "Aggiungi");
        QCOMPARE(editor->rowCount(), 1);
        click(recordEditorOf(editor), "Cancel");
        flushClosedWindows();
        QCOMPARE(editor->rowCount(), 0);
    }

    void emulatorSaveWritesWhatTheCatalogueReads()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("EMU");
        click(editor, "Aggiungi");
        OptionsNewFrm *record = recordEditorOf(editor);
        typeInto(record, "T0", "Micro");
        typeInto(record, "T1", "micro.exe");
        typeInto(record, "T2", "mz");
        typeInto(record, "T3", "ms");
        typeInto(record, "T4", "-run %");
        click(record, "Ok");
        flushClosedWindows();

        ScriptedMessages messages;
        click(editor, "Salva");
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(editor->savedSinceLoad());
        QVERIFY(!editor->hasUnsavedChanges());
        QCOMPARE(
            library.read("Zanku.ini"),
            configRecord("Arcade", "arc.exe", library.path("arcade"), "zips", "snaps", "-f %") +
                configRecord("Console", "c.exe", "C:\\console") +
                configRecord("Micro", "micro.exe", "", "mz", "ms", "-run %") +
                configRecord("Zeta", "z.exe", library.path("zeta"), "zz", "zs"));
        QVERIFY(!library.exists("Choose an Emulator.rom"));

        ReadConfig();
        QCOMPARE(App().EmulatorCount, 4);
        QCOMPARE(App().Emulators[3].Name, QString("Micro"));
        QCOMPARE(App().Emulators[3].ZippedRomPath, QString("mz"));
        QCOMPARE(App().Emulators[3].SnapshotPath, QString("ms"));
        QCOMPARE(App().Emulators[3].Options, QString("-run %"));
        QCOMPARE(library.programEnds, 0);
    }

    void romSaveWritesWhatTheCatalogueReads()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Arcade"));
        clickRow(editor, 1);
        click(editor, "Rimuovi");
        click(editor, "Salva");
        const std::vector<GameRecord> games = ReadRomList(library.path("Arcade.rom"));
        QCOMPARE(int(games.size()), 2);
        QCOMPARE(games[0].Name, QString("Boxer"));
        QCOMPARE(games[0].Type, QString("Type=With=Equals"));
        QCOMPARE(games[1].Name, QString("Pac"));
        QCOMPARE(games[1].DestinationDir, QString("d"));
    }

    void closingReloadsTheCatalogueOnlyAfterASave_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("save");
        QTest::newRow("emulators saved") << "EMU" << true;
        QTest::newRow("emulators not saved") << "EMU" << false;
        QTest::newRow("games saved") << "ROM" << true;
        QTest::newRow("games not saved") << "ROM" << false;
    }
    void closingReloadsTheCatalogueOnlyAfterASave()
    {
        QFETCH(QString, mode);
        QFETCH(bool, save);
        EditorLibrary library;
        writeLibrary(library);
        App().GameCount = 77; // what the main window last loaded, as far as the test knows
        OptionsFrm *editor = openEditor(mode);
        if (mode == "ROM")
            QVERIFY(pickEmulator(editor, "Arcade"));
        ScriptedMessages messages; // the catalogue reports emulators without directory
        if (save)
            click(editor, "Salva"); // nothing changed: a save all the same
        click(editor, "cancella");
        flushClosedWindows();
        QVERIFY(OptionsFrmWindow() == nullptr);
        if (save) {
            QCOMPARE(App().GameCount, 1); // only pac.bin is present
            QCOMPARE(App().Games[1].Name, QString("Pac"));
            // Saving the emulator list wrote it in name order: Arcade moved to slot 1.
            QCOMPARE(App().Games[1].EmulatorIndex, mode == "EMU" ? 1 : 2);
        } else {
            QCOMPARE(App().GameCount, 77);
            QVERIFY(messages.shown.isEmpty());
        }
    }

    void aFailedSaveSaysSoAndCountsForNothing()
    {
        EditorLibrary library;
        writeLibrary(library);
        library.mkdir("Console.rom"); // a directory stands where the list would go
        App().GameCount = 77;
        ScriptedMessages messages;
        OptionsFrm *editor = openEditor("ROM");
        QVERIFY(pickEmulator(editor, "Console")); // unreadable: an empty list, said so
        click(editor, "Aggiungi");
        OptionsNewFrm *record = recordEditorOf(editor);
        typeInto(record, "T0", "Game");
        typeInto(record, "T1", "game.bin");
        click(record, "Ok");
        flushClosedWindows();

        messages.shown.clear();
        click(editor, "Salva");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QString("Error"));
        QVERIFY(!editor->savedSinceLoad());
        QVERIFY(editor->hasUnsavedChanges());
        QVERIFY(QFileInfo(library.path("Console.rom")).isDir());
        click(editor, "cancella");
        flushClosedWindows();
        QCOMPARE(App().GameCount, 77); // nothing reloaded
    }

    void showingAgainBringsTheSameWindow()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("EMU");
        clickRow(editor, 0);
        click(editor, "Rimuovi");
        ScriptedMessages messages;
        QCOMPARE(openEditor("EMU"), editor);
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(editor->rowCount(), 2); // not reloaded
    }

    void theModeStaysWhileEditModeChanges()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("EMU");
        App().EditMode = "ROM"; // the menu, without showing the editor again
        clickRow(editor, 2);
        click(editor, "Rimuovi"); // six cells a row still
        QCOMPARE(gridRows(editor),
                 Rows({{"Arcade", "arc.exe", library.path("arcade"), "zips", "snaps", "-f %"},
                       {"Console", "c.exe", "C:\\console", "", "", ""}}));
        doubleClickRow(editor, 1);
        OptionsNewFrm *record = recordEditorOf(editor);
        QCOMPARE(record->mode(), EditorMode::Emulators);
        QCOMPARE(fieldText(record, "T4"), QString(""));
        typeInto(record, "T4", "-x");
        click(record, "Ok");
        flushClosedWindows();
        QCOMPARE(editor->rowCells(1),
                 QStringList({"Console", "c.exe", "C:\\console", "", "", "-x"}));

        ScriptedMessages messages;
        click(editor, "Salva");
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(
            library.read("Zanku.ini"),
            configRecord("Arcade", "arc.exe", library.path("arcade"), "zips", "snaps", "-f %") +
                configRecord("Console", "c.exe", "C:\\console", "", "", "-x"));
        QVERIFY(!library.exists("Choose an Emulator.rom"));
        QCOMPARE(library.files(), QStringList({"Arcade.rom", "Zanku.ini"}));
    }

    void askingForTheOtherModeReloadsWhenNothingIsLost()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("EMU");
        ScriptedMessages messages;
        QCOMPARE(openEditor("ROM"), editor);
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(editor->mode(), EditorMode::Roms);
        QCOMPARE(gridOf(editor)->columnCount(), 5);
        QCOMPARE(editor->rowCount(), 0);
        QVERIFY(part<QComboBox>(editor, "Emulator")->isVisible());
        QVERIFY(!part<QPushButton>(editor, "Aggiungi")->isEnabled());
        QVERIFY(pickEmulator(editor, "Arcade"));
        QCOMPARE(openEditor("EMU"), editor);
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(editor->mode(), EditorMode::Emulators);
        QCOMPARE(editor->rowCount(), 3);
    }

    void askingForTheOtherModeWithChangesAsksFirst_data()
    {
        QTest::addColumn<bool>("drop");
        QTest::newRow("kept") << false;
        QTest::newRow("dropped") << true;
    }
    void askingForTheOtherModeWithChangesAsksFirst()
    {
        QFETCH(bool, drop);
        EditorLibrary library;
        writeLibrary(library);
        const QByteArray config = library.read("Zanku.ini");
        OptionsFrm *editor = openEditor("EMU");
        clickRow(editor, 0);
        click(editor, "Rimuovi");
        const Rows changed = gridRows(editor);

        ScriptedMessages messages;
        messages.answers.enqueue(drop ? MessageAnswer::Yes : MessageAnswer::No);
        QCOMPARE(openEditor("ROM"), editor);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].buttons, MessageButtons::YesNo);
        if (drop) {
            QCOMPARE(editor->mode(), EditorMode::Roms);
            QCOMPARE(editor->rowCount(), 0);
            QVERIFY(!editor->hasUnsavedChanges());
        } else {
            QCOMPARE(editor->mode(), EditorMode::Emulators);
            QCOMPARE(gridRows(editor), changed);
            // Its Save still writes the emulator list, whatever EditMode says now.
            click(editor, "Salva");
            QVERIFY(library.read("Zanku.ini") != config);
            QCOMPARE(library.files(), QStringList({"Arcade.rom", "Zanku.ini"}));
        }
        QCOMPARE(library.read("Arcade.rom").count('\n'), 3);
    }

    void anOpenRecordCountsAsAChange()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsFrm *editor = openEditor("EMU");
        click(editor, "Aggiungi");
        QPointer<OptionsNewFrm> record = recordEditorOf(editor);

        // The editor waits for its record editor: closing it is put off.
        editor->close();
        flushClosedWindows();
        QCOMPARE(OptionsFrmWindow(), editor);
        QVERIFY(record != nullptr);

        ScriptedMessages messages;
        messages.answers.enqueue(MessageAnswer::Yes);
        QCOMPARE(openEditor("ROM"), editor);
        flushClosedWindows();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(record == nullptr);
        QVERIFY(editor->isEnabled());
        QVERIFY(!App().NewRowPending);
        QCOMPARE(editor->mode(), EditorMode::Roms);
    }

    void savesSurviveAModeReload()
    {
        EditorLibrary library;
        writeLibrary(library);
        App().GameCount = 77;
        OptionsFrm *editor = openEditor("EMU");
        ScriptedMessages messages;
        click(editor, "Salva");
        openEditor("ROM"); // nothing unsaved: reloads without a question
        QCOMPARE(editor->mode(), EditorMode::Roms);
        click(editor, "cancella");
        flushClosedWindows();
        QCOMPARE(App().GameCount, 1); // the earlier save still reloads the main list
    }
};

QTEST_MAIN(TestOptionsEditor)
#include "test_options_editor.moc"
