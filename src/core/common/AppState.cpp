#include "core/common/AppState.h"

#include <QDir>

#include <cstdlib>

AppState &App()
{
    static AppState state = [] {
        AppState initial;
        initial.EndProgram = [](int exitCode) { std::exit(exitCode); };
        return initial;
    }();
    return state;
}

bool EnterDirectory(const QString &path)
{
    return !path.isEmpty() && QDir::setCurrent(path);
}
