// bench-history: what a large "Zanku.played" adds to start-up. It writes a history of
// 200,000 games (or --games N; twenty emulators, names of three words and a number, one
// in nine with an accent, most played once or more, one in ten a favourite) in a
// temporary directory, then measures:
//   1. its load, as Library::start reads it, in a fresh process of its own: time, and how
//      much the process's resident and peak memory grew;
//   2. the same load warm, in this process (median of --runs);
//   3. saves (the file re-read under its lock, merged, written): after a launch, a star, a
//      new game's launch, and a launch after another Zanku saved;
//   4. recent(1000) and recent(10) (the Recently Played menu) and find() (a painted row);
//   5. what a star and a launch cost the window's thread, the save itself run on a worker
//      (PlayHistorySave): the change and the save handed over, then its result taken back.
//
//   bench-history [--games N] [--runs N] [--keep]   (--keep: the directory stays, for profiling)

#include "HistoryFixture.h"
#include "Measure.h"
#include "Report.h"

#include "core/gamedata/PlayHistory.h"
#include "core/gamedata/PlayHistorySave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <array>
#include <cstdio>
#include <random>

namespace {
constexpr double LoadTargetMs = 50.0;
constexpr double MemoryTargetMB = 30.0; // 10^6 bytes
constexpr double SaveTargetMs = 150.0;

// The child: one load, as at start-up, with the memory it took.
int loadChild(const QString &programDir)
{
    const long rssBefore = StatusKiB("VmRSS:"), peakBefore = StatusKiB("VmHWM:");
    zanku::PlayHistory history;
    double cpuMs = 0;
    const double wallMs = TimeMs([&] { history.load(programDir); }, &cpuMs);
    std::printf("RESULT wall=%.3f cpu=%.3f rss_kib=%ld peak_kib=%ld games=%zu\n", wallMs, cpuMs,
                StatusKiB("VmRSS:") - rssBefore, StatusKiB("VmHWM:") - peakBefore,
                size_t(history.count()));
    return 0;
}

QString ms(double value)
{
    return QString::asprintf("%.1f ms", value);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QLatin1String("--load-child"))
        return loadChild(arguments.value(2));
    int games = 200000, runs = 7;
    bool keep = false;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--keep"))
            keep = true;
        else if (arguments[i] == QLatin1String("--games") && i + 1 < arguments.size())
            games = arguments[++i].toInt();
        else if (arguments[i] == QLatin1String("--runs") && i + 1 < arguments.size())
            runs = std::max(1, arguments[++i].toInt());
    }
    QTemporaryDir directory;
    directory.setAutoRemove(!keep);
    if (!directory.isValid() ||
        !WriteHistoryFixture(directory.path(), games, QStringLiteral("Emulator"), true)) {
        std::fprintf(stderr, "cannot write the history\n");
        return 1;
    }
    const qint64 bytes = QFileInfo(directory.filePath(QStringLiteral("Zanku.played"))).size();
    if (keep)
        out() << "Kept in " << directory.path() << "\n";
    out() << "History: " << games << " games, " << bytes / 1000 << " kB; load average "
          << LoadAverage() << "\n\n";

    // 1. Fresh processes; the first only brings the program and the file into the caches.
    std::vector<double> wall, cpu, rss, peak;
    for (int run = 0; run <= 3; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--load-child"), directory.path()});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "the load process failed\n");
            return 1;
        }
        const QByteArray line = child.readAllStandardOutput().trimmed();
        double w = 0, c = 0;
        long r = 0, p = 0;
        size_t read = 0;
        if (std::sscanf(line.constData(),
                        "RESULT wall=%lf cpu=%lf rss_kib=%ld peak_kib=%ld games=%zu", &w, &c, &r,
                        &p, &read) != 5 ||
            read != size_t(games)) {
            std::fprintf(stderr, "the load process read %zu games: %s\n", read, line.constData());
            return 1;
        }
        if (run == 0)
            continue;
        wall.push_back(w), cpu.push_back(c), rss.push_back(double(r) * 1024 / 1e6),
            peak.push_back(double(p) * 1024 / 1e6);
    }

    // 2. Warm, in this process.
    std::vector<double> warm;
    for (int run = 0; run < runs; ++run) {
        zanku::PlayHistory history;
        warm.push_back(TimeMs([&] { history.load(directory.path()); }));
    }

    // 3. Saves: a launch of a game the file has, a star set on it, a new game's launch, and
    // a launch after another Zanku saved (the file is then indexed again).
    zanku::PlayHistory history, other;
    history.load(directory.path());
    other.load(directory.path());
    // 4. What the window asks: the Recently Played menu, and a painted row's game.
    std::vector<double> recent, finds;
    std::vector<zanku::PlayHistory::Game> asked;
    for (int run = 0; run < runs; ++run)
        recent.push_back(TimeMs([&] { asked = history.recent(1000); }));
    for (int run = 0; run < runs; ++run) {
        finds.push_back(TimeMs([&] {
                            for (const auto &game : asked) {
                                if (!history.find(game.key))
                                    std::abort();
                            }
                        }) *
                        1000 / double(asked.size()));
    }
    for (int run = 0; run < runs; ++run)
        recent.push_back(TimeMs([&] { history.recent(10); }));
    const zanku::PlayHistory::Game game = asked.at(500);
    std::vector<double> saves, stars, added, afterOther;
    for (int run = 0; run < runs; ++run) {
        history.launched(game.key, QDateTime::currentDateTimeUtc());
        saves.push_back(TimeMs([&] { history.save(); }));
        history.setFavourite(game.key, run % 2 == 0);
        stars.push_back(TimeMs([&] { history.save(); }));
        history.launched({QStringLiteral("Emulator 0"), QStringLiteral("Game %1").arg(run),
                          QStringLiteral("game.zip")},
                         QDateTime::currentDateTimeUtc());
        added.push_back(TimeMs([&] { history.save(); }));
        other.setFavourite(game.key, run % 2 != 0);
        other.save();
        history.launched(game.key, QDateTime::currentDateTimeUtc());
        afterOther.push_back(TimeMs([&] { history.save(); }));
    }

    // 5. The window's thread: the change and the save handed over, then its result taken.
    std::vector<double> handed, taken;
    for (int run = 0; run < runs; ++run) {
        for (const bool star : {true, false}) {
            std::unique_ptr<zanku::PlayHistorySave> save;
            handed.push_back(TimeMs([&] {
                if (star)
                    history.setFavourite(game.key, run % 2 == 0);
                else
                    history.launched(game.key, QDateTime::currentDateTimeUtc());
                save = std::make_unique<zanku::PlayHistorySave>(history);
            }));
            QThread *worker = QThread::create([&] { save->run(); });
            worker->start();
            worker->wait();
            delete worker;
            taken.push_back(TimeMs([&] {
                if (!history.finishSave(*save))
                    std::abort();
            }));
        }
    }
    const double mainThreadMs = Median(handed) + Median(taken);

    const double loadMs = Median(wall), grownMB = Median(rss), peakMB = Median(peak);
    const QString target = QStringLiteral("<= %1 MB").arg(MemoryTargetMB);
    PrintTable(
        out(),
        {{QStringLiteral("load at start-up, fresh process (median of 3)"),
          QStringLiteral("%1 (cpu %2)").arg(ms(loadMs), ms(Median(cpu))),
          QStringLiteral("<= %1 ms").arg(LoadTargetMs), Verdict(loadMs <= LoadTargetMs)},
         {QStringLiteral("resident memory added by the load"),
          QString::asprintf("%.1f MB", grownMB), target, Verdict(grownMB <= MemoryTargetMB)},
         {QStringLiteral("peak memory added by the load"), QString::asprintf("%.1f MB", peakMB),
          target, Verdict(peakMB <= MemoryTargetMB)},
         {QStringLiteral("load, warm, in one process"), ms(Median(warm)), {}, {}},
         {QStringLiteral("recent(1000) / recent(10), for the menu"),
          QStringLiteral("%1 / %2").arg(ms(Median({recent.begin(), recent.begin() + runs})),
                                        ms(Median({recent.begin() + runs, recent.end()}))),
          {},
          {}},
         {QStringLiteral("find, a painted row's game"),
          QString::asprintf("%.2f us", Median(finds)),
          {},
          {}},
         {QStringLiteral("save after a launch (re-read, merge, write)"), ms(Median(saves)),
          QStringLiteral("< %1 ms").arg(SaveTargetMs), Verdict(Median(saves) < SaveTargetMs)},
         {QStringLiteral("save after a star set"), ms(Median(stars)),
          QStringLiteral("< %1 ms").arg(SaveTargetMs), Verdict(Median(stars) < SaveTargetMs)},
         {QStringLiteral("save after a new game's launch"), ms(Median(added)),
          QStringLiteral("< %1 ms").arg(SaveTargetMs), Verdict(Median(added) < SaveTargetMs)},
         {QStringLiteral("save after another Zanku saved"), ms(Median(afterOther)),
          QStringLiteral("< %1 ms").arg(SaveTargetMs), Verdict(Median(afterOther) < SaveTargetMs)},
         {QString::asprintf("a star or a launch on the window's thread (handed %.3f ms + "
                            "taken %.3f ms)",
                            Median(handed), Median(taken)),
          QString::asprintf("%.3f ms", mainThreadMs), QStringLiteral("<= 5 ms"),
          Verdict(mainThreadMs <= 5)}});
    return 0;
}
