#pragma once

#include <QString>
#include <QStringList>

// How the record editor names an emulator's program and its Games Directory (the
// emulator's directory, where its games lie), so that the program is found from there.
// A bare name is looked up in the Games Directory first, then on the search path (PATH);
// a path is taken from the Games Directory, or as it stands when absolute. A relative
// Games Directory is taken from the program directory.

struct ProgramChoice {
    QString program;
    QString gamesDirectory;
};

// The player picked `programFile` (absolute) with the chooser. With no Games Directory
// yet, or the program's own folder as it, the program's folder is the Games Directory
// and the program goes by its name: an emulator that keeps its games beside it. A folder
// of the system's programs never becomes the Games Directory: the import would scan it
// and extractions would go there. Otherwise the Games Directory stays, and the program
// goes by its bare name when that finds exactly this file, else by its absolute path.
ProgramChoice ChooseProgram(const QString &programFile, const QString &gamesDirectory,
                            const QString &programDir);

// Whether `folder` (absolute) holds the system's programs rather than an emulator's own
// files: a folder of `searchPath`, or one at or under /usr, /bin, /sbin, /snap or the
// system's Flatpak folder.
bool IsSystemProgramFolder(const QString &folder, const QStringList &searchPath);

// The folders of the search path (PATH) of this process.
QStringList SearchPath();

// The program's text once the Games Directory changes from `before` to `after`: a program
// that was found and would now be found elsewhere, or not at all, is written as the
// absolute path of the file it named; any other stays as it is.
QString FollowGamesDirectory(const QString &program, const QString &before, const QString &after,
                             const QString &programDir);
