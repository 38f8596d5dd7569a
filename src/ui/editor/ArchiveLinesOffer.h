#pragma once

#include "core/records/Records.h"

class EditorGrid;

// Offers, in a box of this caption, as a ROM list is shown, to make the lines whose File is a ".7z"
// or ".rar" archive name the game inside it; a Yes changes those rows on screen, for the player to
// save. Returns whether any row changed.
bool OfferArchiveLineFixes(const QString &caption, EditorGrid &grid, const EmulatorRecord &emulator,
                           const QString &programDir);
