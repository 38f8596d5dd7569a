// The pictures behind the covers and the snapshot: read within a pixel budget and in their
// own colours, failed reads and thumbnails kept by the file's identity, thumbnails written
// whole or not at all, and no cover read before a clear() shown after it.

#include "core/preview/CoverLoader.h"
#include "core/preview/PictureRead.h"
#include "core/preview/ThumbnailCache.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

#include <sys/resource.h>

namespace {
const QRgb Red = qRgb(200, 40, 30), Blue = qRgb(20, 60, 220);

template <typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}

// A picture all of `colour`; a one-bit one holds black besides, in its palette.
QImage oneColour(QSize size, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    if (format == QImage::Format_Mono)
        image.setColorTable({qRgb(0, 0, 0), colour}), image.fill(1);
    else
        image.fill(format == QImage::Format_Grayscale8 ? qGray(colour) : colour);
    return image;
}

QRgb centreOf(const QImage &image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}

bool near(QRgb a, QRgb b) // a JPEG's colours move a little
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) < 12;
}

bool stamp(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::Append) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

bool hasThumbnail(const QString &cache)
{
    return QDirIterator(cache, {"*.jpg", "*.png"}, QDir::Files, QDirIterator::Subdirectories)
        .hasNext();
}
} // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void readsWithinBudgetInItsColours_data();
    void readsWithinBudgetInItsColours();
    void keepsByTheFilesIdentity();
    void writesThumbnailsWhole();
    void dropsCoversReadBeforeAClear();
};

void PreviewTest::readsWithinBudgetInItsColours_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("read"); // fitted into 200 x 280; 0 x 0: refused
    const QSize tall(600, 840), over(5040, 5040);
    row("a one-colour 1-bit PNG", oneColour(tall, Red, QImage::Format_Mono), QByteArray("PNG"),
        QSize(200, 280));
    row("a PNG over 25 megapixels, refused from its header",
        oneColour(over, Red, QImage::Format_Mono), QByteArray("PNG"), QSize(0, 0));
    row("a JPEG over 25 megapixels, decoded small", oneColour(over, Red, QImage::Format_Grayscale8),
        QByteArray("JPG"), QSize(200, 200));
}

void PreviewTest::readsWithinBudgetInItsColours()
{
    QFETCH(QImage, picture);
    QFETCH(QByteArray, format);
    QFETCH(QSize, read);
    const QTemporaryDir dir;
    const QString path = dir.filePath("picture");
    QVERIFY(picture.save(path, format));
    PictureFailures failures;
    const QImage image = ReadPicture(path, QSize(200, 280), &failures);
    QCOMPARE(image.size(), read);
    QCOMPARE(failures.contains(PictureVersion(path)), read.isEmpty()); // not tried again
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            QVERIFY2(near(image.pixel(x, y), centreOf(picture)), qPrintable(QString::number(y)));
    }
}

void PreviewTest::keepsByTheFilesIdentity()
{
    // Two covers of one size and time swapped: each shows its own picture.
    const QTemporaryDir dir;
    const QString a = dir.filePath("a.bmp"), b = dir.filePath("b.bmp"), moved = dir.filePath("c");
    const QSize bound(100, 140);
    QVERIFY(oneColour({300, 420}, Red).save(a) && oneColour({300, 420}, Blue).save(b));
    const QDateTime time = QFileInfo(a).lastModified();
    QVERIFY(stamp(a, time) && stamp(b, time));
    const ThumbnailCache cache(dir.filePath("cache"));
    for (const QString &picture : {a, b})
        cache.store(picture, bound, ReadPicture(picture, bound));
    QVERIFY(QFile::rename(a, moved) && QFile::rename(b, a) && QFile::rename(moved, b));
    for (const QString &picture : {a, b}) {
        const QImage shown = cache.find(picture, bound);
        QVERIFY(shown.isNull() || near(centreOf(shown), centreOf(ReadPicture(picture, bound))));
    }

    // A picture remembered as unreadable is not read again, until it changes.
    PictureFailures failures;
    failures.insert(PictureVersion(a));
    QVERIFY(ReadPicture(a, bound, &failures).isNull());
    QVERIFY(!ReadPicture(b, bound, &failures).isNull());
    QVERIFY(stamp(a, time.addSecs(10)));
    QVERIFY(!ReadPicture(a, bound, &failures).isNull());
}

void PreviewTest::writesThumbnailsWhole()
{
    const QTemporaryDir dir;
    const QString picture = dir.filePath("art.bmp"), folder = dir.filePath("cache");
    QVERIFY(oneColour({300, 420}, Red).save(picture));
    const ThumbnailCache cache(folder);
    const QImage thumbnail = ReadPicture(picture, QSize(200, 280));
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit full{16, unlimited.rlim_max}; // a disk that takes 16 bytes a file
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    cache.store(picture, QSize(200, 280), thumbnail);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    // No thumbnail, nor a half one, nor what it was being written as.
    QVERIFY(!QDirIterator(folder, QDir::Files, QDirIterator::Subdirectories).hasNext());
    cache.store(picture, QSize(200, 280), thumbnail);
    QVERIFY(hasThumbnail(folder));
}

void PreviewTest::dropsCoversReadBeforeAClear()
{
    const QTemporaryDir dir;
    const QString art = dir.filePath("snaps/covers/g.png"), folder = dir.filePath("cache");
    QVERIFY(QDir().mkpath(dir.filePath("snaps/covers")));
    QVERIFY(oneColour({300, 420}, Red).save(art));
    zanku::CoverLoader loader(folder);
    QSignalSpy ready(&loader, &zanku::CoverLoader::coverReady);
    const zanku::GameKey key{"E", "Game", "g.zip"};
    const CoverPlace place{dir.filePath("snaps"), "Game", "g.zip", {}};
    QVERIFY(!loader.cover(key, place, QSize(100, 140)).ready);
    // The red one read and stored; its delivery waits for this thread's events.
    for (int waited = 0; !hasThumbnail(folder); ++waited) {
        QVERIFY(waited < 2000);
        QThread::msleep(10);
    }
    QVERIFY(oneColour({300, 420}, Blue).save(art));
    loader.clear(); // the catalogue read again
    while (!loader.cover(key, place, QSize(100, 140)).ready)
        QVERIFY(ready.wait(20000));
    QCOMPARE(centreOf(loader.cover(key, place, QSize(100, 140)).image), Blue);
    // A loader that goes while its workers still read waits for them, whatever they touch.
    for (int round = 0; round < 20; ++round) {
        zanku::CoverLoader leaving(dir.filePath("cache%1").arg(round));
        for (int game = 0; game < 8; ++game)
            leaving.cover({"E", QString::number(game), "g.zip"}, place, QSize(100, 140));
    }
}

QTEST_GUILESS_MAIN(PreviewTest)
#include "test_preview.moc"
