#include "tests/core/StreamTestSupport.h"
#include "engine/core/BitReader.h"
#include "engine/core/BitWriter.h"
#include "engine/core/CharCoding.h"
#include "engine/core/PackedStream.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <vector>

using namespace Vexel::IO;

namespace
{
using TestSupport::StreamBytes;

// The bits of a stream as text, most significant bit of byte 0 first.
std::string BitText(IPackedStream& stream, int bitCount)
{
    std::string text;
    for (int p = 0; p < bitCount; p++)
        text += ((*stream.GetPointer(p / 8) >> (7 - p % 8)) & 1) ? '1' : '0';
    return text;
}
} // namespace

TEST(BitCodec, FieldsPackMostSignificantBitFirst)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteBool(true);
    writer.WriteByte(0xA5);
    writer.WriteBits(5, 7);
    EXPECT_EQ(StreamBytes(stream), std::vector<uint8_t>({0xD2, 0x85}));
    EXPECT_EQ(writer.GetBitPosition(), 16);
    EXPECT_EQ(writer.GetErrors(), 0);
    EXPECT_EQ(writer.GetStream(), &stream);

    BitReader reader(&stream);
    EXPECT_TRUE(reader.ReadBool());
    EXPECT_EQ(reader.ReadByte(), 0xA5);
    EXPECT_EQ(reader.ReadBits(7), 5u);
    EXPECT_EQ(reader.GetErrors(), 0);
}

TEST(BitCodec, MultiWordValuesGoHighestWordFirst)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteUInt64(0x0102030405060708ull);
    writer.WriteUInt128(uint128(0x11, 0x22, 0x33, 0x44));
    writer.WriteUInt160(uint160(1, 2, 3, 4, 5));
    writer.WriteUInt256(uint256(1, 2, 3, 4, 5, 6, 7, 8));
    writer.WriteInt16(-2);
    std::vector<uint8_t> expected = {1, 2, 3, 4, 5, 6, 7, 8};
    for (uint8_t w : {0x44, 0x33, 0x22, 0x11})
        expected.insert(expected.end(), {0, 0, 0, w});
    for (uint8_t w = 5; w >= 1; w--)
        expected.insert(expected.end(), {0, 0, 0, w});
    for (uint8_t w = 8; w >= 1; w--)
        expected.insert(expected.end(), {0, 0, 0, w});
    expected.insert(expected.end(), {0xFF, 0xFE});
    EXPECT_EQ(StreamBytes(stream), expected);

    BitReader reader(&stream);
    EXPECT_EQ(reader.ReadUInt64(), 0x0102030405060708ull);
    EXPECT_EQ(reader.ReadUInt128(), uint128(0x11, 0x22, 0x33, 0x44));
    EXPECT_EQ(reader.ReadUInt160(), uint160(1, 2, 3, 4, 5));
    EXPECT_EQ(reader.ReadUInt256(), uint256(1, 2, 3, 4, 5, 6, 7, 8));
    reader.Attach(&stream);
    reader.ReadBits(32 * 19); // keeps the last 32 bits: word 0 of the uint256
    EXPECT_EQ(reader.GetErrors(), 0);
    EXPECT_EQ(reader.ReadInt16(), -2);
}

TEST(BitCodec, SixteenBitSignedAndUnsigned)
{
    uint8_t bytes[2] = {0xFF, 0xFE};
    MemoryPackedStream stream(bytes, 2, 2, false);
    BitReader reader(&stream);
    EXPECT_EQ(reader.ReadInt16(), -2);
    reader.Attach(&stream);
    EXPECT_EQ(reader.ReadUInt16(), 65534);
}

TEST(BitCodec, FloatsAreTheirIeeeBits)
{
    // Bit patterns from Python: struct.pack('>f', x).hex()
    struct Case
    {
        float value;
        uint32_t bits;
    } cases[] = {
        {1.5f, 0x3FC00000},   {-0.1f, 0xBDCCCCCD}, {3.4028234663852886e38f, 0x7F7FFFFF},
        {1e-45f, 0x00000001}, {-0.0f, 0x80000000}, {123456.789f, 0x47F12065},
    };
    for (const Case& c : cases)
    {
        ExpandablePackedStream stream(0);
        BitWriter writer(&stream);
        writer.WriteBool(false); // unaligned on purpose
        writer.WriteFloat(c.value);
        BitReader reader(&stream);
        reader.ReadBool();
        BitReader raw(&stream);
        raw.ReadBool();
        EXPECT_EQ(raw.ReadUInt32(), c.bits);
        const float back = reader.ReadFloat();
        EXPECT_EQ(std::memcmp(&back, &c.value, sizeof(float)), 0);
    }
}

TEST(BitCodec, ReadingPastTheEndCountsErrors)
{
    uint8_t one[1] = {0xFF};
    MemoryPackedStream stream(one, 1, 1, false);
    BitReader reader(&stream);
    for (int i = 0; i < 8; i++)
        EXPECT_TRUE(reader.ReadBool());
    EXPECT_EQ(reader.GetErrors(), 0);
    EXPECT_TRUE(reader.ReadBool());
    EXPECT_EQ(reader.GetErrors(), 1);
    EXPECT_EQ(reader.GetBitPosition(), 8);

    // Each read with too few bits left (4, or none for a bool): overrun
    // value, error count, position left alone.
    struct Case
    {
        const char* name;
        int errors;
        std::function<bool(BitReader&)> readsOverrunValue;
    } cases[] = {
        {"bool", 1, [](BitReader& r) { return r.ReadBool(); }},
        {"byte", 1, [](BitReader& r) { return r.ReadByte() == 0; }},
        {"uint16", 1, [](BitReader& r) { return r.ReadUInt16() == 0; }},
        {"int16", 1, [](BitReader& r) { return r.ReadInt16() == 0; }},
        {"uint32", 1, [](BitReader& r) { return r.ReadUInt32() == 0; }},
        {"int32", 1, [](BitReader& r) { return r.ReadInt32() == 0; }},
        {"float", 1, [](BitReader& r) { return r.ReadFloat() == 0.0f; }},
        {"bits", 1, [](BitReader& r) { return r.ReadBits(5) == 0; }},
        {"uint64", 2, [](BitReader& r) { return r.ReadUInt64() == 0; }},
        {"int64", 2, [](BitReader& r) { return r.ReadInt64() == 0; }},
        {"uint128", 4, [](BitReader& r) { return r.ReadUInt128() == uint128(); }},
        {"uint160", 5, [](BitReader& r) { return r.ReadUInt160() == uint160(); }},
        {"uint256", 8, [](BitReader& r) { return r.ReadUInt256() == uint256(); }},
        {"string", 1, [](BitReader& r) { return r.ReadString(300, CharCoding::Byte).empty(); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        uint8_t bytes[2] = {0xFF, 0xFF};
        MemoryPackedStream shortStream(bytes, 2, 2, false);
        BitReader r(&shortStream);
        const int skip = std::string(c.name) == "bool" ? 16 : 12;
        r.ReadBits(skip);
        EXPECT_TRUE(c.readsOverrunValue(r));
        EXPECT_EQ(r.GetErrors(), c.errors);
        EXPECT_EQ(r.GetBitPosition(), skip);

        BitReader noStream;
        EXPECT_TRUE(c.readsOverrunValue(noStream));
        EXPECT_EQ(noStream.GetErrors(), c.errors);
        EXPECT_EQ(noStream.GetBitPosition(), 0);
    }
}

TEST(BitCodec, HalfAvailableSixtyFourBitReadKeepsTheHighWord)
{
    uint8_t bytes[4] = {0, 0, 0, 7};
    MemoryPackedStream stream(bytes, 4, 4, false);
    BitReader reader(&stream);
    EXPECT_EQ(reader.ReadUInt64(), 7ull << 32);
    EXPECT_EQ(reader.GetErrors(), 1);
    EXPECT_EQ(reader.ReadBits(-1), 0u);
    EXPECT_EQ(reader.GetErrors(), 2);
    EXPECT_EQ(reader.ReadBits(0), 0u);
    EXPECT_EQ(reader.GetErrors(), 2);
}

TEST(BitCodec, AttachResetsPositionAndErrors)
{
    uint8_t bytes[1] = {0x80};
    MemoryPackedStream stream(bytes, 1, 1, false);
    BitReader reader;
    EXPECT_EQ(reader.GetStream(), nullptr);
    reader.ReadByte();
    EXPECT_EQ(reader.GetErrors(), 1);
    reader.Attach(&stream);
    EXPECT_EQ(reader.GetErrors(), 0);
    EXPECT_EQ(reader.GetStream(), &stream);
    EXPECT_TRUE(reader.ReadBool());
    reader.AddError();
    EXPECT_EQ(reader.GetErrors(), 1);
    reader.Attach(nullptr);
    EXPECT_EQ(reader.GetBitPosition(), 0);
    EXPECT_EQ(reader.GetErrors(), 0);
}

TEST(BitCodec, WriteBitsAboveThirtyTwoAreZero)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteBits(0xFFFFFFFFu, 40);
    writer.WriteBits(0xFFu, 0); // nothing
    EXPECT_EQ(StreamBytes(stream), std::vector<uint8_t>({0, 0xFF, 0xFF, 0xFF, 0xFF}));
    writer.WriteBits(1, -3);
    EXPECT_EQ(writer.GetErrors(), 1);
    EXPECT_EQ(writer.GetBitPosition(), 40);
}

TEST(BitCodec, WriterOnAFullFixedStreamWritesNothing)
{
    uint8_t bytes[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    MemoryPackedStream stream(bytes, 0, 3, false);
    BitWriter writer(&stream);
    writer.WriteUInt16(0xFFFF);
    writer.WriteUInt16(0xFFFF); // needs bytes 2 and 3: refused
    EXPECT_EQ(writer.GetErrors(), 1);
    EXPECT_EQ(writer.GetBitPosition(), 16);
    writer.WriteByte(0x81); // still fits
    writer.WriteUInt64(1);
    writer.WriteUInt256(uint256(1, 1, 1, 1, 1, 1, 1, 1));
    writer.WriteString("abc", 10, CharCoding::Byte);
    writer.WriteBool(true);
    EXPECT_EQ(writer.GetErrors(), 5);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), std::vector<uint8_t>({0xFF, 0xFF, 0x81, 0xEE}));

    BitWriter noStream;
    noStream.WriteByte(1);
    noStream.WriteRandomPadding();
    EXPECT_EQ(noStream.GetErrors(), 2);
    EXPECT_EQ(noStream.GetBitPosition(), 0);
}

TEST(BitCodec, BitLength)
{
    struct Case
    {
        unsigned value;
        int bits;
    } cases[] = {{0, 1}, {1, 1},  {2, 2},   {3, 2},   {4, 3},
                 {7, 3}, {64, 7}, {255, 8}, {256, 9}, {0xFFFFFFFFu, 32}};
    for (const Case& c : cases)
        EXPECT_EQ(BitLength(c.value), c.bits) << c.value;
}

TEST(BitCodec, ConstantAlphabets)
{
    EXPECT_STREQ(HexDigitsUpper, "0123456789ABCDEF");
    EXPECT_STREQ(HexDigitsLower, "0123456789abcdef");
    ASSERT_EQ(std::strlen(PackedCharset), size_t(PackedCharsetSize));
    // The packed alphabet holds every printable ASCII character exactly once.
    std::set<char> seen(PackedCharset, PackedCharset + PackedCharsetSize);
    EXPECT_EQ(seen.size(), size_t(95));
    for (char c : seen)
        EXPECT_TRUE(std::isprint(static_cast<unsigned char>(c))) << int(c);
    struct Case
    {
        int index;
        char c;
    } cases[] = {{0, ' '},  {1, '0'},  {10, '9'}, {11, 'A'}, {36, 'Z'}, {37, 'a'},  {62, 'z'}, {63, '-'},
                 {64, '*'}, {67, '~'}, {70, '`'}, {75, '^'}, {84, '|'}, {85, '\\'}, {90, '"'}, {94, '?'}};
    for (const Case& c : cases)
        EXPECT_EQ(PackedCharset[c.index], c.c) << c.index;
}

TEST(BitCodec, CodesOnTheWire)
{
    struct Case
    {
        int coding;
        unsigned char c;
        unsigned code;
    } cases[] = {
        {CharCoding::Byte, 0xE9, 0xE9},     {CharCoding::Hex, 'A', 10},
        {CharCoding::Hex, 'a', 10},         {CharCoding::Hex, 'g', 15},
        {CharCoding::Hex, '7', 7},          {CharCoding::Ascii7, 0xC1, 0x41},
        {CharCoding::Letters, 'A', 0},      {CharCoding::Letters, 'z', 25},
        {CharCoding::Letters, '0', 15},     {CharCoding::Packed, ' ', 0},
        {CharCoding::Packed, 'A', 11},      {CharCoding::Packed, '?', 94},
        {CharCoding::Packed, 0x7F, 127},    {CharCoding::Packed, 0xE9, 127},
        {CharCoding::Printable, ' ', 0},    {CharCoding::Printable, '~', 94},
        {CharCoding::Printable, 0x10, 112}, {0x10C, 0xE9, 0xE9},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "coding " << c.coding << " char " << int(c.c));
        ExpandablePackedStream stream(0);
        BitWriter writer(&stream);
        writer.WriteString(std::string(1, char(c.c)), 1, c.coding);
        const int width = CharBits(c.coding);
        EXPECT_EQ(writer.GetBitPosition(), 1 + width);
        BitReader reader(&stream);
        EXPECT_EQ(reader.ReadBits(1), 1u);
        EXPECT_EQ(reader.ReadBits(width), c.code);
    }
}

TEST(BitCodec, EveryCodingRoundTripsItsAlphabet)
{
    std::string all;
    for (int c = 0; c < 256; c++)
        all += char(c);
    auto hexOrF = [](unsigned char c) { return char(std::isxdigit(c) ? std::tolower(c) : 'f'); };
    auto packedOrQuestion = [](unsigned char c) { return char(std::isprint(c) ? c : '?'); };
    struct Case
    {
        int coding;
        std::function<char(unsigned char)> expected;
    } cases[] = {
        {CharCoding::Byte, [](unsigned char c) { return char(c); }},
        {CharCoding::Hex, hexOrF},
        {CharCoding::Ascii7, [](unsigned char c) { return char(c & 127); }},
        // Small letters come back as capitals; 26..31 are the six after 'Z'.
        {CharCoding::Letters, [](unsigned char c) { return char('A' + ((c - 'A') & 31)); }},
        {CharCoding::Packed, packedOrQuestion},
        {CharCoding::Printable, [](unsigned char c) { return char(((c - 32) & 127) + 32); }},
        {0x110, [](unsigned char c) { return char(c); }}, // a wide coding keeps the byte
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "coding " << c.coding);
        ExpandablePackedStream stream(0);
        BitWriter writer(&stream);
        writer.WriteString(all, 256, c.coding);
        EXPECT_EQ(writer.GetBitPosition(), 9 + 256 * CharBits(c.coding));
        BitReader reader(&stream);
        const std::string back = reader.ReadString(256, c.coding);
        EXPECT_EQ(reader.GetErrors(), 0);
        ASSERT_EQ(back.size(), all.size());
        for (int i = 0; i < 256; i++)
            EXPECT_EQ(back[size_t(i)], c.expected(static_cast<unsigned char>(i))) << "char " << i;
    }
    // Spot checks that do not depend on the table above.
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteString("Aag", 3, CharCoding::Hex);
    writer.WriteString("AZaz", 4, CharCoding::Letters);
    writer.WriteString("Hi \x01", 4, CharCoding::Packed);
    BitReader reader(&stream);
    EXPECT_EQ(reader.ReadString(3, CharCoding::Hex), "aaf");
    EXPECT_EQ(reader.ReadString(4, CharCoding::Letters), "AZAZ");
    EXPECT_EQ(reader.ReadString(4, CharCoding::Packed), "Hi ?");
}

TEST(BitCodec, StringLengthField)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteString("0123456789", 7, CharCoding::Byte);
    EXPECT_EQ(writer.GetBitPosition(), 3 + 7 * 8);
    EXPECT_EQ(BitText(stream, 3), "111");
    writer.WriteString("abc", 0, CharCoding::Byte);
    writer.WriteString("abc", -4, CharCoding::Byte);
    writer.WriteString("", 64, CharCoding::Byte);
    EXPECT_EQ(writer.GetBitPosition(), 59 + 7);
    BitReader reader(&stream);
    EXPECT_EQ(reader.ReadString(7, CharCoding::Byte), "0123456");
    EXPECT_EQ(reader.ReadString(0, CharCoding::Byte), "");
    EXPECT_EQ(reader.ReadString(-4, CharCoding::Byte), "");
    EXPECT_EQ(reader.ReadString(64, CharCoding::Byte), "");
    EXPECT_EQ(reader.GetErrors(), 0);
    EXPECT_EQ(reader.GetBitPosition(), 66);
}

TEST(BitCodec, BadStringLengthsAreRefused)
{
    // A length of 7 in a field of 3 bits, for a maximum of 5.
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteBits(7, 3);
    writer.WriteString("abcdefg", 7, CharCoding::Byte);
    BitReader reader(&stream);
    EXPECT_EQ(reader.ReadString(5, CharCoding::Byte), "");
    EXPECT_EQ(reader.GetErrors(), 1);
    EXPECT_EQ(reader.GetBitPosition(), 3); // the length field stays consumed

    // A length that the stream cannot back.
    uint8_t bytes[2] = {15, 'x'}; // 8-bit length 15, then one character
    MemoryPackedStream shortStream(bytes, 2, 2, false);
    BitReader shortReader(&shortStream);
    EXPECT_EQ(shortReader.ReadString(255, CharCoding::Byte), "");
    EXPECT_EQ(shortReader.GetErrors(), 1);
    EXPECT_EQ(shortReader.GetBitPosition(), 8);

    // Characters of no bits are refused on both sides.
    BitWriter zeroWriter(&stream);
    zeroWriter.WriteString("abc", 5, 0x100);
    EXPECT_EQ(zeroWriter.GetErrors(), 1);
    BitReader zeroReader(&stream);
    EXPECT_EQ(zeroReader.ReadString(5, 0x100), "");
    EXPECT_EQ(zeroReader.GetErrors(), 1);
    EXPECT_EQ(zeroReader.GetBitPosition(), 0);
}

TEST(BitCodec, RandomPadding)
{
    struct Case
    {
        int startBits;
        int padBits;
    } cases[] = {{0, 32}, {1, 31}, {31, 1}, {32, 32}, {33, 31}, {40, 24}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.startBits);
        ExpandablePackedStream stream(0);
        BitWriter writer(&stream);
        for (int i = 0; i < c.startBits; i++)
            writer.WriteBool(false);
        std::srand(1234u + unsigned(c.startBits));
        writer.WriteRandomPadding();
        EXPECT_EQ(writer.GetBitPosition(), c.startBits + c.padBits);
        // The same four calls of the C library's generator, in order.
        std::srand(1234u + unsigned(c.startBits));
        uint32_t word = uint32_t(std::rand()) << 24;
        word ^= uint32_t(std::rand()) << 16;
        word ^= uint32_t(std::rand()) << 8;
        word ^= uint32_t(std::rand());
        BitReader reader(&stream);
        reader.ReadBits(c.startBits);
        const uint32_t mask = c.padBits == 32 ? 0xFFFFFFFFu : (1u << c.padBits) - 1;
        EXPECT_EQ(reader.ReadBits(c.padBits), word & mask);
    }
}

// Random sequences of fields against a model that keeps the bits as text.
TEST(BitCodec, RandomFieldSequencesMatchABitModel)
{
    std::mt19937 random(20240501u);
    for (int round = 0; round < 200; round++)
    {
        struct Field
        {
            int kind;
            uint64_t value;
            int bits;
        };
        std::vector<Field> fields;
        std::string model;
        auto appendBits = [&model](uint64_t value, int bits)
        {
            for (int i = bits - 1; i >= 0; i--)
                model += (i < 64 && ((value >> i) & 1)) ? '1' : '0';
        };
        ExpandablePackedStream stream(16);
        BitWriter writer(&stream);
        const int count = int(random() % 40);
        for (int i = 0; i < count; i++)
        {
            Field f{int(random() % 7), (uint64_t(random()) << 32) | random(), 0};
            switch (f.kind)
            {
            case 0:
                f.value &= 1;
                writer.WriteBool(f.value != 0);
                f.bits = 1;
                break;
            case 1:
                f.value &= 0xFF;
                writer.WriteByte(uint8_t(f.value));
                f.bits = 8;
                break;
            case 2:
                f.value &= 0xFFFF;
                writer.WriteUInt16(uint16_t(f.value));
                f.bits = 16;
                break;
            case 3:
                f.value &= 0xFFFFFFFF;
                writer.WriteUInt32(uint32_t(f.value));
                f.bits = 32;
                break;
            case 4:
                writer.WriteUInt64(f.value);
                f.bits = 64;
                break;
            case 5:
                f.bits = int(random() % 33);
                f.value &= f.bits == 32 ? 0xFFFFFFFFull : (1ull << f.bits) - 1;
                writer.WriteBits(uint32_t(f.value), f.bits);
                break;
            case 6:
                f.value = int32_t(f.value);
                writer.WriteInt32(int32_t(f.value));
                f.value &= 0xFFFFFFFF;
                f.bits = 32;
                break;
            }
            appendBits(f.value, f.bits);
            fields.push_back(f);
        }
        ASSERT_EQ(writer.GetErrors(), 0);
        ASSERT_EQ(writer.GetBitPosition(), int64_t(model.size()));
        ASSERT_EQ(stream.GetLength(), int((model.size() + 7) / 8));
        ASSERT_EQ(BitText(stream, stream.GetLength() * 8),
                  model + std::string((8 - model.size() % 8) % 8, '0'));

        BitReader reader(&stream);
        for (const Field& f : fields)
        {
            uint64_t back = 0;
            switch (f.kind)
            {
            case 0:
                back = reader.ReadBool();
                break;
            case 1:
                back = reader.ReadByte();
                break;
            case 2:
                back = reader.ReadUInt16();
                break;
            case 3:
                back = reader.ReadUInt32();
                break;
            case 4:
                back = reader.ReadUInt64();
                break;
            case 5:
                back = reader.ReadBits(f.bits);
                break;
            case 6:
                back = uint32_t(reader.ReadInt32());
                break;
            }
            ASSERT_EQ(back, f.value) << "round " << round << " kind " << f.kind;
        }
        EXPECT_EQ(reader.GetErrors(), 0);
    }
}
