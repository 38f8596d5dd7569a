#pragma once

#include <QString>

#include <functional>
#include <vector>

class GameListModel;

// One emulator as "Zanku.ini" describes it.
struct EmulatorRecord {
    QString Name;
    QString Program;
    QString Path;
    QString Options;
    QString SnapshotPath;
    QString ZippedRomPath;

    friend bool operator==(const EmulatorRecord &, const EmulatorRecord &) = default;
};

// One game of an emulator's ROM list.
struct GameRecord {
    QString Name;
    QString File;
    QString DestinationDir;
    QString Options;
    QString Type;
    int EmulatorIndex = 0; // slot in AppState::Emulators
    bool Zipped = false;   // only the archive in the emulator's ZippedRomPath was found

    friend bool operator==(const GameRecord &, const GameRecord &) = default;
};

// The state the whole program shares. Tables keep slot 0 empty and fill slots 1 to
// the count, so slot numbers read the same everywhere; they grow as needed.
struct AppState {
    QString ProgramDir;   // the working directory at start-up
    QString ProgramDrive; // its first two characters
    QString EditMode;     // "ROM" or "EMU", set before the configuration editor opens
    bool NewRowPending = false;
    int DirTarget = 0; // record editor field the chooser fills: 1 program, 2 zips, 3 snapshots

    std::vector<EmulatorRecord> Emulators{1};
    int EmulatorCount = 0;
    std::vector<GameRecord> Games{1};
    int GameCount = 0;

    // Where the last zipped launch extracted its archive (an absolute path), and whether
    // that extraction created the directory: only then does the clean-up remove it.
    QString LastExtractDir;
    bool LastExtractCreated = false;

    // The main grid that the catalogue fills; registered by the window that shows it.
    GameListModel *Lista = nullptr;

    // Ends the program at once (the past-version configuration); tests replace it.
    std::function<void(int exitCode)> EndProgram;
};

// The one instance of the program's state.
AppState &App();

// Makes a directory current; false when it cannot be entered. Drives need no step of
// their own: on Windows the path carries its drive.
bool EnterDirectory(const QString &path);
