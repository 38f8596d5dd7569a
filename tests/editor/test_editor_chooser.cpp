// The program and directory chooser, opened from the record editor's "..." buttons.

#include "EditorFixture.h"

#include "editor/DirFrm.h"

#include <QListWidget>
#include <QStorageInfo>

namespace {
// emu/ holds a program, a text file and a subdirectory; zips/ is empty.
OptionsNewFrm *openRecord(EditorLibrary &library, const QString &emulatorPath = {})
{
    library.write("emu/readme.txt");
    const QString program = library.write("emu/run.exe");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    QDir().mkpath(library.path("emu/sub"));
    QDir().mkpath(library.path("zips"));
    if (emulatorPath.isNull()) {
        click(openEditor("EMU"), "Aggiungi");
    } else {
        library.write("Zanku.ini", configRecord("Emu", "run.exe", emulatorPath));
        clickRow(openEditor("EMU"), 0, true);
    }
    return OptionsFrmWindow()->recordEditor();
}

DirFrm *openChooser(OptionsNewFrm *record, const QString &button)
{
    click(record, button);
    return record->chooser();
}

void doubleClick(QListWidget *list, QListWidgetItem *item)
{
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Double-clicks the directory list's entry for this directory.
bool openEntry(DirFrm *chooser, const QString &path)
{
    for (int row = 0; row < chooser->Dir1->count(); ++row) {
        if (chooser->Dir1->item(row)->data(Qt::UserRole).toString() == path)
            doubleClick(chooser->Dir1, chooser->Dir1->item(row));
    }
    return chooser->currentDirectory() == path;
}

QStringList files(DirFrm *chooser)
{
    QStringList names;
    for (int row = 0; row < chooser->File1->count(); ++row)
        names.append(chooser->File1->item(row)->text());
    return names;
}

void highlightProgram(DirFrm *chooser)
{
    QListWidgetItem *item = chooser->File1->findItems("run.exe", Qt::MatchExactly).value(0);
    QVERIFY(item != nullptr);
    QTest::mouseClick(chooser->File1->viewport(), Qt::LeftButton, {},
                      chooser->File1->visualItemRect(item).center());
}
} // namespace

class TestEditorChooser : public QObject {
    Q_OBJECT

private slots:
    void okFillsTheTargetField_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("ending");
        for (const char *button : {"DirT1", "DirT2", "DirT3"}) {
            QTest::addRow("%s OK", button) << button << "OK";
            QTest::addRow("%s Cancel", button) << button << "Cancel";
        }
        QTest::newRow("close box") << "DirT1"
                                   << "close box";
    }
    void okFillsTheTargetField()
    {
        QFETCH(QString, button);
        QFETCH(QString, ending);
        EditorLibrary library;
        OptionsNewFrm *record = openRecord(library);
        for (const char *field : {"T1", "T2", "T3"})
            type(record, field, QString("typed ") + field);
        QPointer<DirFrm> chooser = openChooser(record, button);
        QCOMPARE(chooser->windowTitle(), QString("Choose Emulator Directory"));
        QCOMPARE(App().DirTarget, button.right(1).toInt());
        QVERIFY(record->isEnabled() && !OptionsFrmWindow()->isEnabled()); // not modal
        // A new emulator has no directory: the lists start at the current one.
        QCOMPARE(chooser->currentDirectory(), library.path());
        QCOMPARE(chooser->Drive1->currentData().toString(),
                 QStorageInfo(library.path()).rootPath());
        QVERIFY(QDir(chooser->Dir1->item(0)->data(Qt::UserRole).toString()).isRoot());

        QVERIFY(openEntry(chooser, library.path("emu")));
        QCOMPARE(files(chooser), QStringList({"run.exe"}));
        highlightProgram(chooser);
        doubleClick(chooser->File1, chooser->File1->item(0));
        QCOMPARE(chooser->FileC->text(), QString("run.exe"));
        if (ending == "close box")
            chooser->close();
        else
            click(chooser, ending);
        flushClosedWindows();
        QVERIFY(chooser == nullptr && record->chooser() == nullptr);

        const QString emu = QDir::toNativeSeparators(library.path("emu"));
        const QString chosen = ending == "OK" ? button.right(1) : "";
        QCOMPARE(text(record, "T1"), chosen == "1" ? "run.exe" : "typed T1");
        QCOMPARE(text(record, "T2"), chosen == "2" ? emu : "typed T2");
        QCOMPARE(text(record, "T3"), chosen == "3" ? emu : "typed T3");
        QCOMPARE(record->emupath, chosen == "1" ? emu : "");
    }

    void aChosenProgramReachesTheGrid()
    {
        EditorLibrary library;
        OptionsNewFrm *record = openRecord(library);
        type(record, "T0", "Runner");
        type(record, "T1", "old.exe");
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("emu")));
        click(chooser, "OK"); // no file highlighted: an empty program
        QCOMPARE(text(record, "T1"), QString());
        ScriptedMessages messages;
        click(record, "Ok");
        QCOMPARE(messages.texts(), QStringList({"At Least Game and File MUST be added"}));

        chooser = openChooser(record, "DirT1");
        QCOMPARE(chooser->currentDirectory(), library.path("emu")); // starts at emupath
        highlightProgram(chooser);
        click(chooser, "OK");
        click(record, "Ok");
        const QString emu = QDir::toNativeSeparators(library.path("emu"));
        QCOMPARE(gridRows(OptionsFrmWindow()), Rows({{"Runner", "run.exe", emu, "", "", ""}}));
    }

    void startsAtTheEmulatorsDirectory_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("start");
        QTest::newRow("present") << "emu"
                                 << "emu";
        QTest::newRow("gone") << "vanished"
                              << "";
    }
    void startsAtTheEmulatorsDirectory()
    {
        QFETCH(QString, path);
        QFETCH(QString, start);
        EditorLibrary library;
        OptionsNewFrm *record = openRecord(library, library.path(path));
        QCOMPARE(record->emupath, library.path(path));
        DirFrm *chooser = openChooser(record, "DirT3");
        QCOMPARE(chooser->currentDirectory(), library.path(start));
        click(chooser, "OK"); // a directory, not the program: the emulator keeps its own
        click(record, "Ok");
        const QString snaps = QDir::toNativeSeparators(library.path(start));
        QCOMPARE(OptionsFrmWindow()->rowCells(0).mid(2, 3),
                 QStringList({library.path(path), "", snaps}));
    }

    void listsFollowTheOpenedDirectory()
    {
        EditorLibrary library;
        OptionsNewFrm *record = openRecord(library);
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("emu")));
        highlightProgram(chooser);
        QVERIFY(openEntry(chooser, library.path("emu/sub")));
        QVERIFY(chooser->selectedFile().isEmpty() && files(chooser).isEmpty());
        QVERIFY(openEntry(chooser, library.path("emu"))); // up the ladder
        QCOMPARE(files(chooser), QStringList({"run.exe"}));
        QVERIFY(chooser->selectedFile().isEmpty()); // the old highlight no longer counts

        // A directory that vanished, or a file, leaves the lists where they were.
        const int entries = chooser->Dir1->count();
        QVERIFY(QDir(library.path("emu/sub")).removeRecursively());
        QVERIFY(!openEntry(chooser, library.path("emu/sub")));
        QVERIFY(!chooser->openDirectory(library.path("emu/run.exe")));
        QCOMPARE(chooser->currentDirectory(), library.path("emu"));
        QCOMPARE(chooser->Dir1->count(), entries);
        QCOMPARE(files(chooser), QStringList({"run.exe"}));
    }

    void anotherButtonRetargetsTheOpenChooser()
    {
        EditorLibrary library;
        OptionsNewFrm *record = openRecord(library);
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("zips")));
        QCOMPARE(openChooser(record, "DirT2"), chooser); // the same window, where it was
        QCOMPARE(App().DirTarget, 2);
        QCOMPARE(chooser->currentDirectory(), library.path("zips"));
        click(chooser, "OK");
        QCOMPARE(text(record, "T2"), QDir::toNativeSeparators(library.path("zips")));
        QVERIFY(text(record, "T1").isEmpty() && record->emupath.isEmpty());
    }

    void theChooserClosesWithItsRecordEditor_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void theChooserClosesWithItsRecordEditor()
    {
        QFETCH(bool, closeBox);
        EditorLibrary library;
        QPointer<OptionsNewFrm> record = openRecord(library, library.path("zips"));
        OptionsFrm *editor = OptionsFrmWindow();
        const Rows before = gridRows(editor);
        QPointer<DirFrm> chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path()));
        QVERIFY(openEntry(chooser, library.path("emu")));
        highlightProgram(chooser);
        if (closeBox)
            record->close();
        else
            click(record, "Cancel");
        QVERIFY(!chooser->isVisible()); // at once, writing nothing
        flushClosedWindows();
        QVERIFY(record == nullptr && chooser == nullptr);
        QVERIFY(editor->isEnabled());
        QCOMPARE(gridRows(editor), before);
    }
};

QTEST_MAIN(TestEditorChooser)
#include "test_editor_chooser.moc"
