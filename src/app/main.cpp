#include "app/MessageBoxes.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    InstallMessageBoxes();
    return 0;
}
