// The game list's order (the title clicks, numbers by value, the collator's order for
// text) and the snapshot fitted to its frame.

#include "core/browse/GameListModel.h"
#include "core/browse/SortKeys.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/preview/PictureFit.h"

#include <QCollator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using List = QStringList;

namespace {
template <typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
} // namespace

class BrowseTest : public QObject {
    Q_OBJECT
private slots:
    void sortsTheGrid_data();
    void sortsTheGrid();
    void textOrderIsTheCollatorsOwn();
    void fitsThePicture_data();
    void fitsThePicture();
    void findsTheSnapshot_data();
    void findsTheSnapshot();
};

void BrowseTest::sortsTheGrid_data()
{
    // Rows "name|type|emulator" as loaded (sorted by name), titles clicked, names in the end.
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QStringList>("sorted");
    row("numbers by value, before text", List{"10", "b", "9", "-1", " 12 ", "2.5", "9 Ball", ""},
        QList<int>{}, List{"-1", "2.5", "9", "10", " 12 ", "", "9 Ball", "b"});
    row("case ignored", List{"b", "A", "B", "a", "A"}, QList<int>{}, List{"A", "a", "A", "b", "B"});
    row("type title: runs by name", List{"e|C", "d|B", "c|C", "b|B", "a|A"}, QList<int>{1},
        List{"a", "b", "d", "c", "e"});
    row("runs as the sort sees them", List{"a|b|3", "b|B|2", "c|b|1"}, QList<int>{2, 1},
        List{"a", "b", "c"});
}

void BrowseTest::sortsTheGrid()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, sorted);
    std::vector<GameListModel::Row> filled;
    for (const QString &line : rows)
        filled.push_back({{line.section('|', 0, 0), line.section('|', 1, 1), line.section('|', 2)},
                          int(filled.size()) + 1});
    GameListModel model;
    model.setRows(filled);
    for (const int column : clicks)
        model.sortByTitleClick(column);
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(model.cell(row, 0), sorted.value(row));
}

void BrowseTest::textOrderIsTheCollatorsOwn()
{
    // Whatever shortcut the sort keys take for ASCII, the order must be the collator's.
    const QString alphabet =
        QString::fromUtf8(" !\"#$%&'()*+,-./09:;<=>?@AaBbZz[\\]^_`{|}~\t\u00e9\u00c9");
    QRandomGenerator random(20261206);
    std::vector<QString> cells;
    while (cells.size() < 3000) {
        QString cell;
        for (int c = 1 + random.bounded(6); c > 0; --c)
            cell.append(alphabet.at(random.bounded(int(alphabet.size()))));
        if (!CellNumber(cell))
            cells.push_back(cell);
    }
    const GenericSortKeys keys(cells);
    const QCollator collator = GenericCollator();
    for (size_t a = 0; a + 1 < cells.size(); ++a) {
        const int expected = collator.compare(cells[a], cells[a + 1]);
        const int got = keys.compare(a, a + 1);
        QVERIFY2((expected < 0) == (got < 0) && (expected > 0) == (got > 0),
                 qPrintable(cells[a] + QStringLiteral(" | ") + cells[a + 1]));
    }
}

void BrowseTest::fitsThePicture_data()
{
    QTest::addColumn<QSizeF>("picture"); // in a frame of 6135 x 5475 twips
    QTest::addColumn<QRectF>("box");     // centred 50 twips low, else at the previous (7, 9)
    row("taller than the frame: scaled to its height", QSizeF(5800, 6000),
        QRectF((6135 - 5800 * 5000 / 6000.) / 2, 287.5, 5800 * 5000 / 6000., 5000));
    row("a full-screen shot: scaled to its width", QSizeF(19200, 14400),
        QRectF(167.5, 612.5, 5800, 4350));
    row("fits: its own size, centred", QSizeF(960, 720), QRectF(2587.5, 2427.5, 960, 720));
    row("none: the design size", QSizeF(0, 0), QRectF(120, 260, 5895, 5055));
}

void BrowseTest::fitsThePicture()
{
    QFETCH(QSizeF, picture);
    QFETCH(QRectF, box);
    QCOMPARE(FitSnapshot(picture, QSizeF(5895, 5055), QSizeF(6135, 5475), QPointF(7, 9)), box);
}

void BrowseTest::findsTheSnapshot_data()
{
    QTest::addColumn<QStringList>("pictures"); // in the snapshot folder
    QTest::addColumn<QString>("shown");
    row("the classic order first", List{"g.png", "g.bmp", "g.gif"}, QString("g.gif"));
    row("PNG, as emulators save them", List{"g.webp", "g.png"}, QString("g.png"));
    row("WebP last, any case", List{"g.WEBP", "other.png"}, QString("g.WEBP"));
    row("the snapshot before a set's", List{"Named_Snaps/Mega_ Man.png", "g.jpg"},
        QString("g.jpg"));
    row("a thumbnail set, by name", List{"Named_Snaps/Mega_ Man.png", "Named_Snaps/g.png"},
        QString("Named_Snaps/Mega_ Man.png"));
    row("a thumbnail set, by file", List{"Named_Snaps/g.png", "screenshots/g.png"},
        QString("Named_Snaps/g.png"));
    row("a media folder", List{"screenshots/g.jpg", "covers/g.png"}, QString("screenshots/g.jpg"));
    row("none of its name", List{"gg.png", "g.txt", "Named_Snaps/Mega Man.png"}, QString());
}

void BrowseTest::findsTheSnapshot()
{
    QFETCH(QStringList, pictures);
    QFETCH(QString, shown);
    const QTemporaryDir emulator;
    for (const QString &picture : pictures) {
        QDir(emulator.path()).mkpath(QFileInfo("snaps/" + picture).path());
        QFile file(emulator.filePath("snaps/" + picture));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const zanku::EmulatorPlaces places({"E", "e", emulator.path(), "%", "snaps", ""},
                                       emulator.path());
    const QString found = places.snapshotOf("g.zip", "Mega: Man");
    QCOMPARE(found.isEmpty() ? QString() : QDir(emulator.filePath("snaps")).relativeFilePath(found),
             shown);
}

QTEST_MAIN(BrowseTest)
#include "test_browse.moc"
