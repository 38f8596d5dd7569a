// The game list's order (the title clicks, numbers by value, the collator's order for
// text), the snapshot fitted to its frame, and the covers: found, read from hostile files,
// cached on disk and loaded on workers.

#include "core/browse/DeferredOrder.h"
#include "core/browse/GameListModel.h"
#include "core/browse/SortKeys.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/preview/CoverLoader.h"
#include "core/preview/PictureFit.h"
#include "core/preview/PictureRead.h"
#include "core/preview/ThumbnailCache.h"

#include <QBuffer>
#include <QCollator>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <future>
#include <numeric>
#include <thread>

#include <sys/stat.h>
#include <zlib.h>

using List = QStringList;

namespace {
template <typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}

// Makes a file of `bytes` below `root`, or a folder ("dir:...") or a named pipe ("fifo:...").
void makeEntry(const QString &root, const QString &entry, const QByteArray &bytes = {})
{
    const QString path = QDir(root).filePath(entry.section(':', -1));
    QDir().mkpath(entry.startsWith("dir:") ? path : QFileInfo(path).path());
    QFile file(path);
    if (entry.startsWith("fifo:"))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (!entry.startsWith("dir:"))
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A picture of noise (its bytes do not compress to nothing) in `format`.
QByteArray noise(QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(image.bits()),
                                          image.sizeInBytes() / 4);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A PNG or a baseline JPEG whose header claims another size (the PNG's checksum made right).
QByteArray claimingSize(QByteArray picture, quint16 width, quint16 height)
{
    if (!picture.startsWith("\x89PNG")) { // the JPEG's frame: height, then width
        const qsizetype frame = picture.indexOf("\xff\xc0") + 5;
        qToBigEndian(height, picture.data() + frame);
        qToBigEndian(width, picture.data() + frame + 2);
        return picture;
    }
    qToBigEndian(quint32(width), picture.data() + 16);
    qToBigEndian(quint32(height), picture.data() + 20);
    const auto header = reinterpret_cast<const Bytef *>(picture.constData() + 12);
    qToBigEndian(quint32(crc32(0, header, 17)), picture.data() + 29);
    return picture;
}
} // namespace

class BrowseTest : public QObject {
    Q_OBJECT
private slots:
    void sortsTheGrid_data();
    void sortsTheGrid();
    void textOrderIsTheCollatorsOwn();
    void longListFirstScreenThenTheRest_data();
    void longListFirstScreenThenTheRest();
    void fitsThePicture_data();
    void fitsThePicture();
    void findsTheSnapshot_data();
    void findsTheSnapshot();
    void readsPicturesSafely_data();
    void readsPicturesSafely();
    void cachesThumbnailsOnDisk_data();
    void cachesThumbnailsOnDisk();
    void loadsCoversOnWorkers();
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
    std::vector<GameListModel::Emulator> emulators;
    for (const QString &line : rows) {
        emulators.push_back({line.section('|', 2), {}});
        filled.push_back({line.section('|', 0, 0),
                          line.section('|', 1, 1),
                          {},
                          int(filled.size()) + 1,
                          int(filled.size())});
    }
    GameListModel model;
    model.setRows(filled, emulators);
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
    // Names as players' lists hold them, then random ones.
    std::vector<QString> cells;
    for (const char *name : {"Super Mario Bros. 3",
                             "Super Mario Bros.",
                             "super mario kart",
                             "The Legend of Zelda",
                             "Legend of Zelda, The - A Link to the Past (USA)",
                             "Street Fighter II' Turbo",
                             "Street Fighter II - The World Warrior",
                             "Street Fighter II Turbo",
                             "street fighter ii turbo",
                             "Street Fighter II",
                             "Mystery Mansion Z",
                             "Mystery Mansion A",
                             "R-Type",
                             "R.B.I. Baseball",
                             "Rtype",
                             "Ys I & II",
                             "F-Zero",
                             "F1 Race",
                             "Pac-Man",
                             "PAC-MAN",
                             "Pacman",
                             "Mega Man X3",
                             "Mega Man X",
                             "Q*bert",
                             "Donkey Kong Country 2: Diddy's Kong Quest",
                             "[BIOS] PlayStation",
                             "(Hack) Sonic",
                             "Sonic the Hedgehog 2 (World) (Rev A)",
                             "Sonic & Knuckles",
                             "Pok\u00e9mon Red",
                             "Pokemon Blue",
                             "Caf\u00e9 Racer",
                             "Zoo Keeper",
                             "zzz",
                             "007 Racing"})
        if (!CellNumber(QString::fromUtf8(name)))
            cells.push_back(QString::fromUtf8(name));
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
    // The sort, which compares the first ranks side by side, puts them in the same order,
    // keeping the order of cells the collator finds equal.
    std::vector<int> order(cells.size());
    std::iota(order.begin(), order.end(), 0);
    keys.sort(order.begin(), order.end());
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        const int expected = collator.compare(cells[size_t(order[i])], cells[size_t(order[i + 1])]);
        QVERIFY2(expected < 0 || (expected == 0 && order[i] < order[i + 1]),
                 qPrintable(cells[size_t(order[i])] + QStringLiteral(" | ") +
                            cells[size_t(order[i + 1])]));
    }
}

void BrowseTest::longListFirstScreenThenTheRest_data()
{
    QTest::addColumn<QString>("reader");
    QTest::newRow("a row past the first screen read at once") << "read";
    QTest::newRow("the rest sorted on the worker") << "worker";
    QTest::newRow("a new list while the worker sorts the old") << "refill";
}

void BrowseTest::longListFirstScreenThenTheRest()
{
    // Names repeat (equal ones keep their list order) and some read as numbers.
    QFETCH(QString, reader);
    QRandomGenerator random(20261207);
    const auto longList = [&random] {
        std::vector<QString> names;
        for (int i = 0; i < 3000; ++i)
            names.push_back(random.bounded(8) == 0
                                ? QString::number(random.bounded(100))
                                : QStringLiteral("Game %1").arg(random.bounded(2500)));
        return names;
    };
    const auto sorted = [](const std::vector<QString> &names, int offset) {
        std::vector<int> order(names.size());
        std::iota(order.begin(), order.end(), offset);
        const GenericSortKeys keys(names);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys.less(size_t(a - offset), size_t(b - offset));
        });
        return order;
    };
    const auto first = ptrdiff_t(zanku::DeferredOrder::FirstRows);
    const auto firstOf = [first](const std::vector<int> &order) {
        return std::vector<int>(order.begin(), order.begin() + first);
    };

    std::vector<QString> names = longList();
    std::vector<int> want = sorted(names, 1);
    zanku::DeferredOrder order;
    QSignalSpy ready(&order, &zanku::DeferredOrder::ready);
    QCOMPARE(firstOf(order.begin(GenericSortKeys(names), names.size(), 1)), firstOf(want));
    QVERIFY(order.pending());
    if (reader == "worker") {
        order.sortRest();
        QVERIFY(ready.wait());
    } else if (reader == "refill") {
        order.sortRest();
        names = longList();
        want = sorted(names, 1);
        QCOMPARE(firstOf(order.begin(GenericSortKeys(names), names.size(), 1)), firstOf(want));
        order.sortRest();
        QVERIFY(ready.wait());
        QTest::qWait(50);
        QCOMPARE(ready.size(), 1); // the old list's is never told
    }
    QCOMPARE(order.complete(), want);
    QVERIFY(!order.pending());

    // The list reads its rows past the first screen in order at once, and says nothing of
    // it: no one could have seen them out of order.
    std::vector<GameListModel::Row> rows;
    for (const QString &name : names)
        rows.push_back({name, {}, QString::number(rows.size()), int(rows.size()) + 1, 0});
    GameListModel model;
    model.setRows(rows);
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    for (int row = model.rowCount() - 1; row >= 0; --row)
        QCOMPARE(model.slotAt(row), want[size_t(row)]);
    QCOMPARE(layout.size(), 0);
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
    QTest::addColumn<QString>("cover"); // box art, else a title, else the snapshot
    const QString none;
    row("the classic order first", List{"g.png", "g.bmp", "g.gif"}, QString("g.gif"),
        QString("g.gif"));
    row("PNG, as emulators save them", List{"g.webp", "g.png"}, QString("g.png"), QString("g.png"));
    row("WebP last, any case", List{"g.WEBP", "other.png"}, QString("g.WEBP"), QString("g.WEBP"));
    row("the snapshot before a set's", List{"Named_Snaps/Mega_ Man.png", "g.jpg"}, QString("g.jpg"),
        QString("g.jpg"));
    row("a thumbnail set, by name", List{"Named_Snaps/Mega_ Man.png", "Named_Snaps/g.png"},
        QString("Named_Snaps/Mega_ Man.png"), QString("Named_Snaps/Mega_ Man.png"));
    row("a thumbnail set, by file", List{"Named_Snaps/g.png", "screenshots/g.png"},
        QString("Named_Snaps/g.png"), QString("Named_Snaps/g.png"));
    row("a media folder", List{"screenshots/g.jpg", "covers/g.png"}, QString("screenshots/g.jpg"),
        QString("covers/g.png"));
    row("none of its name", List{"gg.png", "g.txt", "Named_Snaps/Mega Man.png", "covers/g.gif"},
        none, none);
    row("box art by name",
        List{"Named_Boxarts/Mega_ Man.png", "Named_Boxarts/g.png", "covers/g.png", "g.png"},
        QString("g.png"), QString("Named_Boxarts/Mega_ Man.png"));
    row("box art by file", List{"Named_Boxarts/g.png", "covers/g.png"}, none,
        QString("Named_Boxarts/g.png"));
    row("covers: PNG before JPEG", List{"covers/g.jpg", "covers/g.png", "Named_Titles/g.png"}, none,
        QString("covers/g.png"));
    row("covers: JPEG", List{"covers/g.jpg", "Named_Titles/g.png"}, none, QString("covers/g.jpg"));
    row("a title by name", List{"Named_Titles/Mega_ Man.png", "Named_Titles/g.png", "g.png"},
        QString("g.png"), QString("Named_Titles/Mega_ Man.png"));
    row("title screens", List{"titlescreens/g.jpg", "Named_Snaps/g.png"},
        QString("Named_Snaps/g.png"), QString("titlescreens/g.jpg"));
    row("a folder or a pipe of a picture's name is none",
        List{"dir:Named_Boxarts/Mega_ Man.png", "fifo:covers/g.png", "titlescreens/g.jpg"}, none,
        QString("titlescreens/g.jpg"));
    // "meta/": pictures the game's details name (the first of them a folder here)
    row("the details' picture where the sets have none", List{"dir:meta/dir.png", "meta/g.png"},
        none, QString("meta/g.png"));
    row("the sets' own before the details'", List{"covers/g.png", "meta/g.png"}, none,
        QString("covers/g.png"));
}

void BrowseTest::findsTheSnapshot()
{
    QFETCH(QStringList, pictures);
    QFETCH(QString, shown);
    QFETCH(QString, cover);
    const QTemporaryDir emulator;
    for (const QString &picture : pictures)
        makeEntry(emulator.filePath("snaps"), picture);
    const zanku::EmulatorPlaces places({"E", "e", emulator.path(), "%", "snaps", ""},
                                       emulator.path());
    const QDir snaps(emulator.filePath("snaps"));
    const auto relative = [&](const QString &p) {
        return p.isEmpty() ? p : snaps.relativeFilePath(p);
    };
    QCOMPARE(relative(places.snapshotOf("g.zip", "Mega: Man")), shown);
    CoverPlace place = places.coverPlaceOf("g.zip", "Mega: Man");
    place.alsoPictures = QStringList{snaps.filePath("meta/dir.png"), snaps.filePath("meta/g.png")};
    QCOMPARE(relative(FindCover(place)), cover);
}

void BrowseTest::readsPicturesSafely_data()
{
    QTest::addColumn<QString>("entry"); // a file of these bytes, or a folder or a pipe
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("read"); // fitted into 200 x 280; 0 x 0: none
    const QByteArray png = noise({300, 300}, "PNG"), jpeg = noise({16, 16}, "JPG");
    const QString file("p");
    const QSize none(0, 0);
    row("a pipe", QString("fifo:p"), QByteArray(), none);
    row("a folder", QString("dir:p.png"), QByteArray(), none);
    row("a PNG cut short", file, png.left(png.size() / 2), none);
    row("random bytes (a PNG's second half)", file, png.mid(png.size() / 2), none);
    row("a header claiming 60000 x 60000", file, claimingSize(png, 60000, 60000), none);
    row("a side over 30000", file, claimingSize(jpeg, 60000, 1), none);
    // A JPEG cut short is decoded all the same, grey filled in.
    row("over 100 megapixels", file, claimingSize(jpeg, 12000, 12000), none);
    row("a WBMP: two zero bytes make one", file,
        QByteArray("\0\0\x10\x10", 4) + QByteArray(32, 'x'), none);
    row("a large one, scaled down", file, noise({3000, 2000}, "JPG"), QSize(200, 133));
    row("a small one, never scaled up", file, noise({120, 90}, "PNG"), QSize(120, 90));
}

void BrowseTest::readsPicturesSafely()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, read);
    const QTemporaryDir dir;
    makeEntry(dir.path(), entry, bytes);
    const QString path = dir.filePath(entry.section(':', -1));
    // On a thread of its own, so that a read that hangs fails the test instead.
    auto reading = std::make_shared<std::promise<QImage>>();
    std::future<QImage> picture = reading->get_future();
    std::thread([=] { reading->set_value(ReadPicture(path, QSize(200, 280))); }).detach();
    QVERIFY2(picture.wait_for(std::chrono::seconds(20)) == std::future_status::ready, "hung");
    QCOMPARE(picture.get().size(), read);
}

void BrowseTest::cachesThumbnailsOnDisk_data()
{
    QTest::addColumn<QImage>("thumbnail");
    QTest::addColumn<QString>("format");
    QImage flat(200, 280, QImage::Format_ARGB32); // art with alpha is mostly flat
    flat.fill(QColor(10, 20, 30, 99));
    row("opaque: JPEG", QImage::fromData(noise({200, 280}, "BMP")), QString("jpg"));
    row("with alpha: PNG", flat, QString("png"));
}

void BrowseTest::cachesThumbnailsOnDisk()
{
    QFETCH(QImage, thumbnail);
    QFETCH(QString, format);
    const QTemporaryDir dir;
    makeEntry(dir.path(), "art.png", noise({300, 420}, "PNG"));
    const QString picture = dir.filePath("art.png");
    const QSize bound(200, 280);
    const ThumbnailCache cache(dir.filePath("cache"));
    QVERIFY(cache.find(picture, bound).isNull());
    cache.store(picture, bound, thumbnail);

    QDirIterator files(dir.filePath("cache"), QDir::Files, QDirIterator::Subdirectories);
    const QFileInfo stored(files.next());
    QVERIFY(!files.hasNext() && stored.dir().dirName() == stored.fileName().left(2));
    QCOMPARE(stored.suffix(), format);
    QVERIFY2(stored.size() <= 40 * 1024, qPrintable(QString::number(stored.size())));
    QCOMPARE(cache.find(picture, bound).size(), thumbnail.size());
    QCOMPARE(qAlpha(cache.find(picture, bound).pixel(9, 9)), qAlpha(thumbnail.pixel(9, 9)));
    QVERIFY(cache.find(picture, QSize(100, 140)).isNull());

    // The same bytes saved later, then more bytes at the same time: made again each time.
    QFile file(picture);
    QVERIFY(file.open(QIODevice::Append));
    const QDateTime later = file.fileTime(QFileDevice::FileModificationTime).addSecs(10);
    QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
    QVERIFY(cache.find(picture, bound).isNull());
    cache.store(picture, bound, thumbnail);
    QVERIFY(!cache.find(picture, bound).isNull());
    QVERIFY(file.write("more") && file.flush());
    QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
    QVERIFY(cache.find(picture, bound).isNull());

    // A cache that cannot be written (a file stands in its place) only costs speed.
    const ThumbnailCache blocked(picture);
    blocked.store(picture, bound, thumbnail);
    QVERIFY(blocked.find(picture, bound).isNull());
    QCOMPARE(ReadPicture(picture, QSize(300, 420)).size(), QSize(300, 420));
}

void BrowseTest::loadsCoversOnWorkers()
{
    const QTemporaryDir dir;
    makeEntry(dir.path(), "snaps/Named_Boxarts/Mega_ Man.png", noise({300, 420}, "PNG"));
    const zanku::EmulatorPlaces places({"E", "e", dir.path(), "%", "snaps", ""}, dir.path());
    zanku::CoverLoader loader(dir.filePath("cache"));
    QSignalSpy ready(&loader, &zanku::CoverLoader::coverReady);
    const zanku::GameKey boxed{"E", "Mega: Man", "g.zip"}, bare{"E", "Plain", "p.zip"};
    const auto ask = [&](const zanku::GameKey &key) {
        return loader.cover(key, places.coverPlaceOf(key.file, key.name), QSize(100, 140));
    };
    for (const zanku::GameKey &key : {boxed, boxed, bare})
        QVERIFY(!ask(key).ready);
    while (ready.size() < 2)
        QVERIFY(ready.wait(10000));
    QTest::qWait(100); // a key asked twice is loaded once
    QCOMPARE(ready.size(), 2);
    QVERIFY(ask(boxed).ready && ask(bare).ready); // the two signals were theirs
    QCOMPARE(ask(boxed).image.size(), QSize(100, 140));
    QVERIFY(ask(bare).image.isNull());
}

QTEST_GUILESS_MAIN(BrowseTest)
#include "test_browse.moc"
