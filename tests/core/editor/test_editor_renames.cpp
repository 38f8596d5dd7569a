// What a Save of the emulator list renames, and when a ROM list already stands in the way:
// real ROM lists in a temporary folder.

#include "core/editor/EditorRenames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class EditorRenamesTest : public QObject {
    Q_OBJECT

private slots:
    void renames_data()
    {
        QTest::addColumn<QStringList>("loaded"); // by row; "" for a row added since
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("lists");   // the ROM lists on disk
        QTest::addColumn<QStringList>("renamed"); // "from>to", "!" when a list is in the way
        using L = QStringList;
        // clang-format off
        QTest::newRow("none") << L{"A", "B"} << L{"A", "B"} << L{} << L{};
        QTest::newRow("one, its list alone") << L{"A", "B"} << L{"A", "C"} << L{"B"} << L{"B>C"};
        QTest::newRow("onto a list") << L{"A"} << L{"C"} << L{"A", "C"} << L{"A>C!"};
        QTest::newRow("no list of its own") << L{"A"} << L{"C"} << L{"C"} << L{"A>C"};
        QTest::newRow("old name taken by another row") << L{"A", ""} << L{"C", "A"} << L{} << L{};
        QTest::newRow("swapped") << L{"A", "B"} << L{"B", "A"} << L{} << L{};
        // clang-format on
    }
    void renames()
    {
        QFETCH(QStringList, loaded);
        QFETCH(QStringList, names);
        QFETCH(QStringList, lists);
        QFETCH(QStringList, renamed);
        QTemporaryDir dir;
        for (const QString &list : lists) {
            QFile file(QDir(dir.path()).filePath(list + ".rom"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList found;
        for (const Rename &rename : RenamedEmulators(loaded, names))
            found << rename.first + '>' + rename.second +
                         (RomListInTheWay(dir.path(), rename) ? "!" : "");
        QCOMPARE(found, renamed);
    }
};

QTEST_GUILESS_MAIN(EditorRenamesTest)
#include "test_editor_renames.moc"
