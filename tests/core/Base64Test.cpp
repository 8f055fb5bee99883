#include "engine/core/Base64.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

using Buffer = std::unique_ptr<Vexel::IO::MemoryBuffer>;

std::vector<uint8_t> BytesOf(const Vexel::IO::MemoryBuffer& buffer)
{
    return std::vector<uint8_t>(buffer.data, buffer.data + buffer.size);
}

std::vector<uint8_t> BytesOf(std::string const& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Encode(std::vector<uint8_t> const& bytes)
{
    return Base64Encode(bytes.data(), int(bytes.size()));
}

} // namespace

// RFC 4648 section 10, plus binary rows checked with Python's base64 module.
TEST(Base64, EncodesAndDecodesReferenceVectors)
{
    struct Case
    {
        std::vector<uint8_t> bytes;
        const char* text;
    } cases[] = {
        {BytesOf("f"), "Zg=="},
        {BytesOf("fo"), "Zm8="},
        {BytesOf("foo"), "Zm9v"},
        {BytesOf("foob"), "Zm9vYg=="},
        {BytesOf("fooba"), "Zm9vYmE="},
        {BytesOf("foobar"), "Zm9vYmFy"},
        {{0x00, 0xFF, 0xFE, 0x10, 0x83, 0x3E, 0x3F}, "AP/+EIM+Pw=="},
        {{0xFB, 0xFF}, "+/8="},
        {{0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF}, "+vv8/f7/"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Encode(c.bytes), c.text);
        EXPECT_EQ(Base64EncodedLength(int(c.bytes.size())), int64_t(std::string(c.text).size()));
        Buffer decoded(Base64Decode(c.text));
        ASSERT_NE(decoded, nullptr) << c.text;
        EXPECT_EQ(BytesOf(*decoded), c.bytes) << c.text;
    }
}

TEST(Base64, EmptyAndNullInputs)
{
    EXPECT_EQ(Encode({}), "");
    EXPECT_EQ(Base64Encode(nullptr, 5), "");
    uint8_t one = 1;
    EXPECT_EQ(Base64Encode(&one, -1), "");
    EXPECT_EQ(Base64EncodeBuffer(nullptr), "");
    EXPECT_EQ(Base64Decode(""), nullptr);

    Vexel::IO::MemoryBuffer buffer(3);
    buffer.data[0] = 'f';
    buffer.data[1] = 'o';
    buffer.data[2] = 'o';
    EXPECT_EQ(Base64EncodeBuffer(&buffer), "Zm9v");
}

TEST(Base64, EncodedLengthNeverOverflows)
{
    EXPECT_EQ(Base64EncodedLength(0), 0);
    EXPECT_EQ(Base64EncodedLength(-7), 0);
    EXPECT_EQ(Base64EncodedLength(1), 4);
    EXPECT_EQ(Base64EncodedLength(3), 4);
    EXPECT_EQ(Base64EncodedLength(4), 8);
    EXPECT_EQ(Base64EncodedLength(2147483647), int64_t(2863311532));
}

TEST(Base64, DecodeIsForgiving)
{
    struct Case
    {
        std::string text;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"Zm", {}},                  // incomplete group without "=" is dropped
        {"Zm9vZg", {'f', 'o', 'o'}}, // ... also after whole groups
        {"Zg==Zm9v", {'f'}},         // decoding stops at the first "="
        {"Zm8=Zm9v", {'f', 'o'}},
        {"Zm9v=", {'f', 'o', 'o'}},    // "=" at position 0 adds nothing
        {"Zm9vZ===", {'f', 'o', 'o'}}, // ... nor at position 1
        {"=Zm9v", {}},
        {"Z!9v", {0x64, 0x0F, 0x6F}},                      // unknown characters count as 0
        {"Zm9v\nZm9v", {'f', 'o', 'o', 0x01, 0x99, 0xBD}}, // line breaks take a position
        {"AAAA", {0, 0, 0}},
        {"////", {0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases)
    {
        Buffer decoded(Base64Decode(c.text));
        ASSERT_NE(decoded, nullptr) << c.text;
        EXPECT_NE(decoded->data, nullptr) << c.text;
        EXPECT_EQ(BytesOf(*decoded), c.bytes) << c.text;
    }
}

TEST(Base64, RoundTripsEveryByteAtEveryLength)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 256; i++)
        bytes.push_back(uint8_t(255 - i));
    for (size_t length = 1; length <= bytes.size(); length += 37)
    {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + long(length));
        std::string text = Encode(part);
        EXPECT_EQ(text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                  std::string::npos);
        Buffer decoded(Base64Decode(text));
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(BytesOf(*decoded), part);
    }
}
