#include "browser/GameListModel.h"
#include "browser/SortKeys.h"

#include <QRandomGenerator>

#include <QTest>
#include <numeric>

namespace {
std::vector<GameListModel::Row> rows(const QList<QStringList> &cells)
{
    std::vector<GameListModel::Row> result;
    int slot = 1;
    for (const QStringList &row : cells)
        result.push_back({{row.value(0), row.value(1), row.value(2)}, slot++});
    return result;
}

QStringList column(const GameListModel &model, int column)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.cell(row, column));
    return result;
}
} // namespace

class SortKeysTest : public QObject {
    Q_OBJECT
private slots:
    void genericAscending_data();
    void genericAscending();
    void textOrderIsTheCollatorsOwn_data();
    void textOrderIsTheCollatorsOwn();
    void titleClickSortsRunsByName();
    void titleClickOnTheNameColumnHasNoSecondPass();
    void rowsKeepTheirSlotsAndTheSelectionFollows();
};

void SortKeysTest::genericAscending_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("numbers by value")
        << QStringList{"10", "9", "100", "-1", "2.5"} << QStringList{"-1", "2.5", "9", "10", "100"};
    QTest::newRow("numbers before text")
        << QStringList{"b", "3", "a", " 12 "} << QStringList{"3", " 12 ", "a", "b"};
    QTest::newRow("case ignored") << QStringList{"banana", "Apple", "cherry", "BANANA2"}
                                  << QStringList{"Apple", "banana", "BANANA2", "cherry"};
    QTest::newRow("equal keys keep their order")
        << QStringList{"b", "A", "B", "a", "A"} << QStringList{"A", "a", "A", "b", "B"};
    QTest::newRow("text that only starts with a number")
        << QStringList{"9 Ball", "10 Yard"} << QStringList{"10 Yard", "9 Ball"};
    QTest::newRow("empty cells first among text")
        << QStringList{"x", "", "1"} << QStringList{"1", "", "x"};
}

void SortKeysTest::genericAscending()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, sorted);
    const std::vector<QString> input(cells.begin(), cells.end());
    QStringList result;
    for (const int position : GenericSortOrder(input))
        result.append(input[size_t(position)]);
    QCOMPARE(result, sorted);
}

void SortKeysTest::textOrderIsTheCollatorsOwn_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("printable ascii and controls")
        << QString::fromLatin1(" !\"#$%&'()*+,-./0123456789:;<=>?@AaBbZz[\\]^_`{|}~\t");
    QTest::newRow("ascii with accents mixed in") << QStringLiteral("aAbBeE \u00e9\u00c9-_.z");
}

void SortKeysTest::textOrderIsTheCollatorsOwn()
{
    // Whatever shortcut the keys take, the order must be the collator's.
    QFETCH(QString, alphabet);
    QRandomGenerator random(20261206);
    std::vector<QString> cells;
    for (int i = 0; i < 3000; ++i) {
        QString cell;
        const int length = 1 + random.bounded(6);
        for (int c = 0; c < length; ++c)
            cell.append(alphabet.at(random.bounded(int(alphabet.size()))));
        if (!CellNumber(cell))
            cells.push_back(cell);
    }
    const QCollator collator = GenericCollator();
    std::vector<int> expected(cells.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        return collator.compare(cells[size_t(a)], cells[size_t(b)]) < 0;
    });
    const std::vector<int> order = GenericSortOrder(cells);
    for (size_t i = 0; i < cells.size(); ++i) {
        if (order[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("position %1: [%2] where the collator puts [%3]")
                                 .arg(i)
                                 .arg(cells[size_t(order[i])], cells[size_t(expected[i])])));
    }
}

void SortKeysTest::titleClickSortsRunsByName()
{
    GameListModel model;
    model.setRows(rows({{"e", "C"}, {"d", "B"}, {"c", "C"}, {"b", "B"}, {"a", "A"}}));
    model.sortByTitleClick(1);
    QCOMPARE(column(model, 1), (QStringList{"A", "B", "B", "C", "C"}));
    QCOMPARE(column(model, 0), (QStringList{"a", "b", "d", "c", "e"}));

    // Runs are made of equal text: "b" and "B" sort together but are separate runs.
    model.setRows(rows({{"a", "b", "3"}, {"b", "B", "2"}, {"c", "b", "1"}}));
    model.sortByColumn(2);
    model.sortByTitleClick(1);
    QCOMPARE(column(model, 1), (QStringList{"b", "B", "b"}));
    QCOMPARE(column(model, 0), (QStringList{"c", "b", "a"}));
}

void SortKeysTest::titleClickOnTheNameColumnHasNoSecondPass()
{
    GameListModel model;
    model.setRows(rows({{"b", "2"}, {"a", "9"}, {"a", "1"}}));
    model.sortByTitleClick(2);
    model.sortByTitleClick(0);
    QCOMPARE(column(model, 0), (QStringList{"a", "a", "b"}));
    QCOMPARE(column(model, 1), (QStringList{"9", "1", "2"}));
}

void SortKeysTest::rowsKeepTheirSlotsAndTheSelectionFollows()
{
    GameListModel model;
    model.setRows(rows({{"c", "1"}, {"a", "3"}, {"b", "2"}}));
    QCOMPARE(model.slotAt(0), 2);
    QCOMPARE(model.slotAt(2), 1);
    QCOMPARE(model.slotAt(3), 0);
    const QPersistentModelIndex current = model.index(0, 0); // "a", slot 2
    model.sortByTitleClick(1);
    QCOMPARE(column(model, 0), (QStringList{"c", "b", "a"}));
    QCOMPARE(current.row(), 2);
    QCOMPARE(model.slotAt(current.row()), 2);
}

QTEST_GUILESS_MAIN(SortKeysTest)
#include "test_sortkeys.moc"
