// A Zanku to crash: starts up in the current directory, launches the zipped game named
// on its command line, says "launched", then waits to be killed. With "--clean" it
// cleans up at once, as a click on another row does, and runs on meanwhile. Its boxes are
// printed as "notice <title>: <text>".

#include "core/library/Library.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <QThread>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    zanku::Library library(QDir::currentPath());
    QObject::connect(&library, &zanku::Library::notice,
                     [](const QString &title, const QString &text) {
                         QTextStream(stdout) << "notice " << title << ": " << text << Qt::endl;
                     });
    library.start();
    const QString name = QCoreApplication::arguments().value(1);
    for (int slot = 1; slot <= library.GameCount(); ++slot) {
        if (library.game(slot).Name == name)
            library.LaunchGame(library.keyOf(slot));
    }
    QTextStream(stdout) << "launched" << Qt::endl;
    if (QCoreApplication::arguments().contains(QStringLiteral("--clean"))) {
        library.CleanupExtraction();
        return application.exec();
    }
    for (;;)
        QThread::sleep(60);
}
