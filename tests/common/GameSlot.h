#pragma once

#include "core/common/AppState.h"

// The slot of the first loaded game of this name (0: none), the row a player would pick.
inline int GameSlot(const QString &name)
{
    const AppState &app = App();
    for (int slot = 1; slot <= app.GameCount; ++slot) {
        if (app.Games[size_t(slot)].Name == name)
            return slot;
    }
    return 0;
}
