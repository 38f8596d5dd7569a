// bench-find: finding a game among 200,000 by typing. A library of 200,000 games (names
// made of the catalogue benchmark's words, a few with accents; ten types; fifty
// emulators) is read into the main window's models; then "super mario kart" is typed
// letter by letter and deleted again, and each key is timed from the find text's change
// until the list's view has painted what it shows. The same keys go to a plain
// QSortFilterProxyModel with a case-insensitive fixed string over the same rows, in the
// same run. With --details, each emulator's folder also has a gamelist.xml giving every
// game a developer, a publisher, a genre and a year, read before the keys are typed, so
// the find also looks through them.
//
//   bench-find [--games N] [--runs N] [--details]

#include "Measure.h"
#include "Report.h"

#include "core/browse/FindIndex.h"
#include "core/browse/GameFindModel.h"
#include "core/browse/GameListModel.h"
#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>

#include <array>
#include <cstring>
#include <functional>
#include <random>

namespace {
constexpr std::array Adjectives = {"Super",  "Mega",  "Turbo",  "Hyper", "Final",     "Dark",
                                   "Golden", "Crazy", "Mystic", "Iron",  "Royal",     "Lost",
                                   "Grand",  "Wild",  "Cosmic", "Neon",  "Pok\u00e9", "Caf\u00e9"};
constexpr std::array Nouns = {"Quest",  "Fighter", "Racer",  "Dungeon", "Castle", "Mario",
                              "Knight", "Galaxy",  "Soccer", "Ninja",   "Dragon", "Island",
                              "Kart",   "Robot",   "Puzzle", "Legend",  "Rally",  "Maze"};
constexpr std::array Suffixes = {"", "", " II", " 64", " Deluxe", " Returns"};
constexpr std::array Types = {"Platform", "Puzzle", "Shooter",      "Racing", "Sports",
                              "Fighting", "Arcade", "Role-Playing", "Quest",  "Strategy"};

// Fifty emulators, each with one game file every line of its list names: what is found
// is the names, not the files.
bool buildLibrary(const QString &dir, int games, bool details)
{
    std::mt19937 engine(20261206);
    const auto pick = [&](const auto &words) {
        return QString::fromUtf8(words[engine() % words.size()]);
    };
    QByteArray config;
    constexpr int Emulators = 50;
    for (int e = 0; e < Emulators; ++e) {
        const QString name = QStringLiteral("System %1").arg(e);
        const QString emulatorDir = QDir(dir).filePath(QStringLiteral("emu%1").arg(e));
        QDir().mkpath(emulatorDir);
        QFile(emulatorDir + QStringLiteral("/game.bin")).open(QIODevice::WriteOnly);
        config += ("[" + name + "]\r\nemu\r\n" + emulatorDir + "\r\n\r\n\r\n%\r\n;\r\n").toUtf8();
        QByteArray list, gamelist = "<?xml version=\"1.0\"?>\n<gameList>\n";
        for (int g = e; g < games; g += Emulators) {
            const QString game = pick(Adjectives) + u' ' + pick(Nouns) + u' ' + pick(Nouns) +
                                 pick(Suffixes) + QStringLiteral(" %1").arg(g);
            list += (game + QStringLiteral("=game.bin===") + pick(Types) + QStringLiteral("\r\n"))
                        .toUtf8();
            // Matched by name: every line of this list names the same file.
            gamelist +=
                "<game><path>./none.bin</path><name>" + game.toUtf8() + "</name><developer>" +
                (pick(Adjectives) + QStringLiteral(" Soft")).toUtf8() + "</developer><publisher>" +
                pick(Nouns).toUtf8() + " House</publisher><genre>" + pick(Types).toUtf8() +
                "</genre><releasedate>" + QByteArray::number(1980 + int(engine() % 40)) +
                "0101T000000</releasedate></game>\n";
        }
        QFile xml(emulatorDir + QStringLiteral("/gamelist.xml"));
        if (details && (!xml.open(QIODevice::WriteOnly) ||
                        xml.write(gamelist + "</gameList>\n") != gamelist.size() + 12))
            return false;
        QFile rom(QDir(dir).filePath(name + QStringLiteral(".rom")));
        if (!rom.open(QIODevice::WriteOnly) || rom.write(list) != list.size())
            return false;
    }
    QFile ini(QDir(dir).filePath(QStringLiteral("Zanku.ini")));
    return ini.open(QIODevice::WriteOnly) && ini.write(config) == config.size();
}

struct Keys {
    std::vector<double> ms;
    double median() const { return Median(ms); }
    double worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// Types the text letter by letter, then deletes it, timing each key until the view
// has painted.
void typeAndDelete(const QString &text, QTableView &view,
                   const std::function<void(const QString &)> &apply, Keys &keys)
{
    std::vector<QString> steps;
    for (qsizetype i = 1; i <= text.size(); ++i)
        steps.push_back(text.left(i));
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        steps.push_back(text.left(i));
    for (const QString &step : steps) {
        keys.ms.push_back(TimeMs([&] {
            apply(step);
            view.repaint();
        }));
    }
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int games = 200000;
    int runs = 3;
    bool details = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--details") == 0)
            details = true;
        if (i + 1 == argc)
            break;
        if (std::strcmp(argv[i], "--games") == 0)
            games = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[++i]);
    }
    QTemporaryDir dir;
    if (!buildLibrary(dir.path(), games, details)) {
        std::fprintf(stderr, "cannot build the library\n");
        return 1;
    }
    zanku::Library library(dir.path());
    GameListModel model;
    QObject::connect(&library, &zanku::Library::catalogueChanged,
                     [&] { model.FillGameList(library); });
    zanku::GameFindModel found(&model, library);
    library.start();
    found.listShown(); // the list painted: the find index is made between events
    library.metadata().start();
    while (!found.indexReady() || library.metadata().reading())
        QCoreApplication::processEvents();
    if (details && !library.metadata().anyDetails()) {
        std::fprintf(stderr, "the gamelists gave no details\n");
        return 1;
    }

    QSortFilterProxyModel plain;
    plain.setSourceModel(&model);
    plain.setFilterKeyColumn(-1);
    plain.setFilterCaseSensitivity(Qt::CaseInsensitive);

    QTableView ours, theirs;
    ours.setModel(&found);
    theirs.setModel(&plain);
    for (QTableView *view : {&ours, &theirs}) {
        view->resize(600, 400);
        view->show();
    }
    zanku::FindIndex index;
    std::vector<double> builds, buildsCpu;
    for (int run = 0; run < (qEnvironmentVariableIsSet("FIND_BUILDS") ? 30 : runs); ++run) {
        double cpu = 0;
        builds.push_back(TimeMs([&] { index.rebuild(library); }, &cpu));
        buildsCpu.push_back(cpu);
    }

    Keys oursKeys, theirsKeys;
    const QString typed = QStringLiteral("super mario kart");
    for (int run = 0; run < runs; ++run) {
        typeAndDelete(
            typed, ours, [&](const QString &text) { found.setFindText(text); }, oursKeys);
        typeAndDelete(
            typed, theirs, [&](const QString &text) { plain.setFilterFixedString(text); },
            theirsKeys);
    }
    found.setFindText(QStringLiteral("super mario kart"));
    const int matches = found.rowCount();

    out() << "Library: " << library.GameCount() << " games of " << library.EmulatorCount()
          << " emulators; \"super mario kart\" finds " << matches << "; " << runs << " runs of "
          << typed.size() * 2 << " keys; " << (details ? "every game with details" : "no details")
          << "; load average " << LoadAverage() << "\n\n";
    const double perGame = double(index.memoryUsed()) / std::max(1, library.GameCount());
    std::vector<TableLine> lines = {
        {QStringLiteral("find, each key to the list painted: median"),
         QString::asprintf("%.2f ms", oursKeys.median()), QStringLiteral("<= 5 ms"),
         Verdict(oursKeys.median() <= 5)},
        {QStringLiteral("find, each key to the list painted: worst"),
         QString::asprintf("%.2f ms", oursKeys.worst()), QStringLiteral("<= 16 ms"),
         Verdict(oursKeys.worst() <= 16)},
        {QStringLiteral("find index memory per game"), QString::asprintf("%.1f bytes", perGame),
         QStringLiteral("<= 40 bytes"), Verdict(perGame <= 40)},
        {QStringLiteral("find index built (with every catalogue read)"),
         QString::asprintf("%.1f ms (cpu %.1f ms)", Median(builds), Median(buildsCpu)),
         {},
         {}},
        {QStringLiteral("plain QSortFilterProxyModel, fixed string: median"),
         QString::asprintf("%.2f ms", theirsKeys.median()),
         {},
         {}},
        {QStringLiteral("plain QSortFilterProxyModel, fixed string: worst"),
         QString::asprintf("%.2f ms", theirsKeys.worst()),
         {},
         {}},
    };
    PrintTable(out(), lines);
    return 0;
}
