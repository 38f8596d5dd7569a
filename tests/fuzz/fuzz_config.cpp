// "Zanku.ini" as a player might have it: any bytes, parsed, written back and parsed again.
#include "core/catalogue/Config.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const ParsedConfig parsed = ParseConfig(text.split(QLatin1Char('\n')));
    if (ParseConfig(FormatConfig(parsed.emulators)).emulators.size() != parsed.emulators.size())
        __builtin_trap();
    return 0;
}
