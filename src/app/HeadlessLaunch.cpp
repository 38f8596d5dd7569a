#include "app/HeadlessLaunch.h"

#include "app/StartupOptions.h"
#include "app/Translations.h"
#include "core/catalogue/Config.h"
#include "core/catalogue/EmulatorPlaces.h"
#include "core/launch/Extractions.h"
#include "core/library/Library.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {
// One line on standard error, its line breaks made spaces: a caller reads one line a fault.
void PrintError(const QString &text)
{
    QString line = text.simplified();
    std::fputs(QStringLiteral("zanku: %1\n").arg(line).toLocal8Bit().constData(), stderr);
}

// What --launch says on the terminal.
class HeadlessLaunch {
    Q_DECLARE_TR_FUNCTIONS(HeadlessLaunch)
};

// The game's key by its emulator's name and its own, as the list shows them; a null key,
// with the reason printed, when there is none.
zanku::GameKey FindGame(const zanku::Library &library, const QString &emulator, const QString &name)
{
    bool emulatorKnown = false;
    for (int slot = 1; slot <= library.GameCount(); ++slot) {
        const zanku::GameKey key = library.keyOf(slot);
        if (key.emulator == emulator && key.name == name)
            return key;
    }
    for (int e = 1; e <= library.EmulatorCount(); ++e)
        emulatorKnown = emulatorKnown || library.emulator(e).Name == emulator;
    if (!emulatorKnown && !library.configError().isEmpty())
        PrintError(HeadlessLaunch::tr("%1 cannot be read: %2")
                       .arg(QLatin1String(ConfigFileName), library.configError()));
    else if (!emulatorKnown)
        PrintError(
            HeadlessLaunch::tr("no emulator is named \"%1\" in %2")
                .arg(emulator, QDir(library.programDir()).filePath(QLatin1String(ConfigFileName))));
    else
        PrintError(HeadlessLaunch::tr("the emulator \"%1\" lists no game named \"%2\"")
                       .arg(emulator, name));
    return {};
}

// Where a zipped game is extracted to: its File in its own emulator's directory.
QString ExtractionOf(const zanku::Library &library, const zanku::GameKey &key)
{
    const int own = library.emulatorOf(key);
    return own == 0 ? QString()
                    : zanku::EmulatorPlaces(library.emulator(own), library.programDir())
                          .resolve(key.file);
}
} // namespace

int RunHeadlessLaunch(int &argc, char **argv, const StartupOutcome &outcome)
{
    QCoreApplication application(argc, argv);
    UseUtf8FileNames();
    const Translations translations;
    zanku::Library library(outcome.programDir);
    bool pastVersion = false;
    QObject::connect(&library, &zanku::Library::pastVersion, [&](const QString &text) {
        PrintError(text);
        pastVersion = true;
    });
    library.start(); // what it finds wrong with other emulators is no concern of this game
    if (pastVersion)
        return 1;
    const zanku::GameKey key = FindGame(library, outcome.launchEmulator, outcome.launchGame);
    if (key.isNull())
        return 2;

    bool told = false;
    bool ended = false;
    int status = 0;
    QObject::connect(&library, &zanku::Library::notice, [&](const QString &, const QString &text) {
        PrintError(text);
        told = true;
        // After the game, only the clean-up speaks: its folder stays (the saves in it could
        // not be kept), and nothing is left to wait for.
        if (ended)
            QCoreApplication::exit(status != 0 ? status : 1);
    });
    QObject::connect(&library, &zanku::Library::launchFailed,
                     [&](const zanku::LaunchFailure &failure) {
                         const QString said =
                             failure.played ? HeadlessLaunch::tr("%1 ended with an error in %2: %3")
                                            : HeadlessLaunch::tr("%1 did not start in %2: %3");
                         PrintError(said.arg(failure.key.name, failure.emulator, failure.reason));
                         told = true;
                     });
    // Its status as a shell gives it: 128 and the signal for one that was stopped.
    QObject::connect(&library, &zanku::Library::emulatorEnded,
                     [&](const zanku::GameKey &, int exitStatus, int signal) {
                         status = signal != 0 ? 128 + signal : exitStatus;
                     });
    library.LaunchGame(key);
    const QString folder = ExtractionOf(library, key);
    const bool extracted = !folder.isEmpty() && zanku::Extractions::isExtraction(folder);
    if (!library.anyEmulatorRunning()) { // not started, or not to be watched on this system
        library.CleanupExtraction();
        return told ? 1 : 0;
    }
    QObject::connect(&library, &zanku::Library::extractionRemoved, [&](const QString &removed) {
        if (ended && QDir::cleanPath(removed) == QDir::cleanPath(folder))
            QCoreApplication::exit(status);
    });
    QObject::connect(&library, &zanku::Library::emulatorsRunning, [&](bool running) {
        if (running)
            return;
        ended = true;
        library.CleanupExtraction();
        // Removed at once, or later once what the emulator left running has ended too.
        if (!extracted || !zanku::Extractions::isExtraction(folder))
            QCoreApplication::exit(status);
    });
    return QCoreApplication::exec();
}
