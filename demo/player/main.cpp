// A stand-in emulator for the demo library: shows how Zanku started it (the
// arguments, the working directory and the game file) and closes on any key.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace {
class PlayerWindow : public QWidget {
public:
    PlayerWindow()
    {
        setWindowTitle(QStringLiteral("Zanku demo player"));
        auto *layout = new QVBoxLayout(this);
        auto *text = new QLabel(describeStart(), this);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->setFont(QFont(QStringLiteral("Monospace")));
        layout->addWidget(text);
        auto *hint = new QLabel(QStringLiteral("Press any key to close."), this);
        layout->addWidget(hint);
    }

protected:
    void keyPressEvent(QKeyEvent *) override { close(); }

private:
    static QString describeStart()
    {
        const QStringList arguments = QApplication::arguments().mid(1);
        QString text = QStringLiteral("Working directory: %1\n\nArguments (%2):\n")
                           .arg(QDir::currentPath())
                           .arg(arguments.size());
        for (const QString &argument : arguments)
            text += QStringLiteral("  [%1]\n").arg(argument);

        // The game is the first argument that names an existing file or directory.
        for (const QString &argument : arguments) {
            const QFileInfo game(argument);
            if (!game.exists())
                continue;
            text += game.isDir() ? QStringLiteral("\nGame directory: %1\n").arg(game.fileName())
                                 : QStringLiteral("\nGame file: %1 (%2 bytes)\n")
                                       .arg(game.fileName())
                                       .arg(game.size());
            return text;
        }
        return text + QStringLiteral("\nNo game file on the command line.\n");
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    PlayerWindow window;
    window.resize(560, 320);
    window.show();
    return QApplication::exec();
}
