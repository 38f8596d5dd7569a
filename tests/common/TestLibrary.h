#pragma once

#include "core/library/Library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The user's configuration, cache and data folders of one test, empty at its start: a
// window never reads what another test or an earlier run left, nor the player's own.
class UserFolders {
public:
    UserFolders()
    {
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            qputenv(name, QFile::encodeName(dir_.filePath(QString::fromLatin1(name))));
    }

private:
    QTemporaryDir dir_;
};

// A fresh program directory for one test, with the library that reads it, and user
// folders of its own. Helpers write
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

    // Its key, as the list would hand it over.
    zanku::GameKey keyOf(const QString &name) const { return core.keyOf(slotOf(name)); }

private:
    UserFolders users_;
    QTemporaryDir dir_;

public:
    zanku::Library core{dir_.path()};
    QStringList notices;
};

// A named pipe that nobody writes to. Should the program wait on it, its other end is
// opened here again and again once the deadline has passed, which lets every waiting
// open and read end: the test then fails on released() instead of hanging.
class StuckPipe {
public:
    explicit StuckPipe(const QString &path, int seconds = 5)
        : path_(QFile::encodeName(path))
    {
        if (::mkfifo(path_.constData(), 0600) != 0)
            qFatal("cannot make the pipe %s", path_.constData());
        watch_ = std::thread([this, seconds] {
            std::unique_lock lock(mutex_);
            auto wait = std::chrono::milliseconds(seconds * 1000);
            while (!ended_.wait_for(lock, wait, [this] { return done_; })) {
                released_ = true;
                // Both ends at once: never waits itself, and wakes a reader waiting to open.
                const int fd = ::open(path_.constData(), O_RDWR | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                wait = std::chrono::milliseconds(20);
            }
        });
    }
    ~StuckPipe()
    {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        ended_.notify_all();
        watch_.join();
    }
    StuckPipe(const StuckPipe &) = delete;
    StuckPipe &operator=(const StuckPipe &) = delete;

    bool released() const { return released_; }

private:
    QByteArray path_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::atomic<bool> released_{false};
    std::thread watch_;
};
