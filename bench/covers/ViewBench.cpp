#include "ViewBench.h"

#include "Measure.h"

#include "core/library/Library.h"
#include "ui/browser/GameListView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

namespace {
// The covers area of a maximised full-HD window.
constexpr QSize ViewSize(1280, 900);
constexpr int ScrolledTiles = 2000;

// Paints the covers until a paint shows every tile's picture; the milliseconds from the
// first paint to that one, and the first paint's own time.
struct Screen {
    double firstPaintMs = 0;
    double completeMs = 0;
};
Screen paintUntilComplete(GameListView &view, QListView &covers)
{
    QElapsedTimer timer;
    timer.start();
    covers.viewport()->repaint();
    Screen screen;
    screen.firstPaintMs = double(timer.nsecsElapsed()) / 1e6;
    while (!view.coversComplete() && timer.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        covers.viewport()->repaint();
    }
    screen.completeMs = double(timer.nsecsElapsed()) / 1e6;
    return screen;
}

// A view of the library's games as the main window has it, shown in the list.
std::unique_ptr<GameListView> listView(zanku::Library &library)
{
    auto view = std::make_unique<GameListView>(library, nullptr);
    view->resize(ViewSize);
    view->show();
    library.reload();
    QApplication::processEvents();
    view->findChild<QTableView *>(QStringLiteral("Lista"))->viewport()->repaint();
    return view;
}

QString ms(double value)
{
    return QString::asprintf("%.1f ms", value);
}
} // namespace

void addViewMeasurements(std::vector<TableLine> &lines, const CoverLibrary &coverLibrary, int runs)
{
    zanku::Library library(coverLibrary.fixture.programDir);
    library.start();
    std::vector<double> cold, coldTiles, warm;
    long listKiB = 0, coversKiB = 0;
    std::vector<double> frames;
    int tilesPerPage = 0;
    for (int run = 0; run < runs; ++run) {
        // Each run's thumbnails in a cache folder of its own, removed after: the first view
        // is cold.
        const QTemporaryDir cacheHome;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome.path()));
        {
            std::unique_ptr<GameListView> view = listView(library);
            listKiB = StatusKiB("VmRSS:");
            auto *covers = view->findChild<QListView *>(QStringLiteral("Covers"));
            view->setCoversShown(true);
            const Screen screen = paintUntilComplete(*view, *covers);
            coldTiles.push_back(screen.firstPaintMs);
            cold.push_back(screen.completeMs);

            if (run == 0) {
                // Page by page through 2,000 tiles: each Page Down and the paint it makes,
                // the pictures coming in between as they are read.
                const QModelIndex first = covers->model()->index(0, 0);
                const int perRow = std::max(1, covers->viewport()->width() /
                                                   std::max(1, covers->visualRect(first).width()));
                tilesPerPage =
                    perRow * std::max(1, covers->viewport()->height() /
                                             std::max(1, covers->visualRect(first).height()));
                covers->setCurrentIndex(first);
                for (int shown = 0; shown < ScrolledTiles; shown += tilesPerPage) {
                    QElapsedTimer frame;
                    frame.start();
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
                    QCoreApplication::sendEvent(covers, &press);
                    covers->viewport()->repaint();
                    frames.push_back(double(frame.nsecsElapsed()) / 1e6);
                    QApplication::processEvents(QEventLoop::AllEvents, 16);
                }
                paintUntilComplete(*view, *covers);
                coversKiB = StatusKiB("VmRSS:") - listKiB;
            }
        }
        // The same screen in a new view: its thumbnails come from the disk cache.
        std::unique_ptr<GameListView> view = listView(library);
        view->setCoversShown(true);
        warm.push_back(
            paintUntilComplete(*view, *view->findChild<QListView *>(QStringLiteral("Covers")))
                .completeMs);
    }
    std::sort(frames.begin(), frames.end());
    const double worst = frames.empty() ? 0 : frames.back();
    lines.push_back({QStringLiteral("view: first screen's tiles painted, cold"),
                     ms(Median(coldTiles)),
                     {},
                     {}});
    lines.push_back({QStringLiteral("view: first screen with every cover, cold"), ms(Median(cold)),
                     QStringLiteral("<= 1000 ms"), Verdict(Median(cold) <= 1000)});
    lines.push_back({QStringLiteral("view: first screen with every cover, warm cache"),
                     ms(Median(warm)), QStringLiteral("<= 100 ms"), Verdict(Median(warm) <= 100)});
    lines.push_back(
        {QStringLiteral("view: Page Down and paint through %1 tiles (%2 a page), median")
             .arg(ScrolledTiles)
             .arg(tilesPerPage),
         ms(Median(frames)), QStringLiteral("<= 8 ms"), Verdict(Median(frames) <= 8)});
    lines.push_back({QStringLiteral("view: Page Down and paint, worst"), ms(worst),
                     QStringLiteral("<= 16 ms"), Verdict(worst <= 16)});
    lines.push_back({QStringLiteral("view: the process's memory with the list shown (VmRSS)"),
                     QString::asprintf("%.1f MB", listKiB / 1024.0),
                     {},
                     {}});
    lines.push_back({QStringLiteral("view: covers' memory above the list's, after scrolling"),
                     QString::asprintf("%.1f MB", coversKiB / 1024.0), QStringLiteral("<= 80 MB"),
                     Verdict(coversKiB <= 80 * 1024)});
}
