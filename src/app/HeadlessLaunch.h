#pragma once

struct StartupOutcome;

// `zanku --launch EMULATOR GAME`: starts the game as a double-click on its row would (its
// archive extracted, its saves kept, its play counted), with no window and no display,
// and returns once its emulator has ended and what was extracted for it is removed: the
// emulator's exit status, or non-zero with a line on standard error when the game cannot
// be found or started. Makes the application object itself.
int RunHeadlessLaunch(int &argc, char **argv, const StartupOutcome &outcome);
