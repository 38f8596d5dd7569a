#pragma once

#include <QString>

#include <array>

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

// The archives a zipped game may lie in, in the order they are looked for.
enum class GameArchive : quint8 { Zip, SevenZip, Rar };

// One game of an emulator's ROM list.
struct GameRecord {
    QString Name;
    QString File;
    QString DestinationDir;
    QString Options;
    QString Type;
    int EmulatorIndex = 0; // slot of its emulator in the library's table
    bool Zipped = false;   // only the archive in the emulator's ZippedRomPath was found
    GameArchive Archive = GameArchive::Zip; // which one, when Zipped

    friend bool operator==(const GameRecord &, const GameRecord &) = default;
};

namespace zanku {

// A record's text fields, described once, in the order of their file: a line of
// "Zanku.ini" each for an emulator (after its "[Name]" header), a field of the ROM list
// line for a game. The editor's grid shows them in the same order, one column each.
template <typename Record> struct Field {
    QString Record::*member;
    // English, translated where shown (the "Core" context).
    const char *title; // the editor's column title
    const char *label; // what the record editor and its refusals call it
    int tenths;        // the editor's column width, in tenths of the grid's width
};

inline constexpr std::array<Field<EmulatorRecord>, 6> EmulatorFields = {{
    {&EmulatorRecord::Name, QT_TRANSLATE_NOOP("Core", "Emulator Name"),
     QT_TRANSLATE_NOOP("Core", "Emulator Name"), 2},
    {&EmulatorRecord::Program, QT_TRANSLATE_NOOP("Core", "Emul Program"),
     QT_TRANSLATE_NOOP("Core", "Emulator Program"), 3},
    {&EmulatorRecord::Path, QT_TRANSLATE_NOOP("Core", "Emul Path"),
     QT_TRANSLATE_NOOP("Core", "Games Directory"), 3},
    {&EmulatorRecord::ZippedRomPath, QT_TRANSLATE_NOOP("Core", "Zipped Roms Path"),
     QT_TRANSLATE_NOOP("Core", "Zipped Rom Path"), 3},
    {&EmulatorRecord::SnapshotPath, QT_TRANSLATE_NOOP("Core", "Emul Snapshot"),
     QT_TRANSLATE_NOOP("Core", "Snapshot Path"), 3},
    {&EmulatorRecord::Options, QT_TRANSLATE_NOOP("Core", "Emul Options"),
     QT_TRANSLATE_NOOP("Core", "Options"), 4},
}};

inline constexpr std::array<Field<GameRecord>, 5> GameFields = {{
    {&GameRecord::Name, QT_TRANSLATE_NOOP("Core", "Game Name"),
     QT_TRANSLATE_NOOP("Core", "Game Name"), 4},
    {&GameRecord::File, QT_TRANSLATE_NOOP("Core", "File or Dir Name"),
     QT_TRANSLATE_NOOP("Core", "Game File or Directory"), 2},
    {&GameRecord::DestinationDir, QT_TRANSLATE_NOOP("Core", "Destination Dir"),
     QT_TRANSLATE_NOOP("Core", "Destination Directory"), 2},
    {&GameRecord::Options, QT_TRANSLATE_NOOP("Core", "Game Options"),
     QT_TRANSLATE_NOOP("Core", "Game Options"), 5},
    {&GameRecord::Type, QT_TRANSLATE_NOOP("Core", "Game Type"),
     QT_TRANSLATE_NOOP("Core", "Game Type"), 2},
}};

} // namespace zanku
