#include "engine/core/HashBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Pinned values of SuperFastHash with unsigned tail bytes; the rows with
// bytes of 0x80 and above in the tail differ from the signed-char variant.
TEST(HashBytes, PinnedValues)
{
    struct Case
    {
        std::vector<uint8_t> bytes;
        uint32_t hash;
    } cases[] = {
        {{'a'}, 0x115ea782},
        {{'a', 'b'}, 0x516b8b44},
        {{'a', 'b', 'c'}, 0xd2be198a},
        {{'a', 'b', 'c', 'd'}, 0xdad8b8db},
        {{'C', 'o', 'b', 'a', 'l', 't', ' ', 'K', 'e', 'e', 'p'}, 0xf854ba66},
        {{0x80}, 0x5d4c226b},
        {{0x01, 0x02, 0xFF}, 0x0277d872},
        {{0xFE, 0xFF, 0x80, 0x90, 0xA0}, 0x08863c61},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HashBytes(c.bytes.data(), int(c.bytes.size())), c.hash) << c.bytes.size();
}

TEST(HashBytes, NullOrEmptyIsZero)
{
    const uint8_t byte = 'a';
    EXPECT_EQ(HashBytes(nullptr, 4), 0u);
    EXPECT_EQ(HashBytes(&byte, 0), 0u);
    EXPECT_EQ(HashBytes(&byte, -1), 0u);
}

TEST(HashBytes, DependsOnEveryByteAndTheLength)
{
    std::vector<uint8_t> bytes(13, 0);
    const uint32_t base = HashBytes(bytes.data(), int(bytes.size()));
    for (size_t i = 0; i < bytes.size(); i++)
    {
        bytes[i] = 1;
        EXPECT_NE(HashBytes(bytes.data(), int(bytes.size())), base) << i;
        bytes[i] = 0;
    }
    EXPECT_NE(HashBytes(bytes.data(), 12), base);
}
