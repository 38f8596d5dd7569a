#include "core/input/PadKeys.h"

#include <QTest>

using zanku::PadInput;

class PadKeysTest : public QObject {
    Q_OBJECT
private slots:
    void actions_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("expand");
        QTest::addColumn<bool>("repeats");
        const auto row = [](const char *name, PadInput input, int key, bool expand, bool repeats) {
            QTest::newRow(name) << int(input) << key << expand << repeats;
        };
        row("up", PadInput::Up, Qt::Key_Up, false, true);
        row("down", PadInput::Down, Qt::Key_Down, false, true);
        row("left", PadInput::Left, Qt::Key_Left, false, true);
        row("right", PadInput::Right, Qt::Key_Right, false, true);
        row("left shoulder", PadInput::LeftShoulder, Qt::Key_PageUp, false, true);
        row("right shoulder", PadInput::RightShoulder, Qt::Key_PageDown, false, true);
        row("A", PadInput::South, Qt::Key_Return, false, false);
        row("B", PadInput::East, Qt::Key_Escape, false, false);
        row("Start", PadInput::Start, Qt::Key_Menu, false, false);
        row("Back", PadInput::Back, 0, true, false);
        row("Y", PadInput::North, Qt::Key_Menu, false, false);
    }
    void actions()
    {
        QFETCH(int, input);
        QFETCH(int, key);
        QFETCH(bool, expand);
        QFETCH(bool, repeats);
        const zanku::PadAction action = zanku::PadActionOf(PadInput(input));
        QCOMPARE(action.key, key);
        QCOMPARE(action.expand, expand);
        QCOMPARE(action.repeats, repeats);
    }
    void stick_data()
    {
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("direction");
        for (const auto &[axis, direction] :
             std::initializer_list<std::pair<int, int>>{{-32768, -1},
                                                        {-16385, -1},
                                                        {-16384, 0},
                                                        {0, 0},
                                                        {16383, 0},
                                                        {16384, 1},
                                                        {32767, 1}})
            QTest::addRow("%d", axis) << axis << direction;
    }
    void stick()
    {
        QFETCH(int, axis);
        QFETCH(int, direction);
        QCOMPARE(zanku::StickDirection(axis), direction);
    }
    // Pressed at 1000 and asked every millisecond: repeats at 1400, 1480, ... 1960.
    void repeatsCounted()
    {
        zanku::HeldRepeat repeat;
        QCOMPARE(repeat.due(2000), 0); // not held
        repeat.press(1000);
        QList<qint64> at;
        for (qint64 now = 1000; now <= 2000; ++now) {
            for (int n = repeat.due(now); n > 0; --n)
                at << now;
        }
        QCOMPARE(at, (QList<qint64>{1400, 1480, 1560, 1640, 1720, 1800, 1880, 1960}));
        QCOMPARE(repeat.due(2200), 3); // 2040, 2120, 2200: late asks still count each
        repeat.release();
        QCOMPARE(repeat.due(5000), 0);
    }
};

QTEST_APPLESS_MAIN(PadKeysTest)
#include "test_padkeys.moc"
