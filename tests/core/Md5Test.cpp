#include "engine/core/Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

// The digest bytes in order, as hexadecimal text (word k holds bytes 4k..4k+3
// little-endian).
std::string Hex(uint128 const& value)
{
    std::string text;
    char pair[3];
    for (int word = 0; word < 4; word++)
        for (int byte = 0; byte < 4; byte++)
        {
            std::snprintf(pair, sizeof(pair), "%02x", unsigned(value[word] >> (8 * byte)) & 0xFF);
            text += pair;
        }
    return text;
}

std::string Hash(std::string const& text)
{
    return Hex(Md5::ComputeHash(text.data(), int(text.size())));
}

std::vector<uint8_t> Pattern(int length)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < length; i++)
        bytes.push_back(uint8_t(i * 7 + 3));
    return bytes;
}

} // namespace

// RFC 1321 appendix A.5.
TEST(Md5, MatchesTheReferenceTestSuite)
{
    struct Case
    {
        const char* text;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hash(c.text), c.digest) << '"' << c.text << '"';
}

TEST(Md5, DigestBytesFormLittleEndianWords)
{
    uint128 empty = Md5::ComputeHash("", 0);
    EXPECT_EQ(empty[0], 0xd98c1dd4u);
    EXPECT_EQ(empty[3], 0x7e42f8ecu);
}

TEST(Md5, NullOrNegativeLengthGivesZero)
{
    EXPECT_EQ(Hash(std::string()), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Hex(Md5::ComputeHash(nullptr, 0)), std::string(32, '0'));
    EXPECT_EQ(Hex(Md5::ComputeHash(nullptr, 10)), std::string(32, '0'));
    EXPECT_EQ(Hex(Md5::ComputeHash("abc", -1)), std::string(32, '0'));
}

// Lengths around the 56-byte padding boundary and the 64-byte block, checked
// with Python's hashlib.
TEST(Md5, PaddingBoundaries)
{
    struct Case
    {
        int length;
        const char* digest;
    } cases[] = {
        {55, "52c0e574e1198de5fe3f8f11440dcb1b"}, {56, "46c9907fc908ee68b1e7b8e71286a518"},
        {63, "a62f6d59e837867693f042f5b8f5a236"}, {64, "7160b8fb5e9e4023d549c3971fbaeead"},
        {65, "70bd662e7aefbda85a0f7244167b7897"},
    };
    for (const Case& c : cases)
    {
        std::vector<uint8_t> bytes = Pattern(c.length);
        EXPECT_EQ(Hex(Md5::ComputeHash(reinterpret_cast<const char*>(bytes.data()), c.length)), c.digest)
            << c.length;
    }
}

TEST(Md5, PiecewiseUpdatesMatchOneShot)
{
    std::string million(1000000, 'a');
    const std::string expected = "7707d6ae4e027c70eea2a935c2296f21";
    EXPECT_EQ(Hash(million), expected);

    for (int piece : {1, 3, 63, 64, 65, 1000})
    {
        Md5 context;
        context.Init();
        for (size_t at = 0; at < million.size(); at += size_t(piece))
        {
            int length = int(std::min(size_t(piece), million.size() - at));
            context.Update(million.data() + at, length);
            context.Update(million.data(), 0); // empty updates change nothing
        }
        context.Final();
        EXPECT_EQ(Hex(context.DigestValue()), expected) << piece;
    }

    Md5 reused;
    reused.Update("junk", 4);
    reused.Final();
    reused.Init();
    reused.Update("abc", 3);
    reused.Final();
    EXPECT_EQ(Hex(reused.DigestValue()), "900150983cd24fb0d6963f7d28e17f72");
}
