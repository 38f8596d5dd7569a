// bench-startup: Zanku started as a player starts it, measured from the process's start
// to its main window's first paint on an X server of its own (Xvfb): the processor time
// of all its threads and its peak memory, read by wait4() when the preloaded first-paint
// watch ends it. At each size of library (ROM-list lines over 100 emulators, or one for
// at most 1,000 lines: half present as files, a quarter as archives, a quarter missing),
// without and with a history of --history games none of which is listed (or, with --with
// details, a gamelist.xml describing every listed game beside each emulator's games, a
// 600-byte description each), the same starts
// alternate between
//   bare   a window of the same widgets and nothing else (bench-startup-floor)
//   floor  the same window after reading the lists and listing the directories plainly
//   base   another build of Zanku (--base), today's for a side-by-side figure
//   zanku  this build
// one uncounted round, then the median of --runs; every start of a round before the next.
//
//   bench-startup [--lines 20,10000,50000,200000,1000000] [--runs 3] [--base PATH]
//                 [--history 200000] [--with history|details] [--dir PARENT]
//                 [--patience SECONDS] [--keep]
// (--keep: the libraries stay, for profiling)

#include "../catalogue/Fixture.h"
#include "Child.h"
#include "HistoryFixture.h"
#include "Measure.h"
#include "Report.h"

#include "core/gamedata/PlayHistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <array>
#include <random>

namespace {
struct Program {
    QString label;
    QString path;
    bool library = true; // started on the library, or bare
    bool history = true; // also started beside the history (or the details)
};

struct Options {
    QList<int> lines{20, 10000, 50000, 200000, 1000000};
    int runs = 3;
    int historyGames = 200000;
    int patienceMs = 120000;
    QString base, parent;
    bool keep = false;
    bool details = false; // the second start of each program has gamelists, not the history
};

// The medians of one program in one library, with or without the history.
struct Median3 {
    bool painted = false;
    double cpuMs = 0, wallMs = 0, peakMB = 0;
};
using Key = std::tuple<int, bool, QString>; // lines, history, program
QMap<Key, Median3> results;
QMap<int, int> presentGames;

// Files moved in for the second start of each program, and back out after it.
struct Move {
    QString stashed, live;
};

// A gamelist.xml for each emulator of the fixture, describing every game of its list (the
// present ones by their file, as a scraper writes them), left in `stash`.
bool writeGamelists(const Fixture &fixture, const QString &stash, std::vector<Move> &moves)
{
    std::mt19937 random(11);
    const QByteArray words = "the quick brown fox jumps over a lazy dog while heroes & villains "
                             "<race> through castles, dungeons and starfields ";
    std::vector<QByteArray> xml(fixture.emulators.size(), "<?xml version=\"1.0\"?>\n<gameList>\n");
    for (const FixtureGame &game : fixture.games) {
        QByteArray description;
        while (description.size() < 600)
            description += words.mid(random() % 40, 20);
        description.truncate(600);
        const QByteArray name =
            game.record.Name.toUtf8().replace('&', "&amp;").replace('<', "&lt;");
        xml[game.record.EmulatorIndex - 1] +=
            "<game><path>./" + game.record.File.toUtf8().replace('&', "&amp;") + "</path><name>" +
            name + "</name><desc>" + description.replace('&', "&amp;").replace('<', "&lt;") +
            "</desc><releasedate>" + QByteArray::number(1980 + int(random() % 30)) +
            "0101T000000</releasedate><developer>Studio " + QByteArray::number(random() % 300) +
            "</developer><genre>Genre " + QByteArray::number(random() % 20) +
            "</genre><players>1-2</players></game>\n";
    }
    for (size_t e = 0; e < fixture.emulators.size(); ++e) {
        const Move move{QStringLiteral("%1/%2.xml").arg(stash).arg(e),
                        QDir(fixture.emulators[e].Path).filePath(QStringLiteral("gamelist.xml"))};
        QFile file(move.stashed);
        const QByteArray bytes = xml[e] + "</gameList>\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        moves.push_back(move);
    }
    return true;
}

bool moveAll(const std::vector<Move> &moves, bool in)
{
    for (const Move &move : moves) {
        if (!(in ? QFile::rename(move.stashed, move.live) : QFile::rename(move.live, move.stashed)))
            return false;
    }
    return true;
}

Options parse(const QStringList &arguments)
{
    Options options;
    options.keep = arguments.contains(QStringLiteral("--keep"));
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QString &name = arguments[i], &value = arguments[i + 1];
        if (name == QLatin1String("--lines")) {
            options.lines.clear();
            for (const QString &count : value.split(u','))
                options.lines.append(count.toInt());
        } else if (name == QLatin1String("--runs")) {
            options.runs = std::max(1, value.toInt());
        } else if (name == QLatin1String("--base")) {
            options.base = value;
        } else if (name == QLatin1String("--history")) {
            options.historyGames = value.toInt();
        } else if (name == QLatin1String("--with")) {
            options.details = value == QLatin1String("details");
        } else if (name == QLatin1String("--dir")) {
            options.parent = value;
        } else if (name == QLatin1String("--patience")) {
            options.patienceMs = value.toInt() * 1000;
        } else {
            continue;
        }
        ++i;
    }
    return options;
}

// Alternates the programs' starts on one library, each without and (when it reads them)
// with the `extra` files moved in, then keeps each one's medians.
void measure(const std::vector<Program> &programs, const Fixture &fixture,
             const std::vector<Move> &extra, int lines, const Options &options,
             const QStringList &environment)
{
    std::vector<std::pair<size_t, bool>> starts; // program, with the history
    for (const bool history : {false, true}) {
        for (size_t p = 0; p < programs.size(); ++p) {
            if (!history || programs[p].history)
                starts.emplace_back(p, history);
        }
    }
    std::vector<std::vector<StartFigures>> runs(starts.size());
    std::vector<bool> gaveUp(starts.size(), false);
    for (int round = 0; round <= options.runs; ++round) {
        for (size_t s = 0; s < starts.size(); ++s) {
            const Program &program = programs[starts[s].first];
            const bool history = starts[s].second;
            if (gaveUp[s] || (history && !moveAll(extra, true)))
                continue;
            QStringList arguments;
            if (program.library)
                arguments << QStringLiteral("--library") << fixture.programDir;
            if (program.history)
                arguments << QStringLiteral("--no-gamepad");
            const StartFigures figures =
                StartToFirstPaint(program.path, arguments, environment, options.patienceMs);
            if (history)
                moveAll(extra, false);
            if (!figures.painted) {
                gaveUp[s] = true; // one start that never paints says it all
                runs[s] = {figures};
            } else if (round > 0) {
                runs[s].push_back(figures);
            }
        }
    }
    for (size_t s = 0; s < starts.size(); ++s) {
        if (runs[s].empty())
            continue;
        Median3 median{!gaveUp[s], 0, 0, 0};
        std::vector<double> cpu, wall, peak;
        for (const StartFigures &run : runs[s]) {
            cpu.push_back(run.cpuMs);
            wall.push_back(run.wallMs);
            peak.push_back(run.peakMB);
        }
        median.cpuMs = Median(cpu);
        median.wallMs = Median(wall);
        median.peakMB = Median(peak);
        const QString &label = programs[starts[s].first].label;
        results[{lines, starts[s].second, label}] = median;
        out() << QString::asprintf("  %-6s %-8s cpu %9.1f ms  wall %9.1f ms  peak %7.1f MB%s\n",
                                   qPrintable(label),
                                   starts[s].second ? (options.details ? "details" : "history")
                                                    : "",
                                   median.cpuMs, median.wallMs, median.peakMB,
                                   median.painted ? "" : "  (no first paint in time)")
              << Qt::flush;
    }
}

void printTargets(const Options &options);
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    const QString display = StartDisplay();
    if (display.isEmpty()) {
        std::fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }
    QTemporaryDir home, historyDir;
    const QString historyFile = historyDir.filePath(QStringLiteral("Zanku.played"));
    // Its games are under emulators no library here has: none of them is listed.
    if (!home.isValid() || !WriteHistoryFixture(historyDir.path(), options.historyGames,
                                                QStringLiteral("Played"), false)) {
        std::fprintf(stderr, "cannot write the history\n");
        return 1;
    }
    QStringList environment{QStringLiteral("DISPLAY=") + display,
                            QStringLiteral("QT_QPA_PLATFORM=xcb"),
                            QStringLiteral("LD_PRELOAD=") + QStringLiteral(ZANKU_FIRST_PAINT)};
    for (const char *xdg : {"CONFIG", "DATA", "CACHE", "STATE"})
        environment << QStringLiteral("XDG_%1_HOME=%2/%3")
                           .arg(QLatin1String(xdg), home.path(),
                                QString::fromLatin1(xdg).toLower());
    std::vector<Program> programs{
        {QStringLiteral("bare"), QStringLiteral(ZANKU_FLOOR), false, false},
        {QStringLiteral("floor"), QStringLiteral(ZANKU_FLOOR), true, false}};
    if (!options.base.isEmpty())
        programs.push_back({QStringLiteral("base"), options.base});
    programs.push_back({QStringLiteral("zanku"), QStringLiteral(ZANKU_PROGRAM)});
    out() << "load average " << LoadAverage() << ", display " << display << "\n" << Qt::flush;

    for (const int lines : options.lines) {
        QTemporaryDir root(options.parent.isEmpty()
                               ? QDir::tempPath() + QStringLiteral("/zanku-startup-XXXXXX")
                               : options.parent + QStringLiteral("/zanku-startup-XXXXXX"));
        Fixture fixture;
        QString error;
        if (!root.isValid() ||
            !BuildFixture(root.path(), lines <= 1000 ? 1 : 100, lines, fixture, error)) {
            std::fprintf(stderr, "cannot build the library: %s\n", qPrintable(error));
            return 1;
        }
        presentGames[lines] = fixture.presentFiles + fixture.archivesOnly;
        root.setAutoRemove(!options.keep);
        out() << lines << " lines (" << presentGames[lines] << " present) in " << root.path()
              << ", load average " << LoadAverage() << "\n"
              << Qt::flush;
        std::vector<Move> extra{
            {historyFile, QDir(fixture.programDir).filePath(QStringLiteral("Zanku.played"))}};
        if (options.details) {
            extra.clear();
            if (!writeGamelists(fixture, historyDir.path(), extra)) {
                std::fprintf(stderr, "cannot write the gamelists\n");
                return 1;
            }
        }
        measure(programs, fixture, extra, lines, options, environment);
    }
    printTargets(options);
    return 0;
}

namespace {
QString ratio(double value)
{
    return QString::asprintf("%.2fx", value);
}

void printTargets(const Options &options)
{
    const auto at = [](int lines, bool history, const char *program) {
        return results.value({lines, history, QString::fromLatin1(program)});
    };
    std::vector<TableLine> table;
    if (presentGames.contains(200000)) {
        const Median3 bare = at(200000, false, "bare"), floor = at(200000, false, "floor"),
                      zanku = at(200000, false, "zanku"), base = at(200000, false, "base");
        const double perGame = (zanku.peakMB - bare.peakMB) * 1e6 / presentGames[200000];
        table.push_back({QStringLiteral("200,000 lines: CPU to first paint / floor"),
                         ratio(zanku.cpuMs / floor.cpuMs) + QStringLiteral(" (base ") +
                             ratio(base.cpuMs / floor.cpuMs) + u')',
                         QStringLiteral("<= 2x"), Verdict(zanku.cpuMs <= 2 * floor.cpuMs)});
        table.push_back(
            {QStringLiteral("200,000 lines: bytes a listed game above the bare window"),
             QString::asprintf("%.0f (base %.0f)", perGame,
                               (base.peakMB - bare.peakMB) * 1e6 / presentGames[200000]),
             QStringLiteral("<= 300"), Verdict(perGame <= 300)});
    }
    if (presentGames.contains(1000000)) {
        const Median3 zanku = at(1000000, false, "zanku"), base = at(1000000, false, "base");
        table.push_back({QStringLiteral("1,000,000 lines: CPU / base"),
                         ratio(zanku.cpuMs / base.cpuMs), QStringLiteral("<= 0.4x"),
                         Verdict(zanku.cpuMs <= 0.4 * base.cpuMs)});
        table.push_back({QStringLiteral("1,000,000 lines: peak memory"),
                         QString::asprintf("%.1f MB", zanku.peakMB), QStringLiteral("<= 300 MB"),
                         Verdict(zanku.peakMB <= 300)});
    }
    if (presentGames.contains(50000) && presentGames.contains(1000000)) {
        // Above the bare window, per line: how far 1M is from 20 times 50k.
        const double bare = at(50000, false, "bare").cpuMs;
        const double growth = (at(1000000, false, "zanku").cpuMs - bare) /
                              (at(50000, false, "zanku").cpuMs - bare) / 20.0;
        table.push_back({QStringLiteral("CPU a line above the bare window, 1M / 50k"),
                         ratio(growth), QStringLiteral("<= 1.2x (linear or better)"),
                         Verdict(growth <= 1.2)});
    }
    for (const int lines : {20, 200000}) {
        if (!presentGames.contains(lines))
            continue;
        const Median3 plain = at(lines, false, "zanku"), extra = at(lines, true, "zanku");
        if (options.details) {
            // Read after the window shows: the first paint is not to wait for them.
            table.push_back({QStringLiteral("%1 lines: CPU to first paint with a gamelist "
                                            "describing every game / without")
                                 .arg(lines),
                             ratio(extra.cpuMs / plain.cpuMs), QStringLiteral("<= 1.05x"),
                             Verdict(extra.painted && extra.cpuMs <= 1.05 * plain.cpuMs)});
            continue;
        }
        const QString what =
            QStringLiteral("%1 lines: a %2-game history adds").arg(lines).arg(options.historyGames);
        table.push_back({what + QStringLiteral(" (CPU)"),
                         QString::asprintf("%+.1f ms", extra.cpuMs - plain.cpuMs),
                         QStringLiteral("<= +50 ms"),
                         Verdict(extra.painted && extra.cpuMs - plain.cpuMs <= 50)});
        table.push_back({what + QStringLiteral(" (peak)"),
                         QString::asprintf("%+.1f MB", extra.peakMB - plain.peakMB),
                         QStringLiteral("<= +30 MB"),
                         Verdict(extra.painted && extra.peakMB - plain.peakMB <= 30)});
    }
    out() << "\nload average at the end " << LoadAverage() << "\n\n";
    PrintTable(out(), table);
}
} // namespace
