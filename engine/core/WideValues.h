// Unsigned values wider than a machine word, kept as 32-bit words with word 0
// first in memory. In bit streams the highest word goes first.
#pragma once

#include <cstdint>
#include <string>

struct uint128
{
    uint32_t words[4];

    uint128() : words{0, 0, 0, 0} {}
    uint128(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) : words{w0, w1, w2, w3} {}
    uint32_t& operator[](int i) { return words[i]; }
    uint32_t operator[](int i) const { return words[i]; }
    bool operator==(uint128 const& o) const;
    bool operator!=(uint128 const& o) const { return !(*this == o); }
};

struct uint160
{
    uint32_t words[5];

    uint160() : words{0, 0, 0, 0, 0} {}
    uint160(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3, uint32_t w4) : words{w0, w1, w2, w3, w4} {}
    uint32_t& operator[](int i) { return words[i]; }
    uint32_t operator[](int i) const { return words[i]; }
    bool operator==(uint160 const& o) const;
    bool operator!=(uint160 const& o) const { return !(*this == o); }
};

struct uint256
{
    uint32_t words[8];

    uint256() : words{0, 0, 0, 0, 0, 0, 0, 0} {}
    uint256(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3, uint32_t w4, uint32_t w5, uint32_t w6, uint32_t w7)
        : words{w0, w1, w2, w3, w4, w5, w6, w7}
    {
    }
    uint32_t& operator[](int i) { return words[i]; }
    uint32_t operator[](int i) const { return words[i]; }
    bool operator==(uint256 const& o) const;
    bool operator!=(uint256 const& o) const { return !(*this == o); }
    bool IsZero() const { return *this == uint256(); }

    // Byte k (memory order, little-endian words) is the k-th pair of
    // hexadecimal digits; an optional leading "0x"; at most 64 digits.
    static uint256 Parse(std::string const& text);
};

// memcpy semantics: the ranges must not overlap. Nothing for null pointers
// or a count <= 0.
void CopyBytes(void* destination, const void* source, int count);
// A new[] copy of count bytes; the caller frees it with delete[]. Null for a
// null source or a count <= 0.
uint8_t* DuplicateBytes(const void* source, int count);
