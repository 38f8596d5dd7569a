#pragma once

#include <cstddef>

// The CRC-32 of zip archives (zlib's crc32_z), continued from crc over the bytes. Several
// times faster than zlib's own on processors with carry-less multiplication.
unsigned long Crc32(unsigned long crc, const unsigned char *data, size_t size);
