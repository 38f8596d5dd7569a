#pragma once

#include <QString>

// The extraction journal: "Zanku.extract" in the program directory lists every folder a
// zipped launch made and has not removed yet, with the folder's identity, so that the
// next start removes what a crash left behind. One Zanku at a time keeps it: whichever
// has a folder listed holds its lock until the folder is removed, and meanwhile another
// Zanku leaves the journal alone.

// At start-up: takes the program directory's journal for this session, removes every
// folder it lists that is still the one recorded, and empties it. A journal that cannot
// be read whole is ignored.
void RecoverExtractions(const QString &programDir);

// Before a zipped launch extracts into `folder` (absolute, not there yet): records it,
// creates it and records its identity. When the journal cannot be written, the launch
// goes on and an "Error" box says so, once per session.
void BeginExtraction(const QString &folder);

// Removes `folder`, made by BeginExtraction, with everything in it when it is still the
// folder made then, and forgets it once it is gone.
void RemoveExtraction(const QString &folder);
