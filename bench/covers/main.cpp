// bench-covers: the core of the cover view on a library of 200,000 games (fifty emulators,
// the catalogue benchmark's Zanku.ini and ROM lists) where 20,000 have a 1000 x 1400 cover
// (half PNG box art, half JPEG covers). First the cover view itself (ViewBench.cpp), then
// zanku::CoverLoader alone:
//   a. cold: an empty disk cache and a fresh loader; the time from asking for a first
//      screen of 40 games until every coverReady has come (after dropping the page cache
//      when run as root, unless --no-drop);
//   b. warm: the disk cache of (a), a fresh loader (empty memory cache), the same screen;
//   c. the disk cache's bytes per cover, average and largest;
//   d. the resident memory (VmRSS) the loader grows by while 2,000 covers are loaded with
//      its default memory limit.
// Two screens are timed: 40 games that all have a cover (the worst case) and the first 40
// games of the ROM lists (about one in ten with a cover).
//
//   bench-covers [--games N] [--covers N] [--bound WxH] [--runs N] [--no-drop] [--keep]

#include "CoverLibrary.h"
#include "Measure.h"
#include "Report.h"
#include "ViewBench.h"

#include "core/preview/CoverLoader.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {
struct Options {
    int games = 200000;
    int covers = 20000;
    QSize bound{200, 280};
    int runs = 3;
    bool drop = true;
    bool keep = false;
};

Options parse(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const QString next = i + 1 < arguments.size() ? arguments[i + 1] : QString();
        if (a == QLatin1String("--games"))
            options.games = next.toInt(), ++i;
        else if (a == QLatin1String("--covers"))
            options.covers = next.toInt(), ++i;
        else if (a == QLatin1String("--runs"))
            options.runs = std::max(1, next.toInt()), ++i;
        else if (a == QLatin1String("--bound"))
            options.bound = QSize(next.section(u'x', 0, 0).toInt(), next.section(u'x', 1).toInt()),
            ++i;
        else if (a == QLatin1String("--no-drop"))
            options.drop = false;
        else if (a == QLatin1String("--keep"))
            options.keep = true;
    }
    return options;
}

// Asks for every tile as a paint would, then waits until each queued one has come; the
// milliseconds it took. `withPicture` counts the tiles that got an image.
double loadScreen(zanku::CoverLoader &loader, const std::vector<CoverTile> &screen, QSize bound,
                  int *withPicture = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    QSet<zanku::GameKey> waiting;
    for (const CoverTile &tile : screen) {
        if (!loader.cover(tile.key, tile.place, bound).ready)
            waiting.insert(tile.key);
    }
    QEventLoop loop;
    const QMetaObject::Connection arrived =
        QObject::connect(&loader, &zanku::CoverLoader::coverReady, [&](const zanku::GameKey &k) {
            waiting.remove(k);
            if (waiting.isEmpty())
                loop.quit();
        });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit); // a lost signal ends the run
    if (!waiting.isEmpty())
        loop.exec();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QObject::disconnect(arrived);
    if (!waiting.isEmpty())
        out() << "warning: " << waiting.size() << " covers never came\n";
    if (withPicture) {
        *withPicture = 0;
        for (const CoverTile &tile : screen)
            *withPicture += loader.cover(tile.key, tile.place, bound).image.isNull() ? 0 : 1;
    }
    return ms;
}

struct CacheSize {
    qint64 total = 0, largest = 0;
    int files = 0;
};

CacheSize measureCache(const QString &folder)
{
    CacheSize size;
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const qint64 bytes = QFileInfo(files.next()).size();
        size.total += bytes;
        size.largest = std::max(size.largest, bytes);
        ++size.files;
    }
    return size;
}

QString ms(double value)
{
    return QString::asprintf("%.1f ms", value);
}
} // namespace

int main(int argc, char *argv[])
{
    // The view's figures need widgets, drawn off screen unless a display is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const Options options = parse(application.arguments());
    QTemporaryDir dir;
    dir.setAutoRemove(!options.keep);
    CoverLibrary library;
    QString error;
    QElapsedTimer built;
    built.start();
    if (!BuildCoverLibrary(dir.path(), 50, options.games, options.covers, QSize(1000, 1400),
                           library, error)) {
        std::fprintf(stderr, "cannot build the library: %s\n", qPrintable(error));
        return 1;
    }
    out() << "Library: " << library.tiles.size() << " games of 50 emulators, "
          << library.covered.size() << " covers (" << library.distinctPictures
          << " distinct pictures, average "
          << library.pictureBytes / std::max(1, library.distinctPictures) / 1024
          << " KiB), built in " << built.elapsed() / 1000.0 << " s; bound " << options.bound.width()
          << "x" << options.bound.height() << "; " << QThread::idealThreadCount()
          << " worker threads; load average " << LoadAverage() << "\n";
    if (options.keep)
        out() << "Kept in " << dir.path() << "\n";
    out() << "\n";

    std::vector<CoverTile> coveredScreen,
        firstScreen(library.tiles.begin(), library.tiles.begin() + 40);
    for (int i = 0; i < 40; ++i)
        coveredScreen.push_back(library.tiles[size_t(library.covered[size_t(i)])]);

    std::vector<TableLine> lines;
    // The view first, while the process holds no memory freed by the loaders below.
    addViewMeasurements(lines, library, options.runs);
    for (const auto &[name, screen] : {std::pair{"40 games with covers", &coveredScreen},
                                       std::pair{"the first 40 games", &firstScreen}}) {
        std::vector<double> cold, warm;
        int pictures = 0;
        for (int run = 0; run < options.runs; ++run) {
            const QString cache = dir.filePath(
                QStringLiteral("cache-%1-%2").arg(run).arg(screen == &coveredScreen ? 1 : 2));
            QString why;
            if (options.drop && !DropCaches(why) && run == 0)
                out() << "page cache not dropped: " << why << "\n";
            {
                zanku::CoverLoader loader(cache);
                cold.push_back(loadScreen(loader, *screen, options.bound, &pictures));
            }
            zanku::CoverLoader loader(cache);
            warm.push_back(loadScreen(loader, *screen, options.bound));
        }
        const QString what =
            QString::fromLatin1(name) + QStringLiteral(" (%1 with a picture)").arg(pictures);
        lines.push_back({QStringLiteral("a. cold, ") + what, ms(Median(cold)),
                         QStringLiteral("<= 1000 ms"), Verdict(Median(cold) <= 1000)});
        lines.push_back({QStringLiteral("b. warm disk cache, fresh loader, ") + what,
                         ms(Median(warm)), QStringLiteral("<= 100 ms"),
                         Verdict(Median(warm) <= 100)});
    }

    // d. 2,000 covers not loaded before, with the default memory limit.
    const QString cache = dir.filePath(QStringLiteral("cache-many"));
    std::vector<CoverTile> many;
    for (int i = 40; i < int(library.covered.size()) && many.size() < 2000; ++i)
        many.push_back(library.tiles[size_t(library.covered[size_t(i)])]);
    const long before = StatusKiB("VmRSS:");
    double manyMs = 0;
    long grown = 0;
    {
        zanku::CoverLoader loader(cache);
        for (size_t i = 0; i < many.size(); i += 40) {
            const std::vector<CoverTile> screen(many.begin() + qsizetype(i),
                                                many.begin() +
                                                    qsizetype(std::min(i + 40, many.size())));
            manyMs += loadScreen(loader, screen, options.bound);
        }
        grown = StatusKiB("VmRSS:") - before;
    }
    const CacheSize size = measureCache(cache);
    const double average = double(size.total) / std::max(1, size.files) / 1024;
    lines.push_back({QStringLiteral("c. disk cache per cover: average (%1 files)").arg(size.files),
                     QString::asprintf("%.1f KB", average), QStringLiteral("<= 40 KB"),
                     Verdict(average <= 40)});
    lines.push_back({QStringLiteral("c. disk cache per cover: largest"),
                     QString::asprintf("%.1f KB", size.largest / 1024.0),
                     QStringLiteral("<= 40 KB"), Verdict(size.largest <= 40 * 1024)});
    lines.push_back(
        {QStringLiteral("d. VmRSS growth after %1 covers (64 MiB limit)").arg(many.size()),
         QString::asprintf("%.1f MB", grown / 1024.0),
         {},
         {}});
    lines.push_back({QStringLiteral("   %1 covers loaded cold, by screens of 40").arg(many.size()),
                     QString::asprintf("%.1f s (%.1f ms a cover)", manyMs / 1000,
                                       manyMs / std::max<size_t>(1, many.size())),
                     {},
                     {}});
    PrintTable(out(), lines);
    return 0;
}
