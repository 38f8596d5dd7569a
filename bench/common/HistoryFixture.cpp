#include "HistoryFixture.h"

#include "core/gamedata/PlayHistory.h"

#include <array>
#include <random>

namespace {
constexpr std::array Words = {"Super",  "Mega",    "Turbo", "Final",   "Dark",   "Golden",
                              "Quest",  "Fighter", "Racer", "Dungeon", "Castle", "Knight",
                              "Galaxy", "Soccer",  "Ninja", "Dragon",  "Island", "Caf\u00e9"};
} // namespace

bool WriteHistoryFixture(const QString &programDir, int games, const QString &emulatorPrefix,
                         bool launchesVary)
{
    std::mt19937 random(7);
    const auto word = [&] { return QString::fromUtf8(Words[random() % Words.size()]); };
    zanku::PlayHistory history;
    history.load(programDir);
    const QDateTime start = QDateTime::currentDateTimeUtc().addYears(-3);
    for (int i = 0; i < games; ++i) {
        const QString emulator = QStringLiteral("%1 %2").arg(emulatorPrefix).arg(i % 20);
        const QString name = QStringLiteral("%1 %2 %3 %4").arg(word(), word(), word()).arg(i);
        const QString file = name.toLower().replace(u' ', u'-') + QStringLiteral(".zip");
        const int launches = launchesVary ? int(random() % 4) : 1;
        for (int launch = 0; launch < launches; ++launch)
            history.launched({emulator, name, file}, start.addSecs(qint64(random() % 90000000)));
        history.played({emulator, name, file}, qint64(random() % 20000));
        if (random() % 10 == 0)
            history.setFavourite({emulator, name, file}, true);
    }
    return history.save();
}
