// bench-startup-floor: the least any program can do to show what Zanku shows. A main
// window of the same widgets (menus, a list with its columns, the three buttons, a picture
// frame, a two-panel status bar) painted once; with --library DIR, before it shows, every
// ROM list of DIR read whole and split into lines and fields, and every emulator's games
// and archive directories listed with readdir and their names sorted: the work no
// catalogue can skip, done plainly. The benchmark preloads its first-paint watch into
// this program as into Zanku.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTreeView>

#include <algorithm>
#include <dirent.h>
#include <string>
#include <vector>

namespace {
// Every name in a directory, sorted; nothing when it cannot be read.
size_t listDirectory(const QByteArray &path, std::vector<std::string> &names)
{
    names.clear();
    DIR *dir = opendir(path.constData());
    if (dir == nullptr)
        return 0;
    while (const dirent *entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names.size();
}

// The lists and directories of the library in DIR, plainly: how many lines and names.
size_t readLibrary(const QString &programDir)
{
    size_t seen = 0;
    QFile config(QDir(programDir).filePath(QStringLiteral("Zanku.ini")));
    QList<QByteArray> directories;
    if (config.open(QIODevice::ReadOnly)) {
        // "[Name]", then Program, Path, ZippedRomPath, ... one a line.
        const QList<QByteArray> lines = config.readAll().split('\n');
        for (qsizetype at = 0; at + 3 < lines.size(); ++at) {
            if (lines[at].trimmed().startsWith('['))
                directories << lines[at + 2].trimmed() << lines[at + 3].trimmed();
        }
    }
    const QStringList lists =
        QDir(programDir).entryList({QStringLiteral("*.rom")}, QDir::Files, QDir::Name);
    for (const QString &name : lists) {
        QFile list(QDir(programDir).filePath(name));
        if (!list.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : list.readAll().split('\n'))
            seen += size_t(line.split('=').size());
    }
    std::vector<std::string> names;
    for (const QByteArray &directory : directories)
        seen += listDirectory(directory, names);
    return seen;
}

void addMenus(QMainWindow &window)
{
    for (const char *title : {"File", "Options", "Game", "View", "Help"}) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int item = 0; item < 4; ++item)
            menu->addAction(QStringLiteral("Item %1").arg(item));
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const qsizetype library = arguments.indexOf(QStringLiteral("--library"));
    const size_t seen = library > 0 ? readLibrary(arguments.value(library + 1)) : 0;

    QMainWindow window;
    addMenus(window);
    auto *client = new QWidget(&window);
    window.setCentralWidget(client);
    auto *model = new QStandardItemModel(0, 2, &window);
    model->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type")});
    auto *list = new QTreeView(client);
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setGeometry(8, 8, 273, 305);
    const char *buttons[] = {"Launch Game", ">>", "Exit"};
    for (int b = 0; b < 3; ++b)
        (new QPushButton(QString::fromLatin1(buttons[b]), client))
            ->setGeometry(8 + 90 * b, 320, 85, 30);
    auto *frame = new QFrame(client);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(288, 0, 409, 365);
    (new QLabel(QStringLiteral("No picture"), frame))->setGeometry(10, 10, 380, 300);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Waiting for selection...")), 1);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Games  ( %1 )").arg(seen)));
    window.resize(702, 420);
    window.show();
    return QApplication::exec();
}
