// bench-import: how long "Import Games" takes to scan an emulator's folders and fill its
// table, next to one bare readdir pass over the same folders, and how long the window's
// thread is ever held up meanwhile.
//
//   bench-import [--runs N] [--no-cold] [--dir PARENT]
//
// It builds an emulator directory of 50,000 game files and a zipped-game directory of
// 5,000 archives (two members each; one in ten archives has a member of its own name),
// with a ROM list naming 5,000 of the files, then measures in one run:
//   1. one readdir pass per folder (names only, as a floor);
//   2. ScanForImport alone, warm and (as root) cold, and each of its two steps: the names
//      (what the window shows at once) and the archives' central directories;
//   3. the window: picking the emulator until the table shows the names, and until it is
//      filled, and the longest gap between two ticks of a 1 ms timer on the window's
//      thread meanwhile (a stall).

#include "Measure.h"
#include "Report.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/import/ImportScan.h"
#include "core/library/Library.h"
#include "core/unzip/ArchiveMembers.h"
#include "ui/common/Messages.h"
#include "ui/import/ImportFrm.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <dirent.h>
#include <zip.h>

namespace {
constexpr int FileCount = 50000;
constexpr int ArchiveCount = 5000;
constexpr int ListedCount = 5000;
constexpr double WarmTargetMs = 1000.0;
constexpr double RatioTarget = 3.0;
constexpr double StallTargetMs = 50.0;

bool buildLibrary(const QString &root, QString &error)
{
    const QDir dir(root);
    if (!dir.mkpath(QStringLiteral("emu/zips")) || !dir.mkpath(QStringLiteral("emu/snaps"))) {
        error = QStringLiteral("cannot make the folders");
        return false;
    }
    QStringList listed;
    for (int i = 0; i < FileCount; ++i) {
        const QString name = QStringLiteral("Game_%1.nes").arg(i, 5, 10, QLatin1Char('0'));
        QFile file(dir.filePath(QStringLiteral("emu/") + name));
        if (!file.open(QIODevice::WriteOnly)) {
            error = file.errorString();
            return false;
        }
        if (i < ListedCount)
            listed << QStringLiteral("Game %1=%2===Other").arg(i).arg(name);
    }
    const QByteArray data(2048, 'x');
    for (int i = 0; i < ArchiveCount; ++i) {
        const QByteArray base = QByteArray::number(100000 + i);
        const QByteArray path =
            QFile::encodeName(dir.filePath(QStringLiteral("emu/zips/"))) + "Pack_" + base + ".zip";
        zip_t *zip = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
        const QByteArray first = i % 10 == 0 ? "Pack_" + base + ".sfc" : "game.sfc";
        for (const QByteArray &member : {first, QByteArray("readme.txt")}) {
            zip_source_t *source = zip_source_buffer(zip, data.constData(), 1024 + i % 7, 0);
            zip_file_add(zip, member.constData(), source, 0);
        }
        if (zip == nullptr || zip_close(zip) != 0) {
            error = QStringLiteral("cannot write %1").arg(QString::fromUtf8(path));
            return false;
        }
    }
    QFile list(dir.filePath(QStringLiteral("Bench.rom")));
    QFile config(dir.filePath(QStringLiteral("Zanku.ini")));
    const QByteArray record = "[Bench]\r\nemu.exe\r\n" + QFile::encodeName(dir.filePath("emu")) +
                              "\r\nzips\r\nsnaps\r\n\r\n;\r\n";
    if (!list.open(QIODevice::WriteOnly) || !config.open(QIODevice::WriteOnly) ||
        list.write(listed.join(QStringLiteral("\r\n")).toUtf8() + "\r\n") < 0 ||
        config.write(record) < 0) {
        error = QStringLiteral("cannot write the ROM list or Zanku.ini");
        return false;
    }
    return true;
}

// One readdir pass: the names, nothing else.
int readdirPass(const QString &directory)
{
    int count = 0;
    if (DIR *stream = opendir(QFile::encodeName(directory).constData())) {
        while (readdir(stream) != nullptr)
            ++count;
        closedir(stream);
    }
    return count;
}

void waitMs(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

struct WindowRun {
    double namesMs = 0; // pick to the names shown
    double fillMs = 0;  // pick to filled table
    double stallMs = 0; // longest gap between timer ticks
    int rows = 0;
};

// Picks the emulator in the window and waits for the filled table, with a 1 ms timer
// ticking on the window's thread all along.
WindowRun runWindow(zanku::Library &library)
{
    auto *window = new ImportFrm(library, nullptr); // deletes itself when closed
    window->show();
    auto *combo = window->findChild<QComboBox *>(QStringLiteral("Emulator"));
    auto *table = window->findChild<QTableView *>(QStringLiteral("Candidates"));
    QElapsedTimer clock;
    qint64 lastTick = 0, longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    bool finished = false;
    WindowRun run;
    QObject::connect(window, &ImportFrm::namesListed,
                     [&] { run.namesMs = double(clock.nsecsElapsed()) / 1e6; });
    QObject::connect(window, &ImportFrm::scanFinished, [&] { finished = true; });
    ticker.start(1);
    waitMs(50);
    clock.start();
    lastTick = 0;
    longest = 0;
    combo->setCurrentIndex(0); // as a player's pick: it runs on this thread, so it is timed too
    emit combo->activated(0);
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    run.fillMs = double(clock.nsecsElapsed()) / 1e6;
    waitMs(100); // the filled table paints
    ticker.stop();
    run.stallMs = double(longest) / 1e6;
    run.rows = table->model()->rowCount();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return run;
}

QString ms(double value)
{
    return QString::asprintf("%.1f ms", value);
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int runs =
        std::max(1, args.contains("--runs") ? args.value(args.indexOf("--runs") + 1).toInt() : 7);
    const bool cold = !args.contains("--no-cold");
    const QString parent =
        args.contains("--dir") ? args.value(args.indexOf("--dir") + 1) : QDir::tempPath();
    SetMessageHandler([](const MessageRequest &request) {
        out() << "message: " << request.text << "\n";
        return MessageAnswer::Ok;
    });
    const auto printNotice = [](const QString &, const QString &text) {
        out() << "message: " << text << "\n";
    };

    QTemporaryDir root(parent + QStringLiteral("/bench-import-XXXXXX"));
    QString error;
    out() << "Building " << FileCount << " files and " << ArchiveCount << " archives in "
          << root.path() << "...\n";
    out().flush();
    if (!root.isValid() || !buildLibrary(root.path(), error)) {
        out() << "cannot build the library: " << error << "\n";
        return 2;
    }
    zanku::Library library(root.path());
    QObject::connect(&library, &zanku::Library::notice, printNotice);
    QObject::connect(&library, &zanku::Library::pastVersion,
                     [&](const QString &text) { printNotice({}, text); });
    if (!library.ReadConfig() || library.EmulatorCount() < 1) {
        out() << "cannot read the emulator back from Zanku.ini\n";
        return 2;
    }
    const EmulatorRecord emulator = library.emulator(1);
    const std::vector<GameRecord> listed =
        ReadRomList(root.filePath(QStringLiteral("Bench.rom"))).records;
    const QString emuDir = root.filePath(QStringLiteral("emu"));
    const QString zipDir = root.filePath(QStringLiteral("emu/zips"));

    size_t candidates = 0;
    const auto scan = [&] {
        ImportScanControl control;
        candidates = ScanForImport(emulator, root.path(), listed, control).candidates.size();
    };
    // Where the scan's time goes: the files alone, and the archives' central directories.
    EmulatorRecord filesOnly = emulator;
    filesOnly.ZippedRomPath.clear();
    const auto scanFiles = [&] {
        ImportScanControl control;
        ScanForImport(filesOnly, root.path(), listed, control);
    };
    // The two steps of the scan, each timed alone.
    ImportScanResult listedNames; // kept, as the window keeps them: freeing them is not timed
    const auto listNames = [&] {
        ImportScanControl control;
        listedNames = ImportScan(emulator, root.path(), listed, control).listNames();
    };
    std::vector<double> archiveStep;
    const auto scanSteps = [&] {
        ImportScanControl control;
        ImportScan steps(emulator, root.path(), listed, control);
        const ImportScanResult names = steps.listNames();
        archiveStep.push_back(
            TimeMs([&] { steps.readArchives(names.candidates, [](auto &&) {}); }));
    };
    const QStringList archives = QDir(zipDir).entryList(QDir::Files);
    const auto readArchives = [&] {
        for (const QString &archive : archives)
            ReadArchiveMembers(zipDir + u'/' + archive);
    };
    int names = 0;
    const auto pass = [&] { names = readdirPass(emuDir) + readdirPass(zipDir); };

    std::vector<double> readdirWarm, scanWarm, scanCpu, readdirCold, scanCold, fill, stall,
        filesWarm, archivesWarm, namesWarm, namesCpu, namesCold, namesShown;
    QString why;
    bool canDrop = cold && DropCaches(why);
    for (int run = 0; run < 3 && canDrop; ++run) {
        DropCaches(why);
        readdirCold.push_back(TimeMs(pass));
        DropCaches(why);
        scanCold.push_back(TimeMs(scan));
        listedNames = {};
        DropCaches(why);
        namesCold.push_back(TimeMs(listNames));
    }
    pass();
    scan();
    for (int run = 0; run < runs; ++run) {
        readdirWarm.push_back(TimeMs(pass));
        double cpu = 0;
        scanWarm.push_back(TimeMs(scan, &cpu));
        scanCpu.push_back(cpu);
        listedNames = {}; // the last run's names are freed before the clock starts
        namesWarm.push_back(TimeMs(listNames, &cpu));
        namesCpu.push_back(cpu);
        scanSteps();
        filesWarm.push_back(TimeMs(scanFiles));
        archivesWarm.push_back(TimeMs(readArchives));
    }
    int rows = 0;
    runWindow(library); // uncounted
    for (int run = 0; run < std::max(3, runs / 2); ++run) {
        const WindowRun window = runWindow(library);
        namesShown.push_back(window.namesMs);
        fill.push_back(window.fillMs);
        stall.push_back(window.stallMs);
        rows = window.rows;
    }

    const double ratio = Median(scanWarm) / Median(readdirWarm);
    const double namesRatio = Median(namesWarm) / Median(readdirWarm);
    const double worstStall = *std::max_element(stall.begin(), stall.end());
    std::vector<TableLine> lines = {
        {QStringLiteral("one readdir pass per folder (55,000 names), warm"),
         ms(Median(readdirWarm)),
         {},
         {}},
        {QStringLiteral("scan to table filled (names): listNames, warm"),
         ms(Median(namesWarm)) + QStringLiteral(" (cpu %1)").arg(ms(Median(namesCpu))),
         {},
         {}},
        {QStringLiteral("ratio names / readdir pass, warm"), QString::number(namesRatio, 'f', 1),
         QStringLiteral("< 3.0"), Verdict(namesRatio < RatioTarget)},
        {QStringLiteral("archives: readArchives (5,000 central directories), warm"),
         ms(Median(archiveStep)),
         {},
         {}},
        {QStringLiteral("ScanForImport (both), warm (%1 candidates)").arg(candidates),
         ms(Median(scanWarm)) + QStringLiteral(" (cpu %1)").arg(ms(Median(scanCpu))),
         QStringLiteral("< 1000 ms"), Verdict(Median(scanWarm) < WarmTargetMs)},
        {QStringLiteral("ratio scan / readdir pass, warm"), QString::number(ratio, 'f', 1), {}, {}},
        {QStringLiteral("  of it: the 50,000 files alone (no zipped-game directory)"),
         ms(Median(filesWarm)),
         {},
         {}},
        {QStringLiteral("  of it: 5,000 central directories alone (ReadArchiveMembers)"),
         ms(Median(archivesWarm)),
         {},
         {}},
        {QStringLiteral("window: pick to names shown, warm"), ms(Median(namesShown)), {}, {}},
        {QStringLiteral("window: pick to filled table (%1 rows), warm").arg(rows), ms(Median(fill)),
         QStringLiteral("< 1000 ms"), Verdict(Median(fill) < WarmTargetMs)},
        {QStringLiteral("window: longest stall of its thread (worst of %1 runs)").arg(stall.size()),
         ms(worstStall), QStringLiteral("< 50 ms"), Verdict(worstStall < StallTargetMs)},
    };
    if (canDrop) {
        lines.push_back(
            {QStringLiteral("one readdir pass per folder, cold"), ms(Median(readdirCold)), {}, {}});
        lines.push_back({QStringLiteral("ScanForImport, cold"), ms(Median(scanCold)), {}, {}});
        lines.push_back({QStringLiteral("listNames, cold"), ms(Median(namesCold)), {}, {}});
        lines.push_back({QStringLiteral("ratio scan / readdir pass, cold"),
                         QString::number(Median(scanCold) / Median(readdirCold), 'f', 1),
                         {},
                         {}});
    } else {
        lines.push_back(
            {QStringLiteral("cold figures"), QStringLiteral("not measured: ") + why, {}, {}});
    }
    PrintTable(out(), lines);
    out() << "\nload average: " << LoadAverage() << "\n";
    return 0;
}
