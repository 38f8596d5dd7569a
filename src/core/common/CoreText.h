#pragma once

#include <QCoreApplication>
#include <QLocale>

namespace zanku {

// What the core tells the player (messages, reasons, counts) goes through one translation
// context, whichever file composes it: CoreText::tr("...").
class CoreText {
    Q_DECLARE_TR_FUNCTIONS(Core)
};

// A count as the player's locale writes it ("1.613" in German); digits alone under a C
// locale, as the program always wrote them.
inline QString LocalNumber(qint64 number)
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QString::number(number) : locale.toString(number);
}

} // namespace zanku
