// RFC 1321 MD5, written for byte-order independence: words are assembled
// from bytes explicitly.
#include "engine/core/Md5.h"

#include <cstring>

namespace
{

const uint32_t kSineTable[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Left-rotation amounts, four per round.
const int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t RotateLeft(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

uint32_t LoadLittleEndian(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void StoreLittleEndian(uint8_t* p, uint32_t value)
{
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
    p[2] = uint8_t(value >> 16);
    p[3] = uint8_t(value >> 24);
}

} // namespace

void Md5::Init()
{
    state[0] = 0x67452301;
    state[1] = 0xEFCDAB89;
    state[2] = 0x98BADCFE;
    state[3] = 0x10325476;
    bitCount = 0;
    std::memset(buffer, 0, sizeof(buffer));
    std::memset(digest, 0, sizeof(digest));
}

void Md5::Transform(const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; i++)
        x[i] = LoadLittleEndian(block + 4 * i);

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; i++)
    {
        int round = i / 16;
        uint32_t f;
        int k;
        switch (round)
        {
        case 0:
            f = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) & 15;
            break;
        case 2:
            f = b ^ c ^ d;
            k = (3 * i + 5) & 15;
            break;
        default:
            f = c ^ (b | ~d);
            k = (7 * i) & 15;
            break;
        }
        uint32_t rotated = b + RotateLeft(a + f + x[k] + kSineTable[i], kShifts[round][i & 3]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void Md5::Update(const uint8_t* data, int length)
{
    if (data == nullptr || length < 1)
        return;
    size_t used = size_t((bitCount >> 3) & 63);
    bitCount += uint64_t(length) << 3;

    size_t remaining = size_t(length);
    size_t room = 64 - used;
    if (remaining >= room)
    {
        std::memcpy(buffer + used, data, room);
        Transform(buffer);
        data += room;
        remaining -= room;
        for (; remaining >= 64; remaining -= 64, data += 64)
            Transform(data);
        used = 0;
    }
    std::memcpy(buffer + used, data, remaining);
}

void Md5::Final()
{
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; i++)
        lengthBytes[i] = uint8_t(bitCount >> (8 * i));

    // A 0x80 byte, zeros up to 56 mod 64, then the 64-bit bit count.
    static const uint8_t kPadding[64] = {0x80};
    size_t used = size_t((bitCount >> 3) & 63);
    size_t padLength = used < 56 ? 56 - used : 120 - used;
    Update(kPadding, int(padLength));
    Update(lengthBytes, 8);

    for (int i = 0; i < 4; i++)
        StoreLittleEndian(digest + 4 * i, state[i]);
}

uint128 Md5::DigestValue() const
{
    return uint128(LoadLittleEndian(digest), LoadLittleEndian(digest + 4), LoadLittleEndian(digest + 8),
                   LoadLittleEndian(digest + 12));
}

uint128 Md5::ComputeHash(const char* data, int length)
{
    if (data == nullptr || length < 0)
        return uint128();
    Md5 context;
    context.Update(data, length);
    context.Final();
    return context.DigestValue();
}
