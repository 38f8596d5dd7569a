#include "core/common/Quoted.h"

QString Quoted(const QString &value)
{
    constexpr qsizetype MaxShown = 200;
    if (value.size() <= MaxShown)
        return value;
    qsizetype kept = MaxShown - 1;
    if (value.at(kept - 1).isHighSurrogate())
        --kept; // never half a character
    return value.left(kept) + QChar(0x2026);
}
