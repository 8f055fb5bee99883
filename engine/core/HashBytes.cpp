#include "engine/core/HashBytes.h"

namespace
{

uint32_t Load16(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

} // namespace

uint32_t HashBytes(const uint8_t* data, int length)
{
    if (data == nullptr || length < 1)
        return 0;

    uint32_t hash = uint32_t(length);
    int tail = length & 3;
    for (int blocks = length >> 2; blocks > 0; blocks--, data += 4)
    {
        hash += Load16(data);
        uint32_t mixed = (Load16(data + 2) << 11) ^ hash;
        hash = (hash << 16) ^ mixed;
        hash += hash >> 11;
    }

    switch (tail)
    {
    case 3:
        hash += Load16(data);
        hash ^= hash << 16;
        hash ^= uint32_t(data[2]) << 18;
        hash += hash >> 11;
        break;
    case 2:
        hash += Load16(data);
        hash ^= hash << 11;
        hash += hash >> 17;
        break;
    case 1:
        hash += data[0];
        hash ^= hash << 10;
        hash += hash >> 1;
        break;
    default:
        break;
    }

    // Final avalanche so that the last bytes reach every bit.
    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash;
}
