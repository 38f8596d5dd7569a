// bench-metadata: the game details of 200,000 games. Fifty emulators of 4,000 games each,
// every game described in its folder's gamelist.xml with a 600-byte description (about
// 150 MB of XML). Times the reading and matching of it all against a bare QXmlStreamReader
// pass over the same files (the floor), reports the memory kept per game, and times the
// details panel's update after the highlight moves, until it has painted.
//
//   bench-metadata [--games N] [--runs N]

#include "Measure.h"
#include "Report.h"

#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"
#include "ui/browser/GameDetailsPanel.h"
#include "ui/browser/GameListView.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstring>
#include <random>

namespace {
constexpr int Emulators = 50;

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Each game a file of its own, a line of its ROM list and an entry of its gamelist.
bool buildLibrary(const QString &dir, int games, QStringList &gamelists)
{
    std::mt19937 engine(20260301);
    const QByteArray words = "the quick brown fox jumps over a lazy dog while heroes & villains "
                             "<race> through castles, dungeons and starfields ";
    QByteArray config;
    for (int e = 0; e < Emulators; ++e) {
        const QString folder = QDir(dir).filePath(QStringLiteral("emu%1").arg(e));
        QDir().mkpath(folder);
        QByteArray list, xml = "<?xml version=\"1.0\"?>\n<gameList>\n";
        for (int g = e; g < games; g += Emulators) {
            const QByteArray file = "g" + QByteArray::number(g) + ".bin";
            if (!write(folder + u'/' + QString::fromLatin1(file), {}))
                return false;
            list += "Game " + QByteArray::number(g) + "=" + file + "\r\n";
            QByteArray description;
            while (description.size() < 600)
                description += words.mid(engine() % 40, 20);
            description.truncate(600);
            xml += "<game><path>./" + file + "</path><name>Game " + QByteArray::number(g) +
                   "</name><desc>" + description.replace('&', "&amp;").replace('<', "&lt;") +
                   "</desc><releasedate>" + QByteArray::number(1980 + int(engine() % 30)) +
                   "0101T000000</releasedate><developer>Studio " +
                   QByteArray::number(engine() % 300) + "</developer><publisher>House " +
                   QByteArray::number(engine() % 80) + "</publisher><genre>Genre " +
                   QByteArray::number(engine() % 20) +
                   "</genre><players>1-2</players>"
                   "<rating>0.7</rating></game>\n";
        }
        gamelists << folder + QStringLiteral("/gamelist.xml");
        if (!write(gamelists.back(), xml + "</gameList>\n") ||
            !write(QDir(dir).filePath(QStringLiteral("System %1.rom").arg(e)), list))
            return false;
        config +=
            ("[System " + QString::number(e) + "]\r\nemu\r\n" + folder + "\r\n\r\n\r\n%\r\n;\r\n")
                .toUtf8();
    }
    return write(QDir(dir).filePath(QStringLiteral("Zanku.ini")), config);
}

// The floor: every element and text of the files seen once, nothing kept.
qint64 bareRead(const QStringList &files)
{
    qint64 tokens = 0;
    for (const QString &path : files) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&file);
        while (!xml.atEnd())
            tokens += xml.readNext() != QXmlStreamReader::Invalid;
    }
    return tokens;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int games = 200000, runs = 3;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--games") == 0)
            games = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[++i]);
    }
    QTemporaryDir dir;
    QStringList gamelists;
    if (!buildLibrary(dir.path(), games, gamelists)) {
        std::fprintf(stderr, "cannot build the library\n");
        return 1;
    }
    qint64 bytes = 0;
    for (const QString &file : gamelists)
        bytes += QFileInfo(file).size();
    zanku::Library library(dir.path());
    library.start();
    zanku::MetadataCatalogue catalogue{
        {EmulatorRecord()}, {GameRecord()}, library.programDir(), {}};
    for (int e = 1; e <= library.EmulatorCount(); ++e)
        catalogue.emulators.push_back(library.emulator(e));
    for (int slot = 1; slot <= library.GameCount(); ++slot)
        catalogue.games.push_back(library.game(slot));

    // Alternated, the files warm in the page cache for both.
    std::vector<double> floor, ours, floorCpu, oursCpu;
    double cpu = 0;
    qsizetype matched = 0;
    for (int run = 0; run < runs; ++run) {
        floor.push_back(TimeMs([&] { bareRead(gamelists); }, &cpu));
        floorCpu.push_back(cpu);
        ours.push_back(TimeMs(
            [&] {
                const zanku::MetadataTable table = zanku::ReadCatalogueMetadata(catalogue);
                matched = std::count_if(table.bySlot.begin(), table.bySlot.end(),
                                        [](const zanku::GameMetadata &g) { return g.year() != 0; });
            },
            &cpu));
        oursCpu.push_back(cpu);
    }

    // What the window keeps, read as the window reads it.
    const long before = StatusKiB("VmRSS:");
    zanku::LibraryMetadata &metadata = library.metadata();
    QEventLoop arrived;
    QObject::connect(&metadata, &zanku::LibraryMetadata::changed, &arrived, &QEventLoop::quit);
    metadata.start();
    arrived.exec();
    const long after = StatusKiB("VmRSS:");
    const double perGame = double(metadata.memoryUsed()) / std::max(1, library.GameCount());

    // The panel under the picture, as the window sizes it, following the highlight.
    GameListView list(library, nullptr);
    GameDetailsPanel panel(library, list, nullptr);
    panel.resize(394, 146);
    panel.show();
    panel.showGame(library.keyOf(1), 1); // the window has painted once before any move
    panel.repaint();
    std::mt19937 engine(7);
    std::vector<double> updates;
    for (int move = 0; move < 300; ++move) {
        const int slot = 1 + int(engine() % uint32_t(library.GameCount()));
        updates.push_back(TimeMs([&] {
            panel.showGame(library.keyOf(slot), slot);
            panel.repaint();
        }));
    }

    // The fastest run of each: the machine is shared, and a busy moment only adds time.
    const double least = *std::min_element(floor.begin(), floor.end());
    const double ratio = *std::min_element(ours.begin(), ours.end()) / least;
    const double cpuRatio = Median(oursCpu) / Median(floorCpu);
    out() << "Library: " << library.GameCount() << " games, " << matched << " matched; "
          << bytes / (1024 * 1024) << " MB of gamelists; " << runs << " runs; load average "
          << LoadAverage() << "\n\n";
    PrintTable(out(),
               {{QStringLiteral("bare QXmlStreamReader pass (the floor)"),
                 QString::asprintf("%.0f ms (cpu %.0f ms)", least, Median(floorCpu)),
                 {},
                 {}},
                {QStringLiteral("details read and matched to the games"),
                 QString::asprintf("%.0f ms (%.2fx; cpu %.2fx)", ratio * least, ratio, cpuRatio),
                 QStringLiteral("<= 1.5x"), Verdict(ratio <= 1.5)},
                {QStringLiteral("details kept per game (64 bytes and its short texts)"),
                 QString::asprintf("%.1f bytes", perGame),
                 {},
                 {}},
                {QStringLiteral("resident memory the reading added, per game"),
                 QString::asprintf("%.1f bytes", (after - before) * 1024.0 / library.GameCount()),
                 {},
                 {}},
                {QStringLiteral("details panel after a move, painted: median"),
                 QString::asprintf("%.2f ms", Median(updates)), QStringLiteral("<= 16 ms"),
                 Verdict(Median(updates) <= 16)},
                {QStringLiteral("details panel after a move, painted: worst"),
                 QString::asprintf("%.2f ms", *std::max_element(updates.begin(), updates.end())),
                 QStringLiteral("<= 32 ms"),
                 Verdict(*std::max_element(updates.begin(), updates.end()) <= 32)}});
    return 0;
}
