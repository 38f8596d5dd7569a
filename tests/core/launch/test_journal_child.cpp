// A Zanku to crash: starts up in the current directory, launches the zipped game named
// on its command line, says "launched", then waits to be killed.

#include "GameSlot.h"
#include "core/common/AppState.h"
#include "core/launch/ExtractionJournal.h"
#include "core/launch/Launch.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Config.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <QThread>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    App().ProgramDir = QDir::currentPath();
    RecoverExtractions(App().ProgramDir);
    ReadConfig();
    LoadCatalogue();
    const QString name = QCoreApplication::arguments().value(1);
    LaunchGame(GameSlot(name), name, {[](const QString &) {}, [](bool) {}});
    QTextStream(stdout) << "launched" << Qt::endl;
    for (;;)
        QThread::sleep(60);
}
