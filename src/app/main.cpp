#include "app/AfterFirstPaint.h"
#include "app/HeadlessLaunch.h"
#include "app/StartupOptions.h"
#include "app/Translations.h"
#include "core/catalogue/Config.h"
#include "core/library/Library.h"
#include "ui/browser/MainFrm.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/Messages.h"
#include "ui/input/GamepadInput.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char *argv[])
{
    IgnoreFileSizeSignal();
    QApplication::setApplicationName(QStringLiteral("Zanku"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zanku.Zanku"));

    // Before the toolkit starts: --help and --version need no display.
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(argv[i]);
    StartupOutcome outcome = ApplyStartupOptions(arguments);
    if (!outcome.output.isEmpty() || !outcome.error.isEmpty()) {
        // Said in the player's language: the translations need an application object,
        // made here only for what is said.
        QCoreApplication sayer(argc, argv);
        const Translations translations;
        outcome = ApplyStartupOptions(arguments);
        std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
        std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    }
    if (!outcome.start)
        return outcome.exitStatus;
    if (outcome.launch) // no window, so no display needed either
        return RunHeadlessLaunch(argc, argv, outcome);

    QApplication application(argc, argv);
    UseUtf8FileNames();
    const Translations translations;
    InstallMessageBoxes();

    zanku::Library library(outcome.programDir);
    // A configuration of a past version ends the program once the player has read why.
    QObject::connect(&library, &zanku::Library::pastVersion, [](const QString &text) {
        ShowMessage(QCoreApplication::translate("Core", "Error"), text);
        std::exit(1);
    });
    MainFrm mainWindow(library);
    mainWindow.endProgramWhenUnloaded();
    mainWindow.Form_Load();

    mainWindow.showAsRemembered(outcome.fullScreen);
    // Made once the window has painted: the controllers' library is loaded then, and a
    // start without a controller costs nothing to be seen.
    std::unique_ptr<GamepadInput> gamepad;
    if (outcome.gamepad) {
        AfterFirstPaint(mainWindow, [&] {
            gamepad = std::make_unique<GamepadInput>(
                QDir(outcome.programDir).filePath(QLatin1String(zanku::MappingsFileName)));
            mainWindow.useGamepad(*gamepad);
        });
    }
    return QApplication::exec();
}
