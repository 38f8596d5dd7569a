// bench-catalogue: how long the catalogue takes to load, sort and show, next to the
// cost of the plain presence tests it replaces.
//
//   bench-catalogue [--runs N] [--no-cold] [--keep] [--dir PARENT] [--games N]
//
// It builds a library of 100 emulators and 50,000 ROM list lines (or --games N lines,
// three quarters of them present) in a temporary directory, then measures in one run:
//   1. the naive presence tests: one stat per game, and one per archive for the games
//      whose file is absent, warm and (as root) cold;
//   2. ReadConfig + LoadCatalogue + FillGameList into a registered GameListModel;
//   3. sorting 50,000 rows alone;
//   4. start-up of the main window to its first paint, offscreen, in a child process
//      of its own (so its time and peak memory are those of a real start), also counted
//      from the moment the process was started;
//   5. peak memory.

#include "Fixture.h"
#include "Measure.h"
#include "Report.h"

#include "core/browse/GameListModel.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"
#include "core/library/Library.h"
#include "ui/browser/MainFrm.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

namespace {
constexpr int EmulatorCount = 100;
constexpr int DefaultLineCount = 50000;
constexpr int StartupRuns = 3;

// Targets for this machine.
constexpr double RatioTarget = 0.5;
constexpr double SortTargetMs = 40.0;
constexpr double StartupTargetMs = 400.0;
constexpr double ProcessStartupTargetMs = 300.0;
constexpr double PeakTargetMB = 120.0; // 10^6 bytes

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Counts the messages the program would have shown; nothing ever waits for a player.
int &messageCount()
{
    static int count = 0;
    return count;
}

// The windows' boxes.
void installCountingMessages()
{
    SetMessageHandler([](const MessageRequest &request) {
        ++messageCount();
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    });
}

// What the library would have the player told: a "Zanku.ini" of a past version always,
// its notices too when no window is there to show them as boxes.
void countLibraryMessages(zanku::Library &library, bool notices)
{
    QObject::connect(&library, &zanku::Library::pastVersion, [] { ++messageCount(); });
    if (notices)
        QObject::connect(&library, &zanku::Library::notice, [] { ++messageCount(); });
}

// Wall-clock and processor-time samples of one measure.
struct Samples {
    std::vector<double> wall;
    std::vector<double> cpu;

    void time(const std::function<void()> &work)
    {
        double cpuMs = 0;
        wall.push_back(TimeMs(work, &cpuMs));
        cpu.push_back(cpuMs);
    }
    double wallMedian() const { return Median(wall); }
    double cpuMedian() const { return Median(cpu); }
};

QString ms(double value)
{
    return QString::asprintf("%.1f ms", value);
}

// ---------------------------------------------------------------------------------
// The start-up child: a fresh process that starts the main window as the program does
// and reports its figures on one line.

class PaintWatcher : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// `startedNs`: CLOCK_MONOTONIC when the parent started this process.
int runStartupChild(int argc, char *argv[], const QString &programDir, qint64 startedNs)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication application(argc, argv);
    const double applicationMs = double(sinceMain.nsecsElapsed()) / 1e6;
    installCountingMessages();
    zanku::Library library(programDir);
    // The window shows the notices as boxes, which the handler counts.
    countLibraryMessages(library, false);

    QElapsedTimer timer;
    timer.start();
    MainFrm window(library);
    const double constructMs = double(timer.nsecsElapsed()) / 1e6;
    window.Form_Load();
    const double loadMs = double(timer.nsecsElapsed()) / 1e6 - constructMs;

    PaintWatcher watcher;
    auto *list = window.findChild<QTableView *>(QStringLiteral("Lista"));
    if (list == nullptr) {
        std::fprintf(stderr, "no game list in the main window\n");
        return 2;
    }
    list->viewport()->installEventFilter(&watcher);
    window.adjustSize();
    window.show();
    QElapsedTimer patience;
    patience.start();
    // The paint event is seen before the list paints; the round of processEvents that
    // delivered it returns only once the list and the window are painted.
    while (!watcher.painted && patience.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const double firstPaintMs = double(timer.nsecsElapsed()) / 1e6;
    const double sinceStartMs = double(monotonicNs() - startedNs) / 1e6;
    if (!watcher.painted) {
        std::fprintf(stderr, "the game list was never painted\n");
        return 2;
    }

    std::printf("RESULT application=%.3f construct=%.3f load=%.3f paint=%.3f start=%.3f rows=%d "
                "messages=%d peak_kib=%ld\n",
                applicationMs, constructMs, loadMs, firstPaintMs, sinceStartMs,
                window.model()->rowCount(), messageCount(), PeakResidentKiB());
    std::fflush(stdout);
    return 0;
}

struct StartupFigures {
    double application = 0, construct = 0, load = 0, paint = 0, sinceStart = 0;
    int rows = 0, messages = 0;
    long peakKiB = 0;
};

std::optional<StartupFigures> startChild(const QString &programDir, const QString &runtimeDir)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!runtimeDir.isEmpty())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--startup-child"), programDir, QString::number(monotonicNs())});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return std::nullopt;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("RESULT "))
            continue;
        QHash<QByteArray, QByteArray> values;
        for (const QByteArray &pair : line.mid(7).split(' ')) {
            const qsizetype equals = pair.indexOf('=');
            if (equals > 0)
                values.insert(pair.left(equals), pair.mid(equals + 1));
        }
        StartupFigures figures;
        figures.application = values.value("application").toDouble();
        figures.construct = values.value("construct").toDouble();
        figures.load = values.value("load").toDouble();
        figures.paint = values.value("paint").toDouble();
        figures.sinceStart = values.value("start").toDouble();
        figures.rows = values.value("rows").toInt();
        figures.messages = values.value("messages").toInt();
        figures.peakKiB = values.value("peak_kib").toLong();
        return figures;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------
// The measurements of the main process.

struct PresenceCounts {
    int files = 0;
    int archives = 0;
};

// The naive way: ask the file system about every game, then about its archive.
PresenceCounts naivePresence(const Fixture &fixture)
{
    PresenceCounts counts;
    for (const FixtureGame &game : fixture.games) {
        if (QFileInfo::exists(game.filePath))
            ++counts.files;
        else if (QFileInfo::exists(game.archivePath))
            ++counts.archives;
    }
    return counts;
}

void loadCatalogue(zanku::Library &library)
{
    library.ReadConfig();
    library.LoadCatalogue();
}

std::vector<GameListModel::Row> rowsOf(const Fixture &fixture)
{
    std::vector<GameListModel::Row> rows;
    rows.reserve(fixture.games.size());
    int slot = 0;
    for (const FixtureGame &game : fixture.games)
        rows.push_back({game.record.Name, game.record.Type, game.record.File, ++slot,
                        game.record.EmulatorIndex});
    return rows;
}

// The rows' emulators, by their places (0: none).
std::vector<GameListModel::Emulator> emulatorsOf(const Fixture &fixture)
{
    std::vector<GameListModel::Emulator> emulators(1);
    for (const EmulatorRecord &emulator : fixture.emulators)
        emulators.push_back({emulator.Name, {}});
    return emulators;
}

int runBenchmark(int runs, bool tryCold, bool keep, const QString &parent, int lineCount)
{
    installCountingMessages();

    QTemporaryDir directory(parent.isEmpty()
                                ? QDir::tempPath() + QStringLiteral("/bench-catalogue-XXXXXX")
                                : parent + QStringLiteral("/bench-catalogue-XXXXXX"));
    if (!directory.isValid()) {
        std::fprintf(stderr, "cannot create a temporary directory: %s\n",
                     qPrintable(directory.errorString()));
        return 1;
    }
    directory.setAutoRemove(!keep);

    Fixture fixture;
    QString error;
    const double buildMs = TimeMs([&] {
        if (!BuildFixture(directory.path(), EmulatorCount, lineCount, fixture, error))
            std::fprintf(stderr, "cannot build the library: %s\n", qPrintable(error));
    });
    if (!error.isEmpty())
        return 1;
    out() << "Library: " << fixture.emulators.size() << " emulators, " << fixture.games.size()
          << " ROM list lines (" << fixture.presentFiles << " files, " << fixture.archivesOnly
          << " only as archives, " << fixture.missing << " missing) in " << directory.path()
          << ", built in " << ms(buildMs) << "\n";
    out() << "Runs per figure: " << runs << " (median); load average at start " << LoadAverage()
          << "\n\n";
    out().flush();

    // 1. Naive presence tests, warm.
    PresenceCounts counts = naivePresence(fixture); // warms the caches
    if (counts.files != fixture.presentFiles || counts.archives != fixture.archivesOnly) {
        std::fprintf(stderr, "naive presence found %d files and %d archives, expected %d and %d\n",
                     counts.files, counts.archives, fixture.presentFiles, fixture.archivesOnly);
        return 1;
    }
    const int stats = int(fixture.games.size()) + (int(fixture.games.size()) - counts.files);
    Samples naiveSamples;
    for (int run = 0; run < runs; ++run)
        naiveSamples.time([&] { counts = naivePresence(fixture); });
    const double naiveWarm = naiveSamples.wallMedian();

    // 2. ReadConfig + LoadCatalogue + FillGameList (which sorts), warm. The model follows
    // the library as the main window's does.
    zanku::Library library(fixture.programDir);
    countLibraryMessages(library, true);
    GameListModel model;
    const QMetaObject::Connection filling =
        QObject::connect(&library, &zanku::Library::catalogueChanged, &model,
                         [&model, &library] { model.FillGameList(library); });
    loadCatalogue(library); // warms the caches
    const int kept = library.GameCount();
    if (kept != fixture.presentFiles + fixture.archivesOnly || model.rowCount() != kept) {
        std::fprintf(stderr, "the catalogue kept %d games (%d rows), expected %d\n", kept,
                     model.rowCount(), fixture.presentFiles + fixture.archivesOnly);
        return 1;
    }
    Samples loadSamples;
    for (int run = 0; run < runs; ++run)
        loadSamples.time([&] { loadCatalogue(library); });
    const double loadWarm = loadSamples.wallMedian();
    Samples fillSamples;
    for (int run = 0; run < runs; ++run)
        fillSamples.time([&] { model.FillGameList(library); });

    // Cold: the same two with the caches emptied before each run.
    std::optional<double> naiveCold;
    std::optional<double> loadCold;
    QString coldWhy = tryCold ? QString() : QStringLiteral("not asked for");
    if (tryCold) {
        const int coldRuns = std::max(1, std::min(runs, 3));
        std::vector<double> naiveColdSamples;
        std::vector<double> loadColdSamples;
        for (int run = 0; run < coldRuns && coldWhy.isEmpty(); ++run) {
            if (!DropCaches(coldWhy))
                break;
            naiveColdSamples.push_back(TimeMs([&] { counts = naivePresence(fixture); }));
            if (!DropCaches(coldWhy))
                break;
            loadColdSamples.push_back(TimeMs([&] { loadCatalogue(library); }));
        }
        if (coldWhy.isEmpty()) {
            naiveCold = Median(naiveColdSamples);
            loadCold = Median(loadColdSamples);
        }
        loadCatalogue(library); // back to warm for what follows
    }
    QObject::disconnect(filling);

    // 3. Sorting 50,000 rows alone.
    const std::vector<GameListModel::Row> allRows = rowsOf(fixture);
    GameListModel sortModel;
    Samples setRowsSamples;
    for (int run = 0; run < runs; ++run) {
        std::vector<GameListModel::Row> copy = allRows;
        setRowsSamples.time([&] { sortModel.setRows(std::move(copy), emulatorsOf(fixture)); });
    }
    const double setRowsMs = setRowsSamples.wallMedian();
    Samples sortSamples;
    for (int run = 0; run < runs; ++run) {
        sortModel.sortByColumn(1); // a different order to start from
        sortSamples.time([&] { sortModel.sortByColumn(0); });
    }
    const double sortByColumnMs = sortSamples.wallMedian();

    // Qt wants a private runtime directory; without one it complains on every start.
    QString runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeDir = fixture.root + QStringLiteral("/runtime");
        if (!QDir().mkpath(runtimeDir) ||
            !QFile::setPermissions(runtimeDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner))
            runtimeDir.clear();
    }

    // 4. Start-up, each in a fresh process; the first start only brings the program and
    // its libraries into the page cache and is not counted.
    std::vector<StartupFigures> starts;
    for (int run = 0; run <= StartupRuns; ++run) {
        const std::optional<StartupFigures> figures = startChild(fixture.programDir, runtimeDir);
        if (!figures) {
            std::fprintf(stderr, "the start-up process failed\n");
            return 1;
        }
        if (run > 0)
            starts.push_back(*figures);
    }
    std::vector<double> paints, constructs, loads, applications, sinceStarts;
    long startupPeakKiB = 0;
    int startupMessages = 0;
    for (const StartupFigures &figures : starts) {
        paints.push_back(figures.paint);
        sinceStarts.push_back(figures.sinceStart);
        constructs.push_back(figures.construct);
        loads.push_back(figures.load);
        applications.push_back(figures.application);
        startupPeakKiB = std::max(startupPeakKiB, figures.peakKiB);
        startupMessages += figures.messages;
    }
    const double startupMs = Median(paints);
    const double sinceStartMs = Median(sinceStarts);

    // 5. Peak memory.
    const long benchPeakKiB = PeakResidentKiB();
    const double startupPeakMB = double(startupPeakKiB) * 1024.0 / 1e6;

    // The report.
    out() << "Load average at end " << LoadAverage() << "\n";
    out() << "Details\n";
    out() << "  naive presence tests: " << stats << " stats for " << fixture.games.size()
          << " games, warm " << ms(naiveWarm) << " (CPU " << ms(naiveSamples.cpuMedian())
          << "), cold "
          << (naiveCold ? ms(*naiveCold) : QStringLiteral("not measured (") + coldWhy + u')')
          << "\n";
    out() << "  ReadConfig + LoadCatalogue + FillGameList: " << kept << " games kept, warm "
          << ms(loadWarm) << " (CPU " << ms(loadSamples.cpuMedian()) << "), cold "
          << (loadCold ? ms(*loadCold) : QStringLiteral("not measured")) << "; FillGameList alone "
          << ms(fillSamples.wallMedian()) << " (CPU " << ms(fillSamples.cpuMedian()) << ")\n";
    out() << "  ratio in CPU time, warm: "
          << QString::asprintf("%.2f", loadSamples.cpuMedian() / naiveSamples.cpuMedian()) << "\n";
    out() << "  sort of " << allRows.size() << " rows: setRows " << ms(setRowsMs) << " (CPU "
          << ms(setRowsSamples.cpuMedian()) << "), sortByColumn(0) " << ms(sortByColumnMs)
          << " (CPU " << ms(sortSamples.cpuMedian()) << ")\n";
    out() << "  start-up (median of " << starts.size() << " processes, " << starts.front().rows
          << " rows): QApplication " << ms(Median(applications)) << ", MainFrm constructed "
          << ms(Median(constructs)) << ", Form_Load " << ms(Median(loads)) << ", first paint at "
          << ms(startupMs) << " after construction began, " << ms(sinceStartMs)
          << " after the process was started\n";
    out() << "  peak memory: start-up process " << startupPeakKiB << " KiB, this benchmark "
          << benchPeakKiB << " KiB (library, copies and models included)\n";
    out() << "  messages counted: " << messageCount() << " here, " << startupMessages
          << " in the start-up processes\n\n";

    const QString Dash = QStringLiteral("-");
    std::vector<TableLine> table;
    table.push_back({QStringLiteral("naive presence tests, warm (%1 stats)").arg(stats),
                     ms(naiveWarm), Dash, Dash});
    table.push_back({QStringLiteral("naive presence tests, cold"),
                     naiveCold ? ms(*naiveCold) : QStringLiteral("not measured"), Dash, Dash});
    table.push_back({QStringLiteral("load + fill + sort (%1 games kept), warm").arg(kept),
                     ms(loadWarm), Dash, Dash});
    table.push_back({QStringLiteral("load + fill + sort, cold"),
                     loadCold ? ms(*loadCold) : QStringLiteral("not measured"), Dash, Dash});
    const double warmRatio = loadWarm / naiveWarm;
    table.push_back({QStringLiteral("ratio load+fill+sort / naive, warm"),
                     QString::asprintf("%.2f", warmRatio), QStringLiteral("<= 0.5"),
                     Verdict(warmRatio <= RatioTarget)});
    if (naiveCold && loadCold) {
        const double coldRatio = *loadCold / *naiveCold;
        table.push_back({QStringLiteral("ratio load+fill+sort / naive, cold"),
                         QString::asprintf("%.2f", coldRatio), QStringLiteral("<= 0.5"),
                         Verdict(coldRatio <= RatioTarget)});
    } else {
        table.push_back({QStringLiteral("ratio load+fill+sort / naive, cold"),
                         QStringLiteral("not measured"), QStringLiteral("<= 0.5"),
                         QStringLiteral("-")});
    }
    // The sort target is for 50,000 rows.
    const bool sortTarget = allRows.size() <= size_t(DefaultLineCount);
    const QString sortRows = QStringLiteral("sort %1 rows: ").arg(allRows.size());
    table.push_back({sortRows + QStringLiteral("setRows"), ms(setRowsMs),
                     sortTarget ? QStringLiteral("< 40 ms") : Dash,
                     sortTarget ? Verdict(setRowsMs < SortTargetMs) : Dash});
    table.push_back({sortRows + QStringLiteral("sortByColumn(0)"), ms(sortByColumnMs),
                     sortTarget ? QStringLiteral("< 40 ms") : Dash,
                     sortTarget ? Verdict(sortByColumnMs < SortTargetMs) : Dash});
    table.push_back(
        {QStringLiteral("start-up to first paint (%1 games, offscreen)").arg(starts.front().rows),
         ms(startupMs), QStringLiteral("< 400 ms"), Verdict(startupMs < StartupTargetMs)});
    table.push_back({QStringLiteral("start-up from process start to first paint"), ms(sinceStartMs),
                     QStringLiteral("<= 300 ms"), Verdict(sinceStartMs <= ProcessStartupTargetMs)});
    table.push_back({QStringLiteral("peak memory (start-up process, VmHWM)"),
                     QString::asprintf("%.1f MB", startupPeakMB), QStringLiteral("< 120 MB"),
                     Verdict(startupPeakMB < PeakTargetMB)});
    PrintTable(out(), table);
    out().flush();
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 4 && std::strcmp(argv[1], "--startup-child") == 0)
        return runStartupChild(argc, argv, QString::fromLocal8Bit(argv[2]),
                               std::strtoll(argv[3], nullptr, 10));

    QCoreApplication application(argc, argv);
    int runs = 7;
    bool tryCold = true;
    bool keep = false;
    QString parent;
    int lineCount = DefaultLineCount;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--runs" && i + 1 < arguments.size()) {
            runs = std::max(1, arguments.at(++i).toInt());
        } else if (argument == u"--no-cold") {
            tryCold = false;
        } else if (argument == u"--keep") {
            keep = true;
        } else if (argument == u"--dir" && i + 1 < arguments.size()) {
            parent = arguments.at(++i);
        } else if (argument == u"--games" && i + 1 < arguments.size()) {
            lineCount = std::max(EmulatorCount, arguments.at(++i).toInt());
        } else {
            std::fprintf(stderr,
                         "usage: %s [--runs N] [--no-cold] [--keep] [--dir PARENT] [--games N]\n",
                         argv[0]);
            return 2;
        }
    }
    return runBenchmark(runs, tryCold, keep, parent, lineCount);
}
