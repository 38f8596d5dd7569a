#include "ui/common/MessageBoxes.h"
#include "app/StartupOptions.h"
#include "ui/browser/MainFrm.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Zanku"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zanku.Zanku"));

    // Before the toolkit starts: --help and --version need no display, and the library
    // folder is the working directory before anything else happens.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const StartupOutcome outcome = ApplyStartupOptions(arguments);
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    if (!outcome.start)
        return outcome.exitStatus;

    QApplication application(argc, argv);
    InstallMessageBoxes();

    MainFrm mainWindow;
    mainWindow.endProgramWhenUnloaded();
    mainWindow.Form_Load();

    mainWindow.adjustSize();
    const QRect screen = mainWindow.screen()->availableGeometry();
    mainWindow.move(screen.center() - mainWindow.rect().center());
    mainWindow.show();
    return QApplication::exec();
}
