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
        QTest::newRow("none") << QStringList{"A", "B"} << QStringList{"A", "B"} << QStringList{}
                              << QStringList{};
        QTest::newRow("one, its list alone") << QStringList{"A", "B"} << QStringList{"A", "C"}
                                             << QStringList{"B"} << QStringList{"B>C"};
        QTest::newRow("onto a list")
            << QStringList{"A"} << QStringList{"C"} << QStringList{"A", "C"} << QStringList{"A>C!"};
        QTest::newRow("no list of its own")
            << QStringList{"A"} << QStringList{"C"} << QStringList{"C"} << QStringList{"A>C"};
        QTest::newRow("old name taken by another row")
            << QStringList{"A", ""} << QStringList{"C", "A"} << QStringList{} << QStringList{};
        QTest::newRow("swapped") << QStringList{"A", "B"} << QStringList{"B", "A"} << QStringList{}
                                 << QStringList{};
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
