#pragma once

#include <QString>

// The fixture bench-launch works on, built in a fresh program directory: "Zanku.ini"
// with one emulator (the stand-in), its ROM list, a plain game, a zipped game whose
// archive holds one large deflated member, and snapshots in three formats.

// Names of the games, as the grid shows them.
inline constexpr auto PlainGame = "Plain Game";
inline constexpr auto ZippedGame = "Zipped Game";
inline constexpr auto JpegGame = "Jpeg Snapshot";
inline constexpr auto GifGame = "Gif Snapshot";
inline constexpr auto BmpGame = "Bmp Snapshot";
inline constexpr auto NoPictureGame = "No Snapshot";

inline constexpr auto EmulatorName = "Bench";
inline constexpr int SnapshotWidth = 1920;
inline constexpr int SnapshotHeight = 1080;

struct LaunchFixture {
    QString programDir;           // holds "Zanku.ini" and the ROM list
    QString emulatorDir;          // the stand-in emulator, its games, "zips" and "snaps"
    QString program;              // the stand-in emulator's absolute path
    QString archive;              // the zipped game's archive
    qint64 zippedBytes = 0;       // size of the archive's one member
    qint64 archiveBytes = 0;      // size of the archive
    qint64 snapshotBytes[3] = {}; // JPEG, GIF, BMP files
};

// Builds the fixture under `programDir` (an existing, empty directory) with
// `zippedBytes` of member data; false with the reason in `error`.
bool BuildLaunchFixture(const QString &programDir, const QString &standInEmulator,
                        qint64 zippedBytes, LaunchFixture &fixture, QString &error);
