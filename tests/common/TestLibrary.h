#pragma once

#include "core/common/AppState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A fresh program directory for one test: a temporary directory that is current and
// registered as ProgramDir, with the shared state emptied. Helpers write the files a
// player would have: emulator directories, game files, ROM lists.
class TestLibrary {
public:
    TestLibrary()
        : previousDir_(QDir::currentPath())
    {
        QDir::setCurrent(dir_.path());
        AppState &app = App();
        app.ProgramDir = QDir::currentPath();
        app.ProgramDrive = app.ProgramDir.left(2);
        app.Emulators.resize(1);
        app.EmulatorCount = 0;
        app.Games.resize(1);
        app.GameCount = 0;
        app.EditMode.clear();
        app.NewRowPending = false;
        app.DirTarget = 0;
    }
    ~TestLibrary() { QDir::setCurrent(previousDir_); }
    TestLibrary(const TestLibrary &) = delete;
    TestLibrary &operator=(const TestLibrary &) = delete;

    QString path(const QString &relative = {}) const
    {
        return relative.isEmpty() ? QDir(dir_.path()).absolutePath()
                                  : QDir(dir_.path()).absoluteFilePath(relative);
    }

    // Writes raw bytes to a file under the library, creating its folders.
    QString write(const QString &relative, const QByteArray &content = "data") const
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            qFatal("cannot write test file %s", qPrintable(file));
        return file;
    }

    QString mkdir(const QString &relative) const
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }

    QByteArray read(const QString &relative) const
    {
        QFile in(path(relative));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

private:
    QString previousDir_;
    QTemporaryDir dir_;
};
