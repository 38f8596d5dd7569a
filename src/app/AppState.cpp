#include "app/AppState.h"

#include <QDir>

#include <cstdlib>

AppState &App() {
    static AppState state{.EndProgram = [](int exitCode) { std::exit(exitCode); }};
    return state;
}

bool EnterDirectory(const QString &path) {
    return !path.isEmpty() && QDir::setCurrent(path);
}
