#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// How a launch puts a game on the emulator's command line.

// The options a launch uses: the game's own when it has any, else the emulator's.
QString LaunchOptions(const QString &emulatorOptions, const QString &gameOptions);

// The game as the emulator gets it: the file itself when it has no extension, else the
// file of that name inside the folder of that name ("." sep file sep file), which is
// where a zipped game's archive is extracted.
QString GameArgument(const QString &file, QChar separator);

// The options with the game argument in place of their last "%"; without "%" the game
// is not passed at all.
QString PlaceGameArgument(const QString &options, const QString &gameArgument);

// The whole command line: the program, one blank, the options with the game in place.
// Nothing is quoted or trimmed.
QString BuildCommandLine(const QString &program, const QString &options,
                         const QString &gameArgument);

// A program and its arguments, started without a shell.
struct LaunchCommand {
    QString program;
    QStringList arguments;
};

// The command started where there is no single command line to hand over: the
// program taken whole, the options split into words as a shell splits them (quotes
// group), and only then the game argument put in place of the last "%", inside the
// word that holds it, so the game's name is never split or interpreted.
LaunchCommand BuildLaunchCommand(const QString &program, const QString &options,
                                 const QString &gameArgument);

// Finds the program to start: a program with a folder part (or an absolute one) as it
// stands, resolved against the emulator's directory; a bare name first in the
// emulator's directory, then on the PATH. Empty when there is no such program.
QString ResolveProgram(const QString &program, const QString &emulatorDir);
