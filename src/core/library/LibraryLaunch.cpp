// The library's side of a launch: the key resolved against the files as they are now, and
// plain data handed to the launcher.

#include "core/catalogue/Catalogue.h"
#include "core/gamedata/GameData.h"
#include "core/launch/Launcher.h"
#include "core/library/Library.h"

namespace zanku {

void Library::LaunchGame(const GameKey &key, const QString &withEmulator)
{
    CleanupExtraction();
    ReadConfig();
    const int slot = slotOf(key);
    if (slot == 0) {
        launcher_->refuse();
        return;
    }
    const int own = emulatorOf(key);
    if (own == 0) {
        launcher_->refuse(NotConfiguredText(key.emulator));
        return;
    }
    // An emulator named for this launch must be there; the one the player chose for the
    // game gives way to its own once it is gone from "Zanku.ini".
    const QString chosen = withEmulator.isEmpty() ? gameData_->launchWith(key) : withEmulator;
    int with = chosen.isEmpty() ? own : findEmulator(chosen);
    if (with == 0 && !withEmulator.isEmpty()) {
        launcher_->refuse(NotConfiguredText(withEmulator));
        return;
    }
    if (with == 0)
        with = own;
    LaunchRequest request{key, game(slot), emulator(own), emulator(with)};
    request.game.EmulatorIndex = own;
    launcher_->start(request);
}

} // namespace zanku
