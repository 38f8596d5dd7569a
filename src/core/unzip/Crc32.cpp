#include "core/unzip/Crc32.h"

#include <zlib.h>

#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>

namespace {

// One lane moved 512 (or 128) bits on: its halves multiplied by the constants, plus the
// next data.
__attribute__((target("pclmul,sse4.1"))) inline __m128i fold(__m128i x, __m128i k, __m128i next)
{
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

// CRC-32 of the gzip polynomial by carry-less multiplication: four 128-bit lanes are
// folded 64 bytes at a time, then into one, reduced to 64 and, Barrett's way, to 32 bits.
// The constants are powers of x modulo the polynomial, bit-reflected.
__attribute__((target("pclmul,sse4.1"))) uint32_t foldCrc(const unsigned char *buf, size_t len,
                                                          uint32_t crc)
{
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5k0 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);

    __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf));
    __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + 16));
    __m128i x3 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + 32));
    __m128i x4 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + 48));
    x1 = _mm_xor_si128(x1, _mm_cvtsi32_si128(int(crc)));
    buf += 64;
    len -= 64;
    for (; len >= 64; buf += 64, len -= 64) {
        x1 = fold(x1, k1k2, _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf)));
        x2 = fold(x2, k1k2, _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + 16)));
        x3 = fold(x3, k1k2, _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + 32)));
        x4 = fold(x4, k1k2, _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + 48)));
    }
    x1 = fold(x1, k3k4, x2);
    x1 = fold(x1, k3k4, x3);
    x1 = fold(x1, k3k4, x4);
    for (; len >= 16; buf += 16, len -= 16)
        x1 = fold(x1, k3k4, _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf)));

    // 128 bits to 64.
    __m128i x2b = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2b);
    x2b = _mm_srli_si128(x1, 4);
    x1 = _mm_and_si128(x1, mask32);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(x1, k5k0, 0x00), x2b);
    // Barrett reduction to 32 bits.
    x2b = _mm_and_si128(x1, mask32);
    x2b = _mm_clmulepi64_si128(x2b, poly, 0x10);
    x2b = _mm_and_si128(x2b, mask32);
    x2b = _mm_clmulepi64_si128(x2b, poly, 0x00);
    x1 = _mm_xor_si128(x1, x2b);
    return uint32_t(_mm_extract_epi32(x1, 1));
}

} // namespace
#endif

unsigned long Crc32(unsigned long crc, const unsigned char *data, size_t size)
{
#if defined(__x86_64__)
    static const bool folding =
        __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    if (folding && size >= 64) {
        const size_t bulk = size & ~size_t(15);
        crc = ~foldCrc(data, bulk, ~uint32_t(crc)) & 0xffffffffUL;
        data += bulk;
        size -= bulk;
    }
#endif
    return crc32_z(crc, data, size);
}
