#pragma once

#include <QByteArray>

#include <algorithm>
#include <cstdint>

// Deterministic bytes from a 16-letter alphabet: deflate brings them to about half.
class Generator {
public:
    explicit Generator(std::uint64_t seed)
        : state_(seed | 1)
    {
    }
    void fill(QByteArray &data)
    {
        static const char Alphabet[] = "ACGTacgt01234567";
        char *p = data.data();
        const qsizetype size = data.size();
        for (qsizetype i = 0; i < size; i += 16) {
            std::uint64_t bits = next();
            for (qsizetype k = i; k < std::min(size, i + 16); ++k) {
                p[k] = Alphabet[bits & 15];
                bits >>= 4;
            }
        }
    }

private:
    std::uint64_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    std::uint64_t state_;
};
