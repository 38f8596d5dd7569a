#pragma once

#include <QString>
#include <QStringList>

// Where a game's cover is looked for.
struct CoverPlace {
    QString snapshotDir; // the emulator's Snapshot Path, absolute (resolved from its directory)
    QString name;        // the game's Name
    QString file;        // the game's File
    // Pictures the player's metadata files name for the game (absolute), looked at when
    // the snapshot directory has none.
    QStringList alsoPictures;
};

// A game's cover: its box art, else its title screen, else its snapshot. Box art:
// "Named_Boxarts/<label>.png" (label of Name, then of the File's base name: see ThumbnailLabel),
// then "covers/<base name of File>.png" / ".jpg". Title: "Named_Titles/<label>.png" (same two
// labels), then "titlescreens/<base>.png" / ".jpg". Snapshot: FindSnapshot, then
// FindArtworkSnapshot; then the first of alsoPictures. Only ordinary files count (not folders,
// not FIFOs). Empty when none; the snapshot directory is not looked in when it is not an
// absolute path (nothing is looked for in the working directory).
QString FindCover(const CoverPlace &place);

// A game's title screen alone: "Named_Titles/<label>.png", then "titlescreens/<base>.png" /
// ".jpg", as FindCover looks for it. Empty when none.
QString FindTitleScreen(const CoverPlace &place);
