#include "app/StartupOptions.h"

#include "app/DesktopEntry.h"
#include "core/common/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <clocale>
#include <csignal>
#include <cstring>

#include <langinfo.h>

namespace {
// What the options say on the terminal.
class StartupOptions {
    Q_DECLARE_TR_FUNCTIONS(StartupOptions)
};

const QString LibraryOption = QStringLiteral("--library");
const QString DataLocation = QStringLiteral("@data");

QString VersionText()
{
    return QStringLiteral("%1 %2.%3.%4\n")
        .arg(QLatin1String(Version::ProductTitle))
        .arg(Version::Major)
        .arg(Version::Minor)
        .arg(Version::Revision);
}

QString HelpText()
{
    return StartupOptions::tr(
               "Usage: zanku [--library DIR] [--no-gamepad] [--full-screen] [--launch EMULATOR "
               "GAME]\n"
               "       zanku --install-desktop-entry\n"
               "A front-end for several game emulators: every game of every emulator in one list,\n"
               "started with a double-click.\n"
               "\n"
               "  --library DIR  keep Zanku.ini and the ROM lists in DIR and start there; DIR is\n"
               "                 created when missing; @data stands for the user's data folder\n"
               "                 (%1)\n"
               "  --no-gamepad   do not let game controllers work the list\n"
               "  --full-screen  open full screen, in the view made for a TV and a controller\n"
               "  --install-desktop-entry\n"
               "                 put this Zanku into the application menu (for a copy that was\n"
               "                 unpacked, not installed) and exit\n"
               "  --launch EMULATOR GAME\n"
               "                 start that game (the names as the list shows them) without\n"
               "                 the window; end with the emulator's exit status\n"
               "  --help         show this help and exit\n"
               "  --version      show the version and exit\n"
               "\n"
               "Without --library the program directory is the folder Zanku is started in.\n")
        .arg(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

StartupOutcome Failure(const QString &message)
{
    return {false, 2, {}, QStringLiteral("zanku: %1\n").arg(message), {}};
}

StartupOutcome ReadOptions(const QByteArrayList &arguments)
{
    QByteArray given; // the folder as the system gave it
    bool libraryGiven = false;
    bool gamepad = true;
    QStringList launch; // the emulator and the game
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument = QFile::decodeName(arguments[i]);
        if (argument == QLatin1String("--help"))
            return {false, 0, HelpText(), {}, {}};
        if (argument == QLatin1String("--version"))
            return {false, 0, VersionText(), {}, {}};
        if (argument == QLatin1String("--install-desktop-entry")) {
            const DesktopEntryResult installed = InstallDesktopEntry();
            if (!installed.ok)
                return Failure(installed.message);
            return {false,
                    0,
                    StartupOptions::tr("Zanku is in the menu: %1").arg(installed.message) + u'\n',
                    {},
                    {}};
        }
        if (argument == QLatin1String("--no-gamepad")) {
            gamepad = false;
        } else if (argument == QLatin1String("--launch")) {
            if (i + 2 >= arguments.size())
                return Failure(StartupOptions::tr("--launch needs an emulator and a game"));
            launch = {QFile::decodeName(arguments[i + 1]), QFile::decodeName(arguments[i + 2])};
            i += 2;
        } else if (argument == LibraryOption) {
            if (i + 1 == arguments.size())
                return Failure(StartupOptions::tr("--library needs a folder"));
            given = arguments[++i];
            libraryGiven = true;
        } else if (argument.startsWith(LibraryOption + QLatin1Char('='))) {
            given = arguments[i].mid(LibraryOption.size() + 1);
            libraryGiven = true;
        }
    }
    if (!libraryGiven)
        return {true,
                0,
                {},
                {},
                QDir::currentPath(),
                gamepad,
                !launch.isEmpty(),
                launch.value(0),
                launch.value(1)};

    QString library = QFile::decodeName(given);
    // A name that does not decode would come back as another folder's: every file in it
    // would be looked for, and made, elsewhere.
    if (QFile::encodeName(library) != given)
        return Failure(StartupOptions::tr("the library folder \"%1\" has a name that is not valid "
                                          "UTF-8; Zanku cannot name the files in it")
                           .arg(library));
    if (library == DataLocation)
        library = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (library.isEmpty())
        return Failure(StartupOptions::tr("--library needs a folder"));
    // Made before anything reads or writes a file of the library.
    const QFileInfo folder(library);
    if (!QDir().mkpath(library) || !folder.isDir())
        return Failure(StartupOptions::tr("cannot create the library folder \"%1\"").arg(library));
    if (!folder.isReadable() || !folder.isExecutable())
        return Failure(StartupOptions::tr("cannot enter the library folder \"%1\"").arg(library));
    return {true,
            0,
            {},
            {},
            folder.absoluteFilePath(),
            gamepad,
            !launch.isEmpty(),
            launch.value(0),
            launch.value(1)};
}

} // namespace

StartupOutcome ApplyStartupOptions(const QByteArrayList &arguments)
{
    StartupOutcome outcome = ReadOptions(arguments);
    outcome.fullScreen = outcome.start && arguments.contains("--full-screen");
    return outcome;
}

void IgnoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void UseUtf8FileNames()
{
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}
