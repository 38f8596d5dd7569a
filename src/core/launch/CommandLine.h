#pragma once

#include "core/records/Records.h"

#include <QChar>
#include <QString>
#include <QStringList>

// How a launch puts a game on the emulator's command line.

// The options a launch uses: the game's own when it has any, else the emulator's.
QString LaunchOptions(const QString &emulatorOptions, const QString &gameOptions);

// The game as the emulator gets it, once any extraction is done. A file without an
// extension goes as stored. Otherwise the first of these that exists under the emulator's
// directory: the file inside a folder of its own name ("." sep file sep file, where an
// archive without a destination directory is extracted), the destination directory's
// copy of a zipped game, the file where it lies as stored; when none exists, the first.
// With "/" as separator (everywhere but Windows) an argument that would begin with "-"
// gets "./" before it, so that the emulator never reads the game as an option.
QString GameArgument(const GameRecord &game, bool zipped, const QString &emulatorDir,
                     QChar separator);

// The options with the game argument in place of their last "%"; without "%" the game
// is not passed at all.
QString PlaceGameArgument(const QString &options, const QString &gameArgument);

// The whole command line: the program, one blank, the options with the game in place.
// Nothing is quoted or trimmed.
QString BuildCommandLine(const QString &program, const QString &options,
                         const QString &gameArgument);

// The options as words, read as emulators on Windows read their command line: blanks
// separate words, double quotes group (a quoted "" is an empty word), every other
// character, single quotes and backslashes included, is ordinary.
QStringList SplitOptionWords(const QString &options);

// A program and its arguments, started without a shell.
struct LaunchCommand {
    QString program;
    QStringList arguments;
};

// The command started where there is no single command line to hand over: the program
// taken whole, the options split into words, and only then the game argument put in
// place of the last "%" inside the last word holding one, so the game's name is never
// split or interpreted.
LaunchCommand BuildLaunchCommand(const QString &program, const QString &options,
                                 const QString &gameArgument);

// Finds the program to start: one with a folder part as it stands, resolved against the
// emulator's directory; a bare name first in the emulator's directory, then on the PATH.
// A file of that name in the emulator's directory is the one meant, even when it cannot
// be run. Empty when none can be run; `problem` then says "was not found" or "is not
// executable".
QString ResolveProgram(const QString &program, const QString &emulatorDir,
                       QString *problem = nullptr);
