// Writes the program's icon as PNG files for the desktop's icon theme:
//   zanku-export-icons OUTPUT_DIR NAME SIZE...
// gives OUTPUT_DIR/SIZExSIZE/apps/NAME.png for every size.
#include "ui/common/AppIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: zanku-export-icons OUTPUT_DIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QDir output(arguments[1]);
    for (const QString &sizeText : arguments.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = output.filePath(folder + QLatin1Char('/') + arguments[2] + ".png");
        if (!ok || size <= 0 || !output.mkpath(folder) || !AppIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "zanku-export-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
