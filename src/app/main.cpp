#include "app/StartupOptions.h"
#include "core/catalogue/Config.h"
#include "core/library/Library.h"
#include "ui/browser/MainFrm.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/Messages.h"
#include "ui/input/GamepadInput.h"

#include <QApplication>
#include <QDir>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <langinfo.h>

int main(int argc, char *argv[])
{
    IgnoreFileSizeSignal();
    QApplication::setApplicationName(QStringLiteral("Zanku"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zanku.Zanku"));

    // Before the toolkit starts: --help and --version need no display.
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(argv[i]);
    const StartupOutcome outcome = ApplyStartupOptions(arguments);
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    if (!outcome.start)
        return outcome.exitStatus;

    QApplication application(argc, argv);
    // Qt names files in UTF-8 whatever the locale; the C library, through which 7-Zip and
    // RAR member names are read, is made to agree when the environment says plain "C".
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    InstallMessageBoxes();

    zanku::Library library(outcome.programDir);
    // A configuration of a past version ends the program once the player has read why.
    QObject::connect(&library, &zanku::Library::pastVersion, [](const QString &text) {
        ShowMessage(QStringLiteral("Error"), text);
        std::exit(1);
    });
    MainFrm mainWindow(library);
    mainWindow.endProgramWhenUnloaded();
    mainWindow.Form_Load();

    mainWindow.showAsRemembered();
    // Made once the window shows: without a controller it costs nothing to be seen.
    std::unique_ptr<GamepadInput> gamepad;
    if (outcome.gamepad) {
        gamepad = std::make_unique<GamepadInput>(
            QDir(outcome.programDir).filePath(QLatin1String(zanku::MappingsFileName)));
        mainWindow.useGamepad(*gamepad);
    }
    return QApplication::exec();
}
