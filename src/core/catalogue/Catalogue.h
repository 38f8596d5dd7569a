#pragma once

// Rebuilds App().Games from the ROM list of every emulator, keeping the games whose
// file, directory or archive is present, then fills the main grid (FillGameList).
// Reports emulators whose directory or ROM list is missing.
void LoadCatalogue();

// Fills the registered main grid (App().Lista) with the catalogue, sorted by game
// name, and sets its count text "Games  ( n Roms )".
void FillGameList();

#include <QString>

// The count panel's text: "Games  ( 12 Roms )" (a blank stands in the sign position).
QString GameCountText(int gameCount);
