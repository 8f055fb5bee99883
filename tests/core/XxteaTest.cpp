#include "engine/core/Xxtea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace
{

using Vexel::IO::MemoryBuffer;

std::unique_ptr<MemoryBuffer> MakeBuffer(int size, uint8_t seed)
{
    std::unique_ptr<MemoryBuffer> buffer(new MemoryBuffer(size));
    for (int i = 0; i < size; i++)
        buffer->data[i] = uint8_t(seed + i * 13);
    return buffer;
}

std::vector<uint8_t> BytesOf(const MemoryBuffer& buffer)
{
    return std::vector<uint8_t>(buffer.data, buffer.data + buffer.size);
}

const uint128 kKey(0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210);

} // namespace

// The published corrected block TEA vector: zero key, two zero words.
TEST(Xxtea, MatchesThePublishedVector)
{
    MemoryBuffer buffer(8);
    MemoryBuffer* result = XxteaEncrypt(&buffer, uint128(), true);
    ASSERT_EQ(result, &buffer);
    // Words are stored little-endian.
    const std::vector<uint8_t> expected = {0xAB, 0x04, 0x37, 0x05, 0x80, 0x8C, 0x5D, 0x57};
    EXPECT_EQ(BytesOf(buffer), expected);

    ASSERT_EQ(XxteaDecrypt(&buffer, uint128(), true), &buffer);
    EXPECT_EQ(BytesOf(buffer), std::vector<uint8_t>(8, 0));
}

TEST(Xxtea, RoundTripsInPlaceAndIntoNewBuffers)
{
    for (int length = 8; length <= 64; length += 4)
    {
        std::unique_ptr<MemoryBuffer> buffer = MakeBuffer(length, uint8_t(length));
        const std::vector<uint8_t> original = BytesOf(*buffer);

        std::unique_ptr<MemoryBuffer> copy(XxteaEncrypt(buffer.get(), kKey, false));
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy.get(), buffer.get());
        EXPECT_EQ(BytesOf(*buffer), original) << "source untouched, length " << length;
        EXPECT_NE(BytesOf(*copy), original) << length;

        ASSERT_EQ(XxteaEncrypt(buffer.get(), kKey, true), buffer.get());
        EXPECT_EQ(BytesOf(*buffer), BytesOf(*copy)) << "both modes agree, length " << length;

        std::unique_ptr<MemoryBuffer> plain(XxteaDecrypt(copy.get(), kKey, false));
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(BytesOf(*plain), original) << length;

        ASSERT_EQ(XxteaDecrypt(buffer.get(), kKey, true), buffer.get());
        EXPECT_EQ(BytesOf(*buffer), original) << length;

        // A different key does not give the plain text back.
        XxteaDecrypt(copy.get(), uint128(1, 2, 3, 4), true);
        EXPECT_NE(BytesOf(*copy), original) << length;
    }
}

TEST(Xxtea, RangesLeaveTheRestAlone)
{
    std::unique_ptr<MemoryBuffer> buffer = MakeBuffer(40, 7);
    const std::vector<uint8_t> original = BytesOf(*buffer);

    ASSERT_EQ(XxteaEncryptRange(buffer.get(), 4, 24, kKey, true), buffer.get());
    std::vector<uint8_t> after = BytesOf(*buffer);
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 4, original.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 28, after.end(), original.begin() + 28));
    EXPECT_FALSE(std::equal(after.begin() + 4, after.begin() + 28, original.begin() + 4));

    // The range alone, enciphered into a new buffer, gives the same words.
    std::unique_ptr<MemoryBuffer> fresh = MakeBuffer(40, 7);
    std::unique_ptr<MemoryBuffer> range(XxteaEncryptRange(fresh.get(), 4, 24, kKey, false));
    ASSERT_NE(range, nullptr);
    ASSERT_EQ(range->size, 24);
    EXPECT_TRUE(std::equal(after.begin() + 4, after.begin() + 28, range->data));

    ASSERT_EQ(XxteaDecryptRange(buffer.get(), 4, 24, kKey, true), buffer.get());
    EXPECT_EQ(BytesOf(*buffer), original);
}

TEST(Xxtea, PartialWordsAreZeroPaddedWhenCopied)
{
    std::unique_ptr<MemoryBuffer> buffer = MakeBuffer(5, 1);
    EXPECT_EQ(XxteaEncrypt(buffer.get(), kKey, true), nullptr);

    std::unique_ptr<MemoryBuffer> sealed(XxteaEncrypt(buffer.get(), kKey, false));
    ASSERT_NE(sealed, nullptr);
    ASSERT_EQ(sealed->size, 8);
    std::unique_ptr<MemoryBuffer> opened(XxteaDecrypt(sealed.get(), kKey, false));
    ASSERT_NE(opened, nullptr);
    std::vector<uint8_t> expected = BytesOf(*buffer);
    expected.resize(8, 0);
    EXPECT_EQ(BytesOf(*opened), expected);
}

TEST(Xxtea, RefusesBadRangesAndChangesNothing)
{
    struct Case
    {
        int offset;
        int length;
        bool inPlace;
    } cases[] = {
        {0, 0, true},        // nothing to process
        {0, 0, false},       //
        {0, 1, false},       // a single word cannot be undone
        {0, 4, true},        //
        {0, 4, false},       //
        {4, 3, false},       //
        {0, 7, true},        // in place needs whole words
        {0, 10, true},       //
        {-4, 8, true},       // negative offset
        {-4, 8, false},      //
        {0, -8, false},      // negative length
        {20, 24, false},     // past the end
        {0, 48, true},       //
        {40, 1, false},      //
        {8, INT_MAX, false}, // the end overflows int
        {INT_MAX, 8, false}, //
    };
    for (bool encipher : {true, false})
        for (const Case& c : cases)
        {
            std::unique_ptr<MemoryBuffer> buffer = MakeBuffer(40, 3);
            const std::vector<uint8_t> original = BytesOf(*buffer);
            MemoryBuffer* result = encipher
                                       ? XxteaEncryptRange(buffer.get(), c.offset, c.length, kKey, c.inPlace)
                                       : XxteaDecryptRange(buffer.get(), c.offset, c.length, kKey, c.inPlace);
            EXPECT_EQ(result, nullptr) << c.offset << " " << c.length << " " << c.inPlace << " " << encipher;
            EXPECT_EQ(BytesOf(*buffer), original);
        }

    for (bool inPlace : {true, false})
    {
        EXPECT_EQ(XxteaEncrypt(nullptr, kKey, inPlace), nullptr);
        EXPECT_EQ(XxteaDecrypt(nullptr, kKey, inPlace), nullptr);
        EXPECT_EQ(XxteaEncryptRange(nullptr, 0, 8, kKey, inPlace), nullptr);
        MemoryBuffer hollow(nullptr, 8);
        EXPECT_EQ(XxteaEncrypt(&hollow, kKey, inPlace), nullptr);
        EXPECT_EQ(XxteaDecrypt(&hollow, kKey, inPlace), nullptr);
        MemoryBuffer empty(0);
        EXPECT_EQ(XxteaEncrypt(&empty, kKey, inPlace), nullptr);
        std::unique_ptr<MemoryBuffer> four = MakeBuffer(4, 9);
        EXPECT_EQ(XxteaEncrypt(four.get(), kKey, inPlace), nullptr);
        EXPECT_EQ(XxteaDecrypt(four.get(), kKey, inPlace), nullptr);
    }
}
