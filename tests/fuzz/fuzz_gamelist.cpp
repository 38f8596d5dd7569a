// A "gamelist.xml" as a player might have it: any bytes, read from a file.
#include "MetadataFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    return CheckMetadataReader(data, size, &zanku::ReadGamelist);
}
