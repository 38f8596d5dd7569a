#include "app/MessageBoxes.h"
#include "browser/MainFrm.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zanku"));
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
