#pragma once

#include "core/records/GameKey.h"

#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace zanku {
class Library;
}

// What the player can do with one game, the same in the menu bar's "Game" menu and in the
// row menu: launch it, launch it with another emulator once or always, star it, and put it
// into collections or take it out. `launch` is the list's own launch (what Enter does).
void FillGameMenu(QMenu &menu, zanku::Library &library, const zanku::GameKey &game, QWidget *parent,
                  const std::function<void()> &launch);

// A name as a menu item shows it: an "&" is a letter, not a mnemonic.
QString MenuText(const QString &name);

// A menu's text as a sentence names it: without its mnemonic ("&File" reads "File").
QString WithoutMnemonic(const QString &text);
