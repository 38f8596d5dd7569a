#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

// What the command line asks for before the program starts.
struct StartupOutcome {
    bool start = true;   // go on and open the main window
    int exitStatus = 0;  // the process's status when it does not start
    QString output;      // for standard output
    QString error;       // for standard error
    QString programDir;  // the library's folder: the working directory unless --library
    bool gamepad = true; // game controllers work the windows unless --no-gamepad
    // --launch: the game to start without the main window, by its emulator's and its name.
    bool launch = false;
    QString launchEmulator{};
    QString launchGame{};
    bool fullScreen = false; // --full-screen: the couch view from the start
};

// Applies the start-up options (the arguments after the program name, the bytes the
// system gave; a folder is named by them as every file name is, see QFile::decodeName):
//   --library DIR, --library=DIR  make DIR the program directory, created when
//                                 missing; "@data" stands for the user's data location
//                                 for the program
//   --no-gamepad                  leave the game controllers alone
//   --launch EMULATOR GAME        start that game without the main window, and end with it
//   --full-screen                 open in the couch view, full screen
//   --install-desktop-entry       put this copy into the application menu and exit
//   --help, --version             print and exit
// Any other argument is left to the toolkit. Without options nothing changes: the
// program directory stays the working directory the program was started in.
StartupOutcome ApplyStartupOptions(const QByteArrayList &arguments);

// Made first thing at start-up: a write past the file-size limit (ulimit -f) then fails
// with "File too large", which every save and extraction reports, instead of the signal
// ending the program without a word.
void IgnoreFileSizeSignal();

// Qt names files in UTF-8 whatever the locale; the C library, through which 7-Zip and RAR
// member names are read, is made to agree when the environment says plain "C".
void UseUtf8FileNames();
