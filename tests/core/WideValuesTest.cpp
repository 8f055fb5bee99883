#include "engine/core/WideValues.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace
{
// Byte k of the value in memory order of little-endian words.
std::vector<uint8_t> BytesOf(uint256 const& value)
{
    std::vector<uint8_t> bytes;
    for (int k = 0; k < 32; k++)
        bytes.push_back(uint8_t(value[k / 4] >> (8 * (k % 4))));
    return bytes;
}

std::vector<uint8_t> Padded(std::vector<uint8_t> bytes)
{
    bytes.resize(32, 0);
    return bytes;
}
} // namespace

TEST(WideValues, ParseHexadecimalText)
{
    struct Case
    {
        std::string text;
        std::vector<uint8_t> bytes; // then zeros
    } cases[] = {
        {"0x0102", {1, 2}},
        {"0102", {1, 2}},
        {"x0102", {0, 0x10, 2}}, // "x0" has no leading digit
        {"abc", {0xAB, 0x0C}},
        {"ABcd", {0xAB, 0xCD}},
        {"", {}},
        {"0x", {}},
        {"0X12", {0, 0x12}},         // only a lower-case x is a prefix
        {"120x34", {0x12, 0, 0x34}}, // "0x" elsewhere stays in place
        {"1g2", {1, 2}},             // second char not a digit: the first alone
        {"g1ff", {0, 0xFF}},
        {" 5-1+2", {0, 0, 0}}, // no blanks or signs
        {"7", {7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BytesOf(uint256::Parse(c.text)), Padded(c.bytes)) << '"' << c.text << '"';

    // Memory order: byte 0 is the low byte of word 0.
    const uint256 ordered = uint256::Parse("0102030405060708");
    EXPECT_EQ(ordered[0], 0x04030201u);
    EXPECT_EQ(ordered[1], 0x08070605u);
}

TEST(WideValues, ParseTakesAtMostSixtyFourDigits)
{
    // Reference: the C library's strtoul on every pair.
    std::mt19937 random(77u);
    const char digits[] = "0123456789abcdefABCDEF";
    for (int round = 0; round < 300; round++)
    {
        std::string text;
        const int length = int(random() % 81);
        for (int i = 0; i < length; i++)
            text += digits[random() % 22];
        std::vector<uint8_t> expected(32, 0);
        for (int i = 0; i < length && i <= 63; i += 2)
            expected[size_t(i / 2)] = uint8_t(std::strtoul(text.substr(size_t(i), 2).c_str(), nullptr, 16));
        EXPECT_EQ(BytesOf(uint256::Parse(text)), expected) << text;
        EXPECT_EQ(uint256::Parse("0x" + text), uint256::Parse(text));
    }
    const std::string seventy(70, 'f');
    EXPECT_EQ(uint256::Parse(seventy), uint256::Parse(seventy.substr(0, 64)));
    EXPECT_EQ(BytesOf(uint256::Parse(seventy)), std::vector<uint8_t>(32, 0xFF));
}

TEST(WideValues, EqualityComparesEveryWord)
{
    EXPECT_TRUE(uint256().IsZero());
    EXPECT_EQ(uint256(), uint256(0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(uint128(), uint128(0, 0, 0, 0));
    for (int i = 0; i < 8; i++)
    {
        uint256 a(1, 2, 3, 4, 5, 6, 7, 8);
        uint256 b = a;
        EXPECT_TRUE(a == b);
        b[i] ^= 0x80000000u;
        EXPECT_TRUE(a != b) << i;
        EXPECT_FALSE(a == b) << i;
        EXPECT_FALSE(b.IsZero());
        if (i < 5)
        {
            uint160 c(1, 2, 3, 4, 5), d = c;
            EXPECT_EQ(c, d);
            d[i] = 0;
            EXPECT_NE(c, d) << i;
        }
        if (i < 4)
        {
            uint128 c(1, 2, 3, 4), d = c;
            EXPECT_EQ(c, d);
            d[i] = 0;
            EXPECT_NE(c, d) << i;
            EXPECT_EQ(c[i], uint32_t(i + 1)); // words in argument order
        }
    }
}

TEST(WideValues, CopyAndDuplicateBytes)
{
    const uint8_t source[4] = {1, 2, 3, 4};
    uint8_t target[4] = {9, 9, 9, 9};
    CopyBytes(target, source, 3);
    EXPECT_EQ(std::vector<uint8_t>(target, target + 4), std::vector<uint8_t>({1, 2, 3, 9}));
    CopyBytes(target, source, 0);
    CopyBytes(target, source, -1);
    CopyBytes(nullptr, source, 4);
    CopyBytes(target, nullptr, 4);
    EXPECT_EQ(std::vector<uint8_t>(target, target + 4), std::vector<uint8_t>({1, 2, 3, 9}));

    uint8_t* copy = DuplicateBytes(source, 4);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    EXPECT_EQ(std::vector<uint8_t>(copy, copy + 4), std::vector<uint8_t>({1, 2, 3, 4}));
    delete[] copy;
    EXPECT_EQ(DuplicateBytes(source, 0), nullptr);
    EXPECT_EQ(DuplicateBytes(source, -2), nullptr);
    EXPECT_EQ(DuplicateBytes(nullptr, 4), nullptr);
}
