// Stands in for an emulator in the launch tests: records how it was started (working
// directory, arguments, and whether the last argument names an existing file and what
// it holds) in "launched.txt" in its working directory, then exits.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);

    QString record;
    QTextStream out(&record);
    out << "cwd=" << QDir::currentPath() << '\n';
    for (const QString &argument : arguments)
        out << "arg=" << argument << '\n';
    if (!arguments.isEmpty()) {
        QFile game(arguments.last());
        if (QFileInfo(game).isFile() && game.open(QIODevice::ReadOnly))
            out << "game=" << QString::fromUtf8(game.readAll()) << '\n';
    }
    out.flush();

    QSaveFile file(QStringLiteral("launched.txt"));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(record.toUtf8());
    return file.commit() ? 0 : 1;
}
