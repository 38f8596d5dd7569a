// bench-launch: how long the main window takes to launch a game and to show a snapshot.
//
//   bench-launch [--runs N] [--megabytes M] [--keep] [--dir PARENT]
//
// It builds a library in a temporary directory (one emulator, the stand-in that reports
// when it began to run; a plain game; a zipped game whose archive holds M MiB of
// compressible text, deflated; 1920x1080 snapshots as JPEG, GIF and BMP), starts the main
// window offscreen as the program does (construct, Form_Load, show), then measures, each
// figure the median of N runs after one uncounted run:
//   1. Enter on the grid to the emulator started, for the plain game: the program's own
//      time (until the key handler returns) and the rest, until the emulator's main;
//   2. the same for the zipped game, next to UnzipArchive alone on the same archive into
//      a fresh directory, run by run;
//   3. a click on a game's row (press and release, as a player clicks) until the click
//      handling returns, with the snapshot shown; for each picture format.
// Both processes read CLOCK_MONOTONIC, so their moments compare.

#include "Fixture.h"
#include "Measure.h"
#include "Report.h"

#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "core/catalogue/Config.h"
#include "core/launch/Launch.h"
#include "core/launch/PlayersFiles.h"
#include "core/library/Library.h"
#include "core/unzip/VBUnzBas.h"
#include "ui/browser/MainFrm.h"
#include "ui/common/Messages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <vector>

#include <sys/resource.h>

namespace {
// Targets for this machine.
constexpr double PlainTargetMs = 20.0;
constexpr double ZippedRatioTarget = 1.2;
constexpr double PreviewTargetMs = 50.0;

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Processor time of this process (all its threads), nanoseconds.
qint64 cpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Minor page faults of this process so far.
long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

double msBetween(qint64 from, qint64 to)
{
    return double(to - from) / 1e6;
}

// Counts the messages the program would have shown; nothing ever waits for a player.
int messageCount = 0;

void installCountingMessages()
{
    SetMessageHandler([](const MessageRequest &request) {
        ++messageCount;
        std::fprintf(stderr, "message \"%s\": %s\n", qPrintable(request.title),
                     qPrintable(request.text));
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    });
}

// A "Zanku.ini" of a past version would end the program after a box; the library's
// notices reach the handler above through the window's boxes.
void countPastVersion(zanku::Library &library)
{
    QObject::connect(&library, &zanku::Library::pastVersion, [](const QString &text) {
        ++messageCount;
        std::fprintf(stderr, "past version: %s\n", qPrintable(text));
    });
}

// The window's share of a launch. The library's launchStatus and launchBusy reach a
// first slot of the benchmark (connected before the window was made), then the window's
// own, then a second slot of the benchmark (connected after): the time between the two
// is what the window did with the signal. Slots run in the order they were connected.
struct WindowTiming {
    bool on = false;
    qint64 start = 0;
    double disable = 0; // launchBusy(true)
    double enable = 0;  // launchBusy(false)
    double status[3] = {};
    int statusIndex = 0;

    void begin()
    {
        *this = WindowTiming{};
        on = true;
    }
    void before()
    {
        if (on)
            start = monotonicNs();
    }
    void afterStatus()
    {
        if (on)
            status[std::min(statusIndex++, 2)] += msBetween(start, monotonicNs());
    }
    void afterBusy(bool busy)
    {
        if (on)
            (busy ? disable : enable) += msBetween(start, monotonicNs());
    }
};

// What the stand-in emulator reported.
struct Started {
    qint64 at = 0;    // CLOCK_MONOTONIC, nanoseconds
    qint64 size = -1; // size of the file its last argument names
};

QString startRecord(const LaunchFixture &fixture)
{
    return QDir(fixture.emulatorDir).filePath(QStringLiteral("started.txt"));
}

// Waits for the stand-in emulator's record and takes it. The wait itself costs nothing
// measured: the moment is the emulator's own.
std::optional<Started> waitForStart(const LaunchFixture &fixture)
{
    QFile record(startRecord(fixture));
    const qint64 giveUp = monotonicNs() + 10'000'000'000LL;
    while (!record.exists()) {
        if (monotonicNs() > giveUp)
            return std::nullopt;
        QThread::usleep(100);
    }
    if (!record.open(QIODevice::ReadOnly))
        return std::nullopt;
    Started started;
    for (const QByteArray &line : record.readAll().split('\n')) {
        if (line.startsWith("started="))
            started.at = line.mid(8).toLongLong();
        else if (line.startsWith("size="))
            started.size = line.mid(5).toLongLong();
    }
    record.close();
    record.remove();
    return started;
}

struct LaunchSample {
    double handlerMs = 0;    // Enter sent until the key handler returned
    double handlerCpuMs = 0; // processor time meanwhile, which a busy machine inflates less
    double totalMs = 0;      // Enter sent until the emulator's main
};

struct ClickSample {
    double pressMs = 0;   // the press: a new current row
    double releaseMs = 0; // the release: the click
    double paintMs = 0;   // the paint that follows, in the event loop
    QSize shown;          // the picture box's pixmap; empty when none
};

void selectRow(MainFrm &window, int row)
{
    auto *lista = window.findChild<QTableView *>(QStringLiteral("Lista"));
    lista->setCurrentIndex(window.shown()->index(row, 0));
}

class Bench {
public:
    Bench(MainFrm &window, zanku::Library &library, const LaunchFixture &fixture)
        : window_(window)
        , library_(library)
        , fixture_(fixture)
        , lista_(window.findChild<QTableView *>(QStringLiteral("Lista")))
        , snap_(window.findChild<QLabel *>(QStringLiteral("Snap")))
        , notPic_(window.findChild<QLabel *>(QStringLiteral("NotPic")))
    {
    }

    bool ready() const { return lista_ != nullptr && snap_ != nullptr && notPic_ != nullptr; }

    int rowOf(const char *name) const
    {
        const GameListModel *model = window_.model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->cell(row, 0) == QLatin1String(name))
                return row;
        }
        return -1;
    }

    // Enter on a row, as a player presses it; the row is made current beforehand, and
    // what an earlier launch extracted is removed beforehand, so neither is counted.
    std::optional<LaunchSample> launchByEnter(int row, Started &started)
    {
        lista_->setCurrentIndex(window_.shown()->index(row, 0));
        library_.CleanupExtraction();
        QFile::remove(startRecord(fixture_));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);

        QCoreApplication::processEvents(); // the window is painted, as a player sees it
        const qint64 cpuBefore = cpuNs();
        const qint64 sent = monotonicNs();
        QCoreApplication::sendEvent(lista_, &press);
        const qint64 returned = monotonicNs();
        const qint64 cpuAfter = cpuNs();
        QCoreApplication::sendEvent(lista_, &release);

        const std::optional<Started> record = waitForStart(fixture_);
        if (!record || !window_.isEnabled() ||
            window_.statusText() != QStringLiteral("Waiting for selection..."))
            return std::nullopt;
        started = *record;
        return LaunchSample{msBetween(sent, returned), msBetween(cpuBefore, cpuAfter),
                            msBetween(sent, record->at)};
    }

    // A click on a row as tests/browser drive it: the pointer moves there, then a press
    // and a release, each timed; then the paint they asked for.
    ClickSample click(int row)
    {
        const QPoint centre = lista_->visualRect(window_.shown()->index(row, 0)).center();
        QTest::mouseMove(lista_->viewport(), centre); // also paints what is pending
        ClickSample sample;
        const qint64 start = monotonicNs();
        QTest::mousePress(lista_->viewport(), Qt::LeftButton, {}, centre);
        const qint64 pressed = monotonicNs();
        QTest::mouseRelease(lista_->viewport(), Qt::LeftButton, {}, centre);
        const qint64 released = monotonicNs();
        QCoreApplication::processEvents();
        const qint64 painted = monotonicNs();
        sample.pressMs = msBetween(start, pressed);
        sample.releaseMs = msBetween(pressed, released);
        sample.paintMs = msBetween(released, painted);
        if (!notPic_->isVisible() && !snap_->pixmap().isNull())
            sample.shown = snap_->pixmap().size();
        return sample;
    }

private:
    MainFrm &window_;
    zanku::Library &library_;
    const LaunchFixture &fixture_;
    QTableView *lista_;
    QLabel *snap_;
    QLabel *notPic_;
};

// The resident set of this process in MB (10^6 bytes): a fork's cost grows with it.
double residentMB()
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() * 1024 / 1e6;
    }
    return 0;
}

QString ms(double value)
{
    return QString::asprintf("%.2f ms", value);
}

// The clean-up waits for the emulator to end: true once the extraction folder is gone.
bool removedOnceEnded(const LaunchFixture &fixture)
{
    const QString folder = QDir(fixture.emulatorDir).filePath(QStringLiteral("zipped.bin"));
    QElapsedTimer patience;
    patience.start();
    while (QFileInfo::exists(folder) && patience.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return !QFileInfo::exists(folder);
}

// Extraction alone, as the launch calls it, into a directory that does not exist yet;
// the directory is removed afterwards.
std::optional<double> extractAlone(const LaunchFixture &fixture, const QString &target)
{
    const qint64 start = monotonicNs();
    const int status = UnzipArchive(fixture.archive, target);
    const double elapsed = msBetween(start, monotonicNs());
    const bool whole =
        status == 0 && QFileInfo(QDir(target).filePath(QStringLiteral("zipped.bin"))).size() ==
                           fixture.zippedBytes;
    QDir(target).removeRecursively();
    return whole ? std::optional<double>(elapsed) : std::nullopt;
}

struct Options {
    int runs = 7;
    int megabytes = 64;
    bool keep = false;
    QString parent;
};

bool parseOptions(int argc, char *argv[], Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--runs") == 0 && hasValue)
            options.runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--megabytes") == 0 && hasValue)
            options.megabytes = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--dir") == 0 && hasValue)
            options.parent = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--keep") == 0)
            options.keep = true;
        else
            return false;
    }
    return true;
}

int fail(const char *what)
{
    std::fprintf(stderr, "bench-launch: %s\n", what);
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: bench-launch [--runs N] [--megabytes M] [--keep] "
                             "[--dir PARENT]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir directory((options.parent.isEmpty() ? QDir::tempPath() : options.parent) +
                            QStringLiteral("/bench-launch-XXXXXX"));
    if (!directory.isValid())
        return fail("cannot create a temporary directory");
    directory.setAutoRemove(!options.keep);
    const QDir root(directory.path());
    // Qt wants a private runtime directory; without one it complains at start.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = root.absoluteFilePath(QStringLiteral("runtime"));
        if (root.mkpath(runtime) &&
            QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }

    QApplication application(argc, argv);
    installCountingMessages();
    const QString loadAtStart = LoadAverage();

    LaunchFixture fixture;
    QString error;
    const QString programDir = root.absoluteFilePath(QStringLiteral("library"));
    const qint64 buildStart = monotonicNs();
    if (!root.mkpath(programDir) ||
        !BuildLaunchFixture(programDir, QStringLiteral(STAND_IN_EMULATOR),
                            qint64(options.megabytes) * 1024 * 1024, fixture, error)) {
        std::fprintf(stderr, "bench-launch: cannot build the library: %s\n", qPrintable(error));
        return 1;
    }
    out() << "Library in " << fixture.programDir << ", built in "
          << ms(msBetween(buildStart, monotonicNs())) << "\n"
          << "Zipped game: " << fixture.zippedBytes << " bytes in one deflated member, archive "
          << fixture.archiveBytes << " bytes\n"
          << "Snapshots " << SnapshotWidth << "x" << SnapshotHeight << ": JPEG "
          << fixture.snapshotBytes[0] << " bytes, GIF " << fixture.snapshotBytes[1]
          << " bytes, BMP " << fixture.snapshotBytes[2] << " bytes\n"
          << "Runs per figure: " << options.runs << " (median, after one uncounted run)\n"
          << "Platform: " << QGuiApplication::platformName() << "; load average at start "
          << loadAtStart << "\n\n";
    out().flush();

    // The main window, started as the program starts it, with the benchmark's timing
    // slots on either side of the window's own.
    zanku::Library library(fixture.programDir);
    countPastVersion(library);
    WindowTiming timing;
    QObject::connect(&library, &zanku::Library::launchStatus, [&timing] { timing.before(); });
    QObject::connect(&library, &zanku::Library::launchBusy, [&timing] { timing.before(); });
    MainFrm window(library);
    QObject::connect(&library, &zanku::Library::launchStatus, [&timing] { timing.afterStatus(); });
    QObject::connect(&library, &zanku::Library::launchBusy,
                     [&timing](bool busy) { timing.afterBusy(busy); });
    window.Form_Load();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return fail("the main window was never exposed");
    Bench bench(window, library, fixture);
    if (!bench.ready())
        return fail("the main window lacks its grid or picture box");
    const int plainRow = bench.rowOf(PlainGame);
    const int zippedRow = bench.rowOf(ZippedGame);
    const int noPictureRow = bench.rowOf(NoPictureGame);
    const int pictureRows[3] = {bench.rowOf(JpegGame), bench.rowOf(GifGame), bench.rowOf(BmpGame)};
    if (std::min({plainRow, zippedRow, noPictureRow, pictureRows[0], pictureRows[1],
                  pictureRows[2]}) < 0)
        return fail("a game of the library is missing from the grid");
    const int zippedSlot = window.model()->slotAt(zippedRow);
    if (!library.game(zippedSlot).Zipped)
        return fail("the zipped game was not catalogued as zipped");

    const int total = options.runs + 1;
    out() << "Resident memory before the launches: " << QString::asprintf("%.1f MB", residentMB())
          << "\n\n";
    out().flush();

    // 1. Plain launches, and the start of the process alone for comparison.
    std::vector<double> plainHandler, plainCpu, plainTotal, plainAfter, spawnCall, spawnAfter;
    for (int run = 0; run < total; ++run) {
        Started started;
        const std::optional<LaunchSample> sample = bench.launchByEnter(plainRow, started);
        if (!sample || started.size != 4096)
            return fail("the plain launch did not start the emulator with its game");
        QFile::remove(startRecord(fixture));
        QString why;
        const qint64 call = monotonicNs();
        const bool ok = zanku::EmulatorProcess::start(
                            fixture.program, {QStringLiteral("-run"), QStringLiteral("plain")},
                            QStringLiteral("emulator -run plain"), fixture.emulatorDir,
                            QCoreApplication::instance(), &why) != nullptr;
        const qint64 returned = monotonicNs();
        const std::optional<Started> alone = ok ? waitForStart(fixture) : std::nullopt;
        if (!alone)
            return fail("EmulatorProcess::start alone did not start the emulator");
        if (run == 0)
            continue;
        plainHandler.push_back(sample->handlerMs);
        plainCpu.push_back(sample->handlerCpuMs);
        plainTotal.push_back(sample->totalMs);
        plainAfter.push_back(sample->totalMs - sample->handlerMs);
        spawnCall.push_back(msBetween(call, returned));
        spawnAfter.push_back(msBetween(returned, alone->at));
    }

    // The same launch through the library's LaunchGame itself, the body of the key
    // handler, with the window's handling of each launchStatus and launchBusy timed; what
    // is left is LaunchGame's own work (ReadConfig, the paths, EmulatorProcess::start).
    std::vector<double> direct, disableCall, enableCall, rest;
    std::vector<double> statusCalls[3];
    for (int run = 0; run < total; ++run) {
        selectRow(window, plainRow);
        library.CleanupExtraction();
        QFile::remove(startRecord(fixture));
        QCoreApplication::processEvents();
        timing.begin();
        const qint64 start = monotonicNs();
        library.LaunchGame(window.model()->keyAt(plainRow));
        const double whole = msBetween(start, monotonicNs());
        timing.on = false;
        const double disable = timing.disable, enable = timing.enable;
        const double *status = timing.status;
        if (!waitForStart(fixture) || timing.statusIndex != 3)
            return fail("LaunchGame did not start the emulator");
        if (run == 0)
            continue;
        direct.push_back(whole);
        disableCall.push_back(disable);
        enableCall.push_back(enable);
        for (int i = 0; i < 3; ++i)
            statusCalls[i].push_back(status[i]);
        rest.push_back(whole - disable - enable - status[0] - status[1] - status[2]);
    }

    // The repaint that ends a launch (window enabled again, status text repainted at once)
    // on its own, and right after EmulatorProcess::start, with the minor page faults it takes.
    std::vector<double> repaintAlone, repaintAfterStart, faultsAlone, faultsAfterStart;
    for (int run = 0; run < total; ++run) {
        for (const bool afterStart : {false, true}) {
            window.setEnabled(false);
            window.setStatusText(QStringLiteral("Starting Game Plain Game.... Have Fun"));
            QCoreApplication::processEvents();
            QFile::remove(startRecord(fixture));
            if (afterStart) {
                QString why;
                if (zanku::EmulatorProcess::start(
                        fixture.program, {QStringLiteral("-run"), QStringLiteral("plain")},
                        QStringLiteral("emulator -run plain"), fixture.emulatorDir,
                        QCoreApplication::instance(), &why) == nullptr)
                    return fail("EmulatorProcess::start failed");
            }
            const long faultsBefore = minorFaults();
            const qint64 start = monotonicNs();
            window.setEnabled(true);
            window.setStatusText(QStringLiteral("Waiting for selection..."));
            const double elapsed = msBetween(start, monotonicNs());
            const double faults = double(minorFaults() - faultsBefore);
            if (afterStart && !waitForStart(fixture))
                return fail("EmulatorProcess::start did not start the emulator");
            if (run == 0)
                continue;
            (afterStart ? repaintAfterStart : repaintAlone).push_back(elapsed);
            (afterStart ? faultsAfterStart : faultsAlone).push_back(faults);
        }
    }

    // 2. Zipped launches and extraction alone, interleaved so both see the same machine;
    // the order alternates from run to run.
    std::vector<double> zippedHandler, zippedTotal, extraction, ratios;
    for (int run = 0; run < total; ++run) {
        std::optional<LaunchSample> sample;
        std::optional<double> alone;
        Started started;
        const QString target = root.absoluteFilePath(QStringLiteral("extract-%1").arg(run));
        const auto launch = [&] {
            sample = bench.launchByEnter(zippedRow, started);
            if (sample && started.size != fixture.zippedBytes)
                sample.reset();
            library.CleanupExtraction();
        };
        if (run % 2 == 0) {
            launch();
            alone = extractAlone(fixture, target);
        } else {
            alone = extractAlone(fixture, target);
            launch();
        }
        if (!sample)
            return fail("the zipped launch did not start the emulator with the extracted game");
        if (!alone)
            return fail("UnzipArchive alone did not extract the archive");
        if (!removedOnceEnded(fixture))
            return fail("the clean-up left the extraction behind");
        if (run == 0)
            continue;
        zippedHandler.push_back(sample->handlerMs);
        zippedTotal.push_back(sample->totalMs);
        extraction.push_back(*alone);
        ratios.push_back(sample->totalMs / *alone);
    }

    // 2b. The same zipped launch with a 1 MB save kept from an earlier run: copied back
    // into the folder before the emulator starts, moved out again at the clean-up.
    const QString saves = zanku::SavesFolder(fixture.programDir, QLatin1String(EmulatorName),
                                             library.game(zippedSlot).File);
    QDir().mkpath(saves);
    {
        QFile save(QDir(saves).filePath(QStringLiteral("save.srm")));
        if (!save.open(QIODevice::WriteOnly) || save.write(QByteArray(1 << 20, 's')) != 1 << 20)
            return fail("cannot write the save");
    }
    std::vector<double> savedTotal;
    for (int run = 0; run < total; ++run) {
        Started started;
        const std::optional<LaunchSample> sample = bench.launchByEnter(zippedRow, started);
        library.CleanupExtraction();
        if (!sample || !removedOnceEnded(fixture) ||
            QFileInfo(QDir(saves).filePath(QStringLiteral("save.srm"))).size() != 1 << 20)
            return fail("the zipped launch with a save did not keep the save");
        if (run > 0)
            savedTotal.push_back(sample->totalMs);
    }
    QDir(QFileInfo(saves).absolutePath()).removeRecursively();

    // 3. Snapshot previews: a click on a game's row after a click on a game without a
    // picture, so every timed click changes the selection as a player's does; then a
    // second click on the same row, which only repeats the preview.
    struct Preview {
        std::vector<double> click, press, release, paint, again;
        QSize shown;
    } previews[3];
    for (int run = 0; run < total; ++run) {
        for (int format = 0; format < 3; ++format) {
            bench.click(noPictureRow);
            const ClickSample first = bench.click(pictureRows[format]);
            const ClickSample second = bench.click(pictureRows[format]);
            if (first.shown.isEmpty() || second.shown != first.shown)
                return fail("a snapshot was not shown");
            Preview &preview = previews[format];
            preview.shown = first.shown;
            if (run == 0)
                continue;
            preview.click.push_back(first.pressMs + first.releaseMs);
            preview.press.push_back(first.pressMs);
            preview.release.push_back(first.releaseMs);
            preview.paint.push_back(first.paintMs);
            preview.again.push_back(second.pressMs + second.releaseMs);
        }
    }
    const QString loadAtEnd = LoadAverage();

    // The table.
    std::vector<TableLine> lines;
    const auto add = [&lines](const QString &what, const QString &figure,
                              const QString &target = {}, const QString &result = {}) {
        lines.push_back({what, figure, target, result});
    };
    const double plainOwn = Median(plainHandler);
    add(QStringLiteral("plain launch: Enter to key handler returned (own time)"), ms(plainOwn),
        QStringLiteral("< 20 ms"), Verdict(plainOwn < PlainTargetMs));
    add(QStringLiteral("  processor time of the handler"), ms(Median(plainCpu)));
    add(QStringLiteral("LaunchGame called directly, window's slots timed"), ms(Median(direct)));
    add(QStringLiteral("  setEnabled(false) on the window"), ms(Median(disableCall)));
    add(QStringLiteral("  status text \"Decompressing...\" (repaint)"), ms(Median(statusCalls[0])));
    add(QStringLiteral("  status text \"Starting Game...\" (repaint)"), ms(Median(statusCalls[1])));
    add(QStringLiteral("  setEnabled(true) on the window"), ms(Median(enableCall)));
    add(QStringLiteral("  status text \"Waiting...\" (repaint)"), ms(Median(statusCalls[2])));
    add(QStringLiteral("  the rest: ReadConfig, paths, EmulatorProcess::start"), ms(Median(rest)));
    add(QStringLiteral("EmulatorProcess::start alone: call to return"), ms(Median(spawnCall)));
    add(QStringLiteral("end-of-launch repaint alone (%1 minor faults)")
            .arg(Median(faultsAlone), 0, 'f', 0),
        ms(Median(repaintAlone)));
    add(QStringLiteral("end-of-launch repaint right after EmulatorProcess::start (%1 minor faults)")
            .arg(Median(faultsAfterStart), 0, 'f', 0),
        ms(Median(repaintAfterStart)));
    add(QStringLiteral("plain launch: Enter to emulator's main"), ms(Median(plainTotal)));
    add(QStringLiteral("plain launch: emulator's main after the handler returned"),
        ms(Median(plainAfter)));
    add(QStringLiteral("EmulatorProcess::start alone: emulator's main after its return"),
        ms(Median(spawnAfter)));

    const double zippedMs = Median(zippedTotal);
    const double extractionMs = Median(extraction);
    const double ratio = zippedMs / extractionMs;
    add(QStringLiteral("zipped launch (%1 MiB): Enter to key handler returned")
            .arg(options.megabytes),
        ms(Median(zippedHandler)));
    add(QStringLiteral("zipped launch: Enter to emulator's main"), ms(zippedMs));
    add(QStringLiteral("UnzipArchive alone, same archive, fresh directory"), ms(extractionMs));
    add(QStringLiteral("ratio zipped launch / extraction (of the medians)"),
        QString::asprintf("%.3fx", ratio), QStringLiteral("<= 1.2x"),
        Verdict(ratio <= ZippedRatioTarget));
    add(QStringLiteral("ratio zipped launch / extraction (median run by run)"),
        QString::asprintf("%.3fx", Median(ratios)));
    add(QStringLiteral("zipped launch with a 1 MB save kept: Enter to emulator's main"),
        ms(Median(savedTotal)));

    static const char *const FormatNames[3] = {"JPEG", "GIF", "BMP"};
    for (int format = 0; format < 3; ++format) {
        const Preview &preview = previews[format];
        const double click = Median(preview.click);
        const QString name = QString::fromLatin1(FormatNames[format]);
        add(QStringLiteral("preview %1 %2x%3 (shown %4x%5): click, press + release")
                .arg(name)
                .arg(SnapshotWidth)
                .arg(SnapshotHeight)
                .arg(preview.shown.width())
                .arg(preview.shown.height()),
            ms(click), QStringLiteral("< 50 ms"), Verdict(click < PreviewTargetMs));
        add(QStringLiteral("  %1: press (new current row)").arg(name), ms(Median(preview.press)));
        add(QStringLiteral("  %1: release (clicked)").arg(name), ms(Median(preview.release)));
        add(QStringLiteral("  %1: click on the row already current").arg(name),
            ms(Median(preview.again)));
        add(QStringLiteral("  %1: paint after the click").arg(name), ms(Median(preview.paint)));
    }
    PrintTable(out(), lines);
    out() << "\nMessages shown: " << messageCount << "; load average at end " << loadAtEnd << "\n";
    out().flush();
    window.close();
    return messageCount == 0 ? 0 : 1;
}
