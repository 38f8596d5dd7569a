#include "Fixture.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <array>
#include <cstdint>
#include <random>

namespace {
// The words game names are made of. Raw engine output only (no distributions), so the
// library is the same with every standard library.
constexpr std::array Adjectives = {
    "Super",  "Mega",    "Turbo",   "Hyper",  "Final",   "Dark",     "Golden", "Silent",
    "Crazy",  "Mystic",  "Iron",    "Royal",  "Lost",    "Little",   "Grand",  "Wild",
    "Cosmic", "Shadow",  "Crystal", "Rapid",  "Ancient", "Electric", "Frozen", "Burning",
    "Secret", "Phantom", "Lucky",   "Savage", "Neon",    "Brave",    "Tiny",   "Endless"};
constexpr std::array Nouns = {
    "Quest",  "Fighter", "Racer",  "Dungeon", "Castle", "Pilot",   "Knight", "Galaxy",
    "Soccer", "Tennis",  "Ninja",  "Dragon",  "Island", "Tower",   "Empire", "Robot",
    "Puzzle", "Invader", "Legend", "Warrior", "Hunter", "Temple",  "Rally",  "Striker",
    "Arena",  "Voyage",  "Kart",   "Blaster", "Saga",   "Odyssey", "Planet", "Maze"};
constexpr std::array Suffixes = {"",    "",        "",      " II",      " III",   " 2",
                                 " 64", " Deluxe", " Plus", " Special", " Remix", " Returns"};
constexpr std::array Types = {"Platform", "Puzzle",    "Shooter",      "Racing", "Sports",
                              "Fighting", "Adventure", "Role-Playing", "Arcade", "Strategy"};
constexpr std::array Extensions = {"nes", "sfc", "gb", "gba", "md", "a26", "bin", "rom"};

enum class Presence { File, ArchiveOnly, Missing };

class Generator {
public:
    explicit Generator(std::uint32_t seed)
        : engine_(seed)
    {
    }

    std::uint32_t below(std::uint32_t bound) { return std::uint32_t(engine_() % bound); }

    template <typename Array> const char *pick(const Array &words)
    {
        return words[below(std::uint32_t(words.size()))];
    }

    // A shuffled run of presences: half files, a quarter archives, the rest missing.
    std::vector<Presence> presences(int count)
    {
        std::vector<Presence> result(size_t(count), Presence::Missing);
        const int files = count / 2;
        const int archives = count / 4;
        for (int i = 0; i < files + archives; ++i)
            result[size_t(i)] = i < files ? Presence::File : Presence::ArchiveOnly;
        for (size_t i = result.size(); i > 1; --i)
            std::swap(result[i - 1], result[below(std::uint32_t(i))]);
        return result;
    }

    QString gameName()
    {
        // About one name in a hundred is a bare year, which the grid sorts as a number.
        if (below(100) == 0)
            return QString::number(1975 + below(40));
        QString name = QString::fromLatin1(pick(Adjectives)) + u' ' +
                       QString::fromLatin1(pick(Nouns)) + QString::fromLatin1(pick(Suffixes));
        // Some lists were typed by hand: an article in front or all in lower case.
        switch (below(10)) {
        case 0:
            name.prepend(QStringLiteral("The "));
            break;
        case 1:
            name = name.toLower();
            break;
        default:
            break;
        }
        return name;
    }

private:
    std::mt19937 engine_;
};

bool createEmptyFile(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool makePath(const QString &path, QString &error)
{
    if (QDir().mkpath(path))
        return true;
    error = QStringLiteral("cannot create directory %1").arg(path);
    return false;
}
} // namespace

bool BuildFixture(const QString &root, int emulatorCount, int lineCount, Fixture &fixture,
                  QString &error)
{
    Generator generator(20240611u);
    fixture = Fixture{};
    fixture.root = root;
    fixture.programDir = root + QStringLiteral("/program");
    if (!makePath(fixture.programDir, error))
        return false;
    fixture.games.reserve(size_t(lineCount));

    for (int e = 0; e < emulatorCount; ++e) {
        EmulatorRecord emulator;
        emulator.Name = QStringLiteral("Emulator %1").arg(e + 1, 3, 10, QLatin1Char('0'));
        emulator.Program = QStringLiteral("/usr/games/emulator-%1").arg(e + 1);
        emulator.Path = root + QStringLiteral("/emulators/") + emulator.Name;
        emulator.ZippedRomPath = root + QStringLiteral("/archives/") + emulator.Name;
        emulator.SnapshotPath = root + QStringLiteral("/snapshots/") + emulator.Name;
        emulator.Options = QStringLiteral("-fullscreen");
        const QString disksDir = emulator.Path + QStringLiteral("/disks");
        if (!makePath(emulator.Path, error) || !makePath(disksDir, error) ||
            !makePath(emulator.ZippedRomPath, error))
            return false;

        const int lines = lineCount / emulatorCount + (e < lineCount % emulatorCount ? 1 : 0);
        const std::vector<Presence> presences = generator.presences(lines);
        QStringList romList;
        romList.reserve(lines);
        for (int line = 0; line < lines; ++line) {
            const Presence presence = presences[size_t(line)];
            FixtureGame game;
            GameRecord &record = game.record;
            record.Name = generator.gameName();
            const QString base = QStringLiteral("g%1_%2").arg(e + 1).arg(line + 1);
            record.File = base + u'.' + QString::fromLatin1(generator.pick(Extensions));
            // A few present games keep their files in a folder of their own.
            if (presence == Presence::File && generator.below(50) == 0)
                record.File.prepend(QStringLiteral("disks/"));
            record.DestinationDir =
                generator.below(4) == 0 ? QStringLiteral("/tmp/zanku-run") : QString();
            record.Options = generator.below(3) == 0 ? QStringLiteral("-joystick") : QString();
            record.Type = QString::fromLatin1(generator.pick(Types));
            record.EmulatorIndex = e + 1;
            game.filePath = emulator.Path + u'/' + record.File;
            game.archivePath = ArchivePathFor(emulator.ZippedRomPath, record.File, u'/');

            switch (presence) {
            case Presence::File:
                if (!createEmptyFile(game.filePath, error))
                    return false;
                ++fixture.presentFiles;
                break;
            case Presence::ArchiveOnly:
                if (!createEmptyFile(game.archivePath, error))
                    return false;
                record.Zipped = true;
                ++fixture.archivesOnly;
                break;
            case Presence::Missing:
                ++fixture.missing;
                break;
            }
            romList.append(FormatRomLine(record));
            fixture.games.push_back(std::move(game));
        }

        const TextWriteResult written =
            WriteTextLines(fixture.programDir + u'/' + RomListFileName(emulator.Name), romList,
                           TextEncoding::Utf8);
        if (!written.ok) {
            error = written.error;
            return false;
        }
        fixture.emulators.push_back(std::move(emulator));
    }

    const TextWriteResult written =
        WriteTextLines(fixture.programDir + u'/' + QString::fromLatin1(ConfigFileName),
                       FormatConfig(fixture.emulators), TextEncoding::Utf8);
    if (!written.ok) {
        error = written.error;
        return false;
    }
    return true;
}
