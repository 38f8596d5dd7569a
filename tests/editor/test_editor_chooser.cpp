// The program and directory chooser, opened from the record editor's "..." buttons.

#include "EditorFixture.h"

#include "app/Twips.h"

#include <QListWidget>
#include <QStorageInfo>

namespace {
// emu/ holds a program, a text file and a subdirectory; zips/ and snaps/ are empty.
void writeLibrary(EditorLibrary &library)
{
    library.write("emu/readme.txt");
    const QString program = library.write("emu/run.exe");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    library.mkdir("emu/sub");
    library.mkdir("zips");
    library.mkdir("snaps");
}

OptionsNewFrm *addNewEmulator()
{
    OptionsFrm *editor = openEditor("EMU");
    click(editor, "Aggiungi");
    return editor->recordEditor();
}

DirFrm *openChooser(OptionsNewFrm *record, const char *button)
{
    click(record, button);
    return record->chooser();
}

QListWidgetItem *entryFor(QListWidget *list, const QString &path)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toString() == path)
            return list->item(row);
    }
    return nullptr;
}

void doubleClickEntry(QListWidget *list, QListWidgetItem *item)
{
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Opens a directory of the directory list by double-clicking its entry.
bool openEntry(DirFrm *chooser, const QString &path)
{
    QListWidgetItem *item = entryFor(chooser->Dir1, path);
    if (item == nullptr)
        return false;
    doubleClickEntry(chooser->Dir1, item);
    return chooser->currentDirectory() == path;
}

void clickFile(DirFrm *chooser, const QString &name)
{
    const QList<QListWidgetItem *> found = chooser->File1->findItems(name, Qt::MatchExactly);
    QVERIFY(found.size() == 1);
    chooser->File1->scrollToItem(found.first());
    QTest::mouseClick(chooser->File1->viewport(), Qt::LeftButton, {},
                      chooser->File1->visualItemRect(found.first()).center());
}

QStringList items(QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text().trimmed());
    return texts;
}
} // namespace

class TestChooser : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { closeEditorWindows(); }

    void opensAtTheCurrentDirectory()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(chooser != nullptr);
        QVERIFY(chooser->isVisible());
        QCOMPARE(chooser->windowTitle(), QString("Choose Emulator Directory"));
        QCOMPARE(chooser->size(), QSize(Twips(5715), Twips(3645)));
        QCOMPARE(App().DirTarget, 1);
        // Not modal: the record editor stays usable, the editor stays disabled.
        QVERIFY(record->isEnabled());
        QVERIFY(!OptionsFrmWindow()->isEnabled());

        QCOMPARE(chooser->currentDirectory(), library.path());
        const QStringList ladder = DirectoryLadder(library.path());
        QCOMPARE(chooser->Dir1->item(0)->data(Qt::UserRole).toString(), ladder.first());
        QCOMPARE(chooser->Dir1->currentItem()->data(Qt::UserRole).toString(), library.path());
        QVERIFY(entryFor(chooser->Dir1, library.path("emu")) != nullptr);
        QVERIFY(entryFor(chooser->Dir1, library.path("zips")) != nullptr);
        QCOMPARE(chooser->Drive1->currentData().toString(),
                 QStorageInfo(library.path()).rootPath());
        QVERIFY(chooser->File1->count() == 0);
    }

    void okFillsTheTargetField_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::newRow("program") << "DirT1"
                                 << "T1";
        QTest::newRow("zipped roms") << "DirT2"
                                     << "T2";
        QTest::newRow("snapshots") << "DirT3"
                                   << "T3";
    }
    void okFillsTheTargetField()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        typeInto(record, "T1", "typed.exe");
        typeInto(record, "T2", "typed zips");
        typeInto(record, "T3", "typed snaps");
        QPointer<DirFrm> chooser = openChooser(record, button.toLatin1().constData());
        QCOMPARE(App().DirTarget, button.right(1).toInt());

        QVERIFY(openEntry(chooser, library.path("emu")));
        QCOMPARE(items(chooser->File1), QStringList({"run.exe"}));
        clickFile(chooser, "run.exe");
        QCOMPARE(chooser->selectedFile(), QString("run.exe"));
        doubleClickEntry(chooser->File1, chooser->File1->item(0));
        QCOMPARE(chooser->FileC->text(), QString("run.exe"));
        click(chooser, "OK");
        flushClosedWindows();
        QVERIFY(chooser == nullptr);
        QVERIFY(record->chooser() == nullptr);

        const QString emu = QDir::toNativeSeparators(library.path("emu"));
        const QMap<QString, QString> expected = {{"T1", field == "T1" ? "run.exe" : "typed.exe"},
                                                 {"T2", field == "T2" ? emu : "typed zips"},
                                                 {"T3", field == "T3" ? emu : "typed snaps"}};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(fieldText(record, it.key().toLatin1().constData()), it.value());
        QCOMPARE(record->emupath, field == "T1" ? emu : QString());
    }

    void aChosenProgramReachesTheGrid()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        typeInto(record, "T0", "Runner");
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("emu")));
        clickFile(chooser, "run.exe");
        click(chooser, "OK");
        click(record, "Ok");
        flushClosedWindows();
        OptionsFrm *editor = OptionsFrmWindow();
        QVERIFY(editor->isEnabled());
        QCOMPARE(gridRows(editor),
                 Rows({{"Runner", "run.exe", QDir::toNativeSeparators(library.path("emu")), "", "",
                        ""}}));
    }

    void noFileHighlightedGivesAnEmptyProgram()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        typeInto(record, "T0", "Runner");
        typeInto(record, "T1", "old.exe");
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("emu")));
        click(chooser, "OK");
        flushClosedWindows();
        QCOMPARE(fieldText(record, "T1"), QString());
        QCOMPARE(record->emupath, QDir::toNativeSeparators(library.path("emu")));

        ScriptedMessages messages;
        click(record, "Ok");
        QCOMPARE(messages.texts(), QStringList({"At Least Game and File MUST be added"}));
        QCOMPARE(OptionsFrmWindow()->recordEditor(), record);
    }

    void cancelChangesNothing()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        typeInto(record, "T2", "before");
        QPointer<DirFrm> chooser = openChooser(record, "DirT2");
        QVERIFY(openEntry(chooser, library.path("zips")));
        click(chooser, "Cancel");
        flushClosedWindows();
        QVERIFY(chooser == nullptr);
        QCOMPARE(fieldText(record, "T2"), QString("before"));
        QVERIFY(record->emupath.isEmpty());

        // The close box is a Cancel too.
        chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("emu")));
        clickFile(chooser, "run.exe");
        chooser->close();
        flushClosedWindows();
        QVERIFY(fieldText(record, "T1").isEmpty());
        QVERIFY(record->emupath.isEmpty());
    }

    void startsAtTheEmulatorsDirectory_data()
    {
        QTest::addColumn<QString>("path"); // relative to the library
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
        writeLibrary(library);
        library.write("Zanku.ini", configRecord("Emu", "run.exe", library.path(path)));
        OptionsFrm *editor = openEditor("EMU");
        doubleClickRow(editor, 0);
        OptionsNewFrm *record = editor->recordEditor();
        QCOMPARE(record->emupath, library.path(path));
        DirFrm *chooser = openChooser(record, "DirT3");
        QCOMPARE(chooser->currentDirectory(), library.path(start));
        if (!start.isEmpty())
            QCOMPARE(items(chooser->File1), QStringList({"run.exe"}));

        // Nothing chosen for the program: the emulator keeps its directory.
        click(chooser, "Cancel");
        click(record, "Ok");
        flushClosedWindows();
        QCOMPARE(editor->rowCells(0).at(2), library.path(path));
    }

    void anotherDirectoryDropsTheHighlight()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("emu")));
        clickFile(chooser, "run.exe");
        QVERIFY(openEntry(chooser, library.path("emu/sub")));
        QVERIFY(chooser->selectedFile().isEmpty());
        QCOMPARE(chooser->File1->count(), 0);
        // Back up through the ladder: the file is listed again, not highlighted.
        QVERIFY(openEntry(chooser, library.path("emu")));
        QCOMPARE(items(chooser->File1), QStringList({"run.exe"}));
        QVERIFY(chooser->selectedFile().isEmpty());
        // A single click only highlights a directory.
        QListWidgetItem *sub = entryFor(chooser->Dir1, library.path("emu/sub"));
        QTest::mouseClick(chooser->Dir1->viewport(), Qt::LeftButton, {},
                          chooser->Dir1->visualItemRect(sub).center());
        QCOMPARE(chooser->currentDirectory(), library.path("emu"));
    }

    void aVanishedDirectoryLeavesTheLists()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        DirFrm *chooser = openChooser(record, "DirT2");
        QVERIFY(openEntry(chooser, library.path("emu")));
        const QStringList directories = items(chooser->Dir1);
        QVERIFY(QDir(library.path("emu/sub")).removeRecursively());
        QListWidgetItem *sub = entryFor(chooser->Dir1, library.path("emu/sub"));
        QVERIFY(sub != nullptr);
        doubleClickEntry(chooser->Dir1, sub);
        QCOMPARE(chooser->currentDirectory(), library.path("emu"));
        QCOMPARE(items(chooser->Dir1), directories);
        QCOMPARE(items(chooser->File1), QStringList({"run.exe"}));
        QVERIFY(!chooser->openDirectory(library.path("emu/run.exe"))); // a file
        QCOMPARE(chooser->currentDirectory(), library.path("emu"));
        click(chooser, "OK");
        QCOMPARE(fieldText(record, "T2"), QDir::toNativeSeparators(library.path("emu")));
    }

    void anotherButtonRetargetsTheOpenChooser()
    {
        EditorLibrary library;
        writeLibrary(library);
        OptionsNewFrm *record = addNewEmulator();
        DirFrm *chooser = openChooser(record, "DirT1");
        QVERIFY(openEntry(chooser, library.path("snaps")));
        QCOMPARE(openChooser(record, "DirT3"), chooser); // the same window, where it was
        QCOMPARE(App().DirTarget, 3);
        QCOMPARE(chooser->currentDirectory(), library.path("snaps"));
        click(chooser, "OK");
        QCOMPARE(fieldText(record, "T3"), QDir::toNativeSeparators(library.path("snaps")));
        QVERIFY(fieldText(record, "T1").isEmpty());
        QVERIFY(record->emupath.isEmpty());
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
        writeLibrary(library);
        library.write("Zanku.ini", configRecord("Emu", "old.exe", library.path("zips")));
        OptionsFrm *editor = openEditor("EMU");
        const Rows before = gridRows(editor);
        doubleClickRow(editor, 0);
        QPointer<OptionsNewFrm> record = editor->recordEditor();
        QPointer<DirFrm> chooser = openChooser(record, "DirT1");
        QCOMPARE(chooser->currentDirectory(), library.path("zips"));
        QVERIFY(openEntry(chooser, library.path())); // up the ladder, then down
        QVERIFY(openEntry(chooser, library.path("emu")));
        clickFile(chooser, "run.exe");

        if (closeBox)
            record->close();
        else
            click(record, "Cancel");
        QVERIFY(!chooser->isVisible()); // gone at once, not only when deleted
        flushClosedWindows();
        QVERIFY(record == nullptr);
        QVERIFY(chooser == nullptr);
        QVERIFY(editor->isEnabled());
        QCOMPARE(gridRows(editor), before);
        QVERIFY(!editor->hasUnsavedChanges());
    }
};

QTEST_MAIN(TestChooser)
#include "test_editor_chooser.moc"
