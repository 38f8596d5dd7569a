#pragma once

#include <QCoreApplication>

namespace zanku {

// What the core tells the player (messages, reasons, counts) goes through one translation
// context, whichever file composes it: CoreText::tr("...").
class CoreText
{
    Q_DECLARE_TR_FUNCTIONS(Core)
};

} // namespace zanku
