#pragma once

#include "core/library/Library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A fresh program directory for one test, with the library that reads it. Helpers write
// the files a player would have: emulator directories, game files, ROM lists. What the
// library has to tell the player is kept in `notices` ("title: text"), the end for a
// past version of "Zanku.ini" among them ("end: text").
class TestLibrary {
public:
    TestLibrary()
    {
        QObject::connect(&core, &zanku::Library::notice,
                         [this](const QString &t, const QString &x) {
                             notices.append(t + QStringLiteral(": ") + x);
                         });
        QObject::connect(&core, &zanku::Library::pastVersion, [this](const QString &text) {
            notices.append(QStringLiteral("end: ") + text);
        });
    }
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

    // Saves "Zanku.ini" as the editor does, over whatever is there now.
    bool writeConfig(const std::vector<EmulatorRecord> &emulators)
    {
        const QString file = path(QStringLiteral("Zanku.ini"));
        return core.WriteConfig(emulators, CurrentVersion(file)).status == zanku::SaveResult::Saved;
    }

    // The slot of the first loaded game of this name (0: none), the row a player would pick.
    int slotOf(const QString &name) const
    {
        for (int slot = 1; slot <= core.GameCount(); ++slot) {
            if (core.game(slot).Name == name)
                return slot;
        }
        return 0;
    }

private:
    QTemporaryDir dir_;

public:
    zanku::Library core{dir_.path()};
    QStringList notices;
};
