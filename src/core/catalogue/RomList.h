#pragma once

#include "core/common/ProgramFiles.h"

#include "core/catalogue/ListRead.h"
#include "core/records/Records.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// A ROM list file, "<emulator name>.rom": one game a line, the fields of GameFields
// joined by "=" (Name=File=DestinationDir=Options=Type). Type takes everything after the
// fourth "=".

inline constexpr auto RomListExtension = zanku::own::RomListExtension;

// The ROM list file name of an emulator (without directory).
QString RomListFileName(const QString &emulatorName);

// Splits one line at its first four "="; missing fields are empty. EmulatorIndex and
// Zipped are left at their defaults.
GameRecord ParseRomLine(QStringView line);

// The same split, the fields left in the line, in the order of GameFields.
inline constexpr size_t GameFieldCount = zanku::GameFields.size();
std::array<QStringView, GameFieldCount> SplitRomLine(QStringView line);

// The line a ROM list holds for a game: its five fields joined by "=".
QString FormatRomLine(const GameRecord &game);
QStringList FormatRomList(const std::vector<GameRecord> &games);

// The extension of each GameArchive, in its order: the order the catalogue looks.
inline constexpr std::array<const char *, 3> ArchiveExtensions = {".zip", ".7z", ".rar"};

// Where a game's archive lies: ZippedRomPath + separator + base name + its extension; with
// no ZippedRomPath, base name + extension, beside the games.
QString ArchivePathFor(const QString &zippedRomPath, const QString &file, QChar separator,
                       GameArchive archive = GameArchive::Zip);

// A ROM list read as it stands (no presence test), blank lines skipped; `versioned` as
// ReadTextLines takes it.
zanku::ListRead<GameRecord> ReadRomList(const QString &path, bool versioned = true);
