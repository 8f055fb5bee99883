// Corrected block TEA (Wheeler and Needham, 1998) on little-endian words.
#include "engine/core/Xxtea.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

const uint32_t kDelta = 0x9E3779B9;

uint32_t Mix(uint32_t y, uint32_t z, uint32_t sum, uint32_t p, uint32_t e, uint128 const& key)
{
    return (((z >> 5) ^ (y << 2)) + ((y >> 3) ^ (z << 4))) ^ ((sum ^ y) + (key[int((p & 3) ^ e)] ^ z));
}

void EncipherWords(uint32_t* v, uint32_t n, uint128 const& key)
{
    uint32_t rounds = 6 + 52 / n;
    uint32_t sum = 0;
    uint32_t z = v[n - 1];
    do
    {
        sum += kDelta;
        uint32_t e = (sum >> 2) & 3;
        uint32_t p = 0;
        for (; p < n - 1; p++)
        {
            uint32_t y = v[p + 1];
            z = v[p] += Mix(y, z, sum, p, e, key);
        }
        uint32_t y = v[0];
        z = v[n - 1] += Mix(y, z, sum, p, e, key);
    } while (--rounds);
}

void DecipherWords(uint32_t* v, uint32_t n, uint128 const& key)
{
    uint32_t rounds = 6 + 52 / n;
    uint32_t sum = rounds * kDelta;
    uint32_t y = v[0];
    do
    {
        uint32_t e = (sum >> 2) & 3;
        uint32_t p = n - 1;
        for (; p > 0; p--)
        {
            uint32_t z = v[p - 1];
            y = v[p] -= Mix(y, z, sum, p, e, key);
        }
        uint32_t z = v[n - 1];
        y = v[0] -= Mix(y, z, sum, p, e, key);
        sum -= kDelta;
    } while (--rounds);
}

Vexel::IO::MemoryBuffer* ProcessRange(Vexel::IO::MemoryBuffer* buffer, int offset, int length,
                                      uint128 const& key, bool inPlace, bool encipher)
{
    if (buffer == nullptr || buffer->data == nullptr || offset < 0 || length < 1)
        return nullptr;
    if (int64_t(offset) + length > int64_t(buffer->size))
        return nullptr;
    int64_t wholeWords = (int64_t(length) + 3) & ~int64_t(3);
    if (inPlace && wholeWords != length)
        return nullptr;
    // One word mixed with itself is not invertible; also covers
    // lengths that would round past the largest buffer.
    if (wholeWords < 8 || wholeWords > INT_MAX)
        return nullptr;

    Vexel::IO::MemoryBuffer* target = buffer;
    uint8_t* bytes = buffer->data + offset;
    if (!inPlace)
    {
        target = new Vexel::IO::MemoryBuffer(int(wholeWords));
        std::memcpy(target->data, bytes, size_t(length));
        bytes = target->data;
    }

    uint32_t n = uint32_t(wholeWords / 4);
    std::vector<uint32_t> words(n);
    for (uint32_t i = 0; i < n; i++)
    {
        const uint8_t* p = bytes + 4 * i;
        words[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    if (encipher)
        EncipherWords(words.data(), n, key);
    else
        DecipherWords(words.data(), n, key);
    for (uint32_t i = 0; i < n; i++)
    {
        uint8_t* p = bytes + 4 * i;
        p[0] = uint8_t(words[i]);
        p[1] = uint8_t(words[i] >> 8);
        p[2] = uint8_t(words[i] >> 16);
        p[3] = uint8_t(words[i] >> 24);
    }
    return target;
}

} // namespace

Vexel::IO::MemoryBuffer* XxteaEncryptRange(Vexel::IO::MemoryBuffer* buffer, int offset, int length,
                                           uint128 const& key, bool inPlace)
{
    return ProcessRange(buffer, offset, length, key, inPlace, true);
}

Vexel::IO::MemoryBuffer* XxteaDecryptRange(Vexel::IO::MemoryBuffer* buffer, int offset, int length,
                                           uint128 const& key, bool inPlace)
{
    return ProcessRange(buffer, offset, length, key, inPlace, false);
}

Vexel::IO::MemoryBuffer* XxteaEncrypt(Vexel::IO::MemoryBuffer* buffer, uint128 const& key, bool inPlace)
{
    if (buffer == nullptr)
        return nullptr;
    return XxteaEncryptRange(buffer, 0, buffer->size, key, inPlace);
}

Vexel::IO::MemoryBuffer* XxteaDecrypt(Vexel::IO::MemoryBuffer* buffer, uint128 const& key, bool inPlace)
{
    if (buffer == nullptr)
        return nullptr;
    return XxteaDecryptRange(buffer, 0, buffer->size, key, inPlace);
}
