#include "engine/core/BitReader.h"
#include "engine/core/BitWriter.h"
#include "engine/core/PackedStream.h"
#include "engine/core/RecordSchema.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace Vexel::IO;

namespace
{
const char* const ResultRow = "int64 datetime string:3 int32 int32 int32 byte skip:7";

template <typename T> T FieldAt(const std::vector<uint8_t>& record, std::string const& schema, int field)
{
    const int offset = RecordSchema::GetFieldOffset(schema, field);
    EXPECT_GE(offset, 0);
    EXPECT_LE(size_t(offset) + sizeof(T), record.size());
    T value;
    std::memcpy(&value, record.data() + offset, sizeof(T));
    return value;
}

std::string StringAt(const std::vector<uint8_t>& record, std::string const& schema, int field)
{
    const std::string* text = FieldAt<const std::string*>(record, schema, field);
    return text != nullptr ? *text : "<null>";
}

std::vector<uint8_t> Bytes(IPackedStream& stream)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < stream.GetLength(); i++)
        out.push_back(*stream.GetPointer(i));
    return out;
}

// Exercises the va_list form the way a caller's own variadic function would.
void EncodeThroughVaList(BitWriter& writer, std::string schema, ...)
{
    va_list values;
    va_start(values, schema);
    RecordSchema::EncodeRecord(writer, schema, values);
    va_end(values);
}
} // namespace

TEST(RecordSchema, RecordSizes)
{
    struct Case
    {
        const char* schema;
        int size;
    } cases[] = {
        {"uint256 int16 int16", 36},
        {"string:3 string", 16}, // pointer-sized string slots
        {"skip:7", 7},
        {"skip:", 0},
        {"skip:-4", 0},
        {"", 0},
        {"   ", 0},
        {ResultRow, 44},
        {"uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32", 73},
        {"int32 uint32 float", 12},
        {"bool byte", 2},
        {"int16 uint16", 4},
        {"int64 uint64 datetime", 24},
        {"uint128 uint160 uint256", 68},
        {"int32  int32", 8},
        {"Int32 int31 int", 0}, // unknown words
        {"strings", 8},         // any word that begins with "string"
        {"skip:1000000000 skip:1000000000 skip:1000000000", 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordSchema::GetRecordSize(c.schema), c.size) << '"' << c.schema << '"';
}

TEST(RecordSchema, FieldOffsets)
{
    const int rowOffsets[] = {0, 8, 16, 24, 28, 32, 36, 37};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(RecordSchema::GetFieldOffset(ResultRow, i), rowOffsets[i]) << i;
    EXPECT_EQ(RecordSchema::GetFieldOffset(ResultRow, 8), -1);
    EXPECT_EQ(RecordSchema::GetFieldOffset(ResultRow, -1), -1);
    EXPECT_EQ(RecordSchema::GetFieldOffset("", 0), -1);
    // Repeated blanks do not make fields; unknown words are fields of size 0.
    EXPECT_EQ(RecordSchema::GetFieldOffset("byte   int32  junk int16", 2), 5);
    EXPECT_EQ(RecordSchema::GetFieldOffset("byte   int32  junk int16", 3), 5);
}

TEST(RecordSchema, DecodesPackedFields)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    writer.WriteBool(true);
    writer.WriteByte(0x7F);
    std::vector<uint8_t> record(6, 0xEE);
    uint8_t* base = record.data();
    BitReader reader(&stream);
    EXPECT_EQ(RecordSchema::DecodeRecord(reader, "bool byte", &base, 3, int(record.size())), 5);
    EXPECT_EQ(record, std::vector<uint8_t>({0xEE, 0xEE, 0xEE, 1, 0x7F, 0xEE}));
    EXPECT_EQ(reader.GetErrors(), 0);
}

TEST(RecordSchema, StringIsCutToItsMaximum)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    const std::string five = "ABCDE";
    RecordSchema::EncodeRecord(writer, "string:3", &five);
    EXPECT_EQ(writer.GetBitPosition(), 2 + 3 * 8);
    EXPECT_EQ(Bytes(stream), std::vector<uint8_t>({0xD0, 0x50, 0x90, 0xC0})); // 11, 'A', 'B', 'C'
    std::vector<uint8_t> record(8);
    uint8_t* base = record.data();
    BitReader reader(&stream);
    EXPECT_EQ(RecordSchema::DecodeRecord(reader, "string:3", &base, 0, 8), 8);
    EXPECT_EQ(StringAt(record, "string:3", 0), "ABC");
    RecordSchema::ReleaseRecord("string:3", base);
    EXPECT_EQ(FieldAt<const std::string*>(record, "string:3", 0), nullptr);
}

TEST(RecordSchema, Int16AndDatetimeOnTheWire)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    RecordSchema::EncodeRecord(writer, "int16 datetime datetime", int(-2), double(1.75), double(-0.5));
    std::vector<uint8_t> expected = {0xFF, 0xFE, 0, 0, 0, 0, 0, 0, 0, 1};
    expected.insert(expected.end(), 8, 0xFF); // floor(-0.5) = -1
    EXPECT_EQ(Bytes(stream), expected);

    const std::string schema = "int16 datetime datetime";
    std::vector<uint8_t> record(size_t(RecordSchema::GetRecordSize(schema)));
    uint8_t* base = record.data();
    BitReader reader(&stream);
    RecordSchema::DecodeRecord(reader, schema, &base, 0, int(record.size()));
    EXPECT_EQ(FieldAt<int16_t>(record, schema, 0), -2);
    EXPECT_EQ(FieldAt<double>(record, schema, 1), 1.0);
    EXPECT_EQ(FieldAt<double>(record, schema, 2), -1.0);
}

TEST(RecordSchema, EveryFieldTypeRoundTrips)
{
    const std::string schema =
        "int32 uint32 bool bool string string:5 int64 uint64 byte uint16 int16 uint128 uint160 uint256 float "
        "datetime skip:3 mystery";
    const std::string longText(300, 'q');
    const std::string shortText = "hi!";
    const uint128 v128(1, 2, 3, 0xFFFFFFFF);
    const uint160 v160(5, 6, 7, 8, 0x80000000);
    const uint256 v256(9, 10, 11, 12, 13, 14, 15, 0xDEADBEEF);

    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    RecordSchema::EncodeRecord(writer, schema.c_str(), int32_t(-123456), uint32_t(0xFEDCBA98), int(7), int(0),
                               &longText, &shortText, int64_t(-5000000000), uint64_t(0xF123456789ABCDEFull),
                               int(0x1AB), int(0x1FFFF), int(-32768), &v128, &v160, &v256, double(-2.5),
                               double(1300000000.9));
    EXPECT_EQ(writer.GetErrors(), 0);
    const int64_t wireBits =
        32 + 32 + 1 + 1 + (9 + 256 * 8) + (3 + 3 * 8) + 64 + 64 + 8 + 16 + 16 + 128 + 160 + 256 + 32 + 64;
    EXPECT_EQ(writer.GetBitPosition(), wireBits);

    std::vector<uint8_t> record(size_t(RecordSchema::GetRecordSize(schema)), 0xEE);
    uint8_t* base = record.data();
    BitReader reader(&stream);
    EXPECT_EQ(RecordSchema::DecodeRecord(reader, schema, &base, 0, int(record.size())), int(record.size()));
    EXPECT_EQ(reader.GetErrors(), 0);
    EXPECT_EQ(reader.GetBitPosition(), wireBits);

    EXPECT_EQ(FieldAt<int32_t>(record, schema, 0), -123456);
    EXPECT_EQ(FieldAt<uint32_t>(record, schema, 1), 0xFEDCBA98u);
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 2), 1);
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 3), 0);
    EXPECT_EQ(StringAt(record, schema, 4), std::string(256, 'q'));
    EXPECT_EQ(StringAt(record, schema, 5), "hi!");
    EXPECT_EQ(FieldAt<int64_t>(record, schema, 6), -5000000000);
    EXPECT_EQ(FieldAt<uint64_t>(record, schema, 7), 0xF123456789ABCDEFull);
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 8), 0xAB);
    EXPECT_EQ(FieldAt<uint16_t>(record, schema, 9), 0xFFFF);
    EXPECT_EQ(FieldAt<int16_t>(record, schema, 10), -32768);
    EXPECT_EQ(FieldAt<uint128>(record, schema, 11), v128);
    EXPECT_EQ(FieldAt<uint160>(record, schema, 12), v160);
    EXPECT_EQ(FieldAt<uint256>(record, schema, 13), v256);
    EXPECT_EQ(FieldAt<float>(record, schema, 14), -2.5f);
    EXPECT_EQ(FieldAt<double>(record, schema, 15), 1300000000.0);
    const int skip = RecordSchema::GetFieldOffset(schema, 16);
    EXPECT_EQ(std::vector<uint8_t>(record.begin() + skip, record.begin() + skip + 3),
              std::vector<uint8_t>(3, 0));
    EXPECT_EQ(RecordSchema::GetFieldOffset(schema, 17), int(record.size()));
    RecordSchema::ReleaseRecord(schema, base);
}

TEST(RecordSchema, VaListFormAndNullPointers)
{
    const std::string schema = "byte string:4 uint128 uint160 uint256 byte";
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    EncodeThroughVaList(writer, schema, int(0x11), static_cast<const std::string*>(nullptr),
                        static_cast<const uint128*>(nullptr), static_cast<const uint160*>(nullptr),
                        static_cast<const uint256*>(nullptr), int(0x22));
    EXPECT_EQ(writer.GetBitPosition(), 8 + 3 + 128 + 160 + 256 + 8);

    std::vector<uint8_t> record(size_t(RecordSchema::GetRecordSize(schema)));
    uint8_t* base = record.data();
    BitReader reader(&stream);
    RecordSchema::DecodeRecord(reader, schema, &base, 0, int(record.size()));
    EXPECT_EQ(reader.GetErrors(), 0);
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 0), 0x11);
    EXPECT_EQ(StringAt(record, schema, 1), "");
    EXPECT_TRUE(FieldAt<uint256>(record, schema, 4).IsZero());
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 5), 0x22);
    RecordSchema::ReleaseRecord(schema, base);
}

TEST(RecordSchema, RepeatedBlanksAndUnknownWordsDoNotShiftFields)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    // Unknown words and skips take no argument and put nothing on the wire.
    RecordSchema::EncodeRecord(writer, "byte  skip:2 junk   int16", int(5), int(-3));
    EXPECT_EQ(Bytes(stream), std::vector<uint8_t>({5, 0xFF, 0xFD}));
    std::vector<uint8_t> record(5, 0xEE);
    uint8_t* base = record.data();
    BitReader reader(&stream);
    EXPECT_EQ(RecordSchema::DecodeRecord(reader, "byte skip:2 int16", &base, 0, 5), 5);
    EXPECT_EQ(record[0], 5);
    EXPECT_EQ(record[1], 0);
    EXPECT_EQ(record[2], 0);
    int16_t last;
    std::memcpy(&last, &record[3], 2);
    EXPECT_EQ(last, -3);
}

TEST(RecordSchema, SuccessiveRecordsFillAnArray)
{
    ExpandablePackedStream stream(0);
    BitWriter writer(&stream);
    const std::string names[] = {"ann", "bo", "cyd"};
    for (int i = 0; i < 3; i++)
        RecordSchema::EncodeRecord(writer, ResultRow, int64_t(100 + i), double(1000.0 * i), &names[i],
                                   int32_t(i), int32_t(-i), int32_t(i * i), int(i + 1));
    const int rowSize = RecordSchema::GetRecordSize(ResultRow);
    std::vector<uint8_t> rows(size_t(rowSize) * 3);
    uint8_t* base = rows.data();
    BitReader reader(&stream);
    int offset = 0;
    for (int i = 0; i < 3; i++)
        offset = RecordSchema::DecodeRecord(reader, ResultRow, &base, offset, int(rows.size()));
    EXPECT_EQ(offset, 3 * rowSize);
    EXPECT_EQ(reader.GetErrors(), 0);
    for (int i = 0; i < 3; i++)
    {
        std::vector<uint8_t> row(rows.begin() + i * rowSize, rows.begin() + (i + 1) * rowSize);
        EXPECT_EQ(FieldAt<int64_t>(row, ResultRow, 0), 100 + i);
        EXPECT_EQ(FieldAt<double>(row, ResultRow, 1), 1000.0 * i);
        EXPECT_EQ(StringAt(row, ResultRow, 2), names[i]);
        EXPECT_EQ(FieldAt<int32_t>(row, ResultRow, 4), -i);
        EXPECT_EQ(FieldAt<uint8_t>(row, ResultRow, 6), i + 1);
        RecordSchema::ReleaseRecord(ResultRow, rows.data() + i * rowSize);
    }
    // A fourth record has no room: refused, nothing read or stored.
    EXPECT_EQ(RecordSchema::DecodeRecord(reader, ResultRow, &base, offset, int(rows.size())), offset);
    EXPECT_EQ(reader.GetErrors(), 1);
}

TEST(RecordSchema, DecodeRefusesWhatDoesNotFit)
{
    uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    MemoryPackedStream stream(bytes, 8, 8, false);
    std::vector<uint8_t> buffer(8, 0xEE);
    uint8_t* base = buffer.data();
    uint8_t* none = nullptr;
    struct Case
    {
        const char* schema;
        uint8_t** target;
        int offset;
        int size;
    } cases[] = {
        {"int32", &base, 5, 8},  {"int64", &base, 1, 8}, {"skip:9", &base, 0, 8},
        {"int32", &base, -1, 8}, {"byte", &none, 0, 8},  {"byte", nullptr, 0, 8},
        {"int32", &base, 0, 3},  {"byte", &base, 0, -1}, {"string", &base, 1, 8},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.schema << " at " << c.offset << " in " << c.size);
        BitReader reader(&stream);
        EXPECT_EQ(RecordSchema::DecodeRecord(reader, c.schema, c.target, c.offset, c.size), c.offset);
        EXPECT_EQ(reader.GetErrors(), 1);
        EXPECT_EQ(reader.GetBitPosition(), 0);
        EXPECT_EQ(buffer, std::vector<uint8_t>(8, 0xEE));
    }
    // Exactly fitting is fine.
    BitReader reader(&stream);
    EXPECT_EQ(RecordSchema::DecodeRecord(reader, "int32", &base, 4, 8), 8);
    EXPECT_EQ(reader.GetErrors(), 0);
}

TEST(RecordSchema, ShortStreamLeavesZerosAndCountsErrors)
{
    uint8_t bytes[1] = {0xAB};
    MemoryPackedStream stream(bytes, 1, 1, false);
    const std::string schema = "byte int32 bool string:9 uint64";
    std::vector<uint8_t> record(size_t(RecordSchema::GetRecordSize(schema)), 0xEE);
    uint8_t* base = record.data();
    BitReader reader(&stream);
    RecordSchema::DecodeRecord(reader, schema, &base, 0, int(record.size()));
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 0), 0xAB);
    EXPECT_EQ(FieldAt<int32_t>(record, schema, 1), 0);
    EXPECT_EQ(FieldAt<uint8_t>(record, schema, 2), 1); // a failed bool reads true
    EXPECT_EQ(StringAt(record, schema, 3), "");
    EXPECT_EQ(FieldAt<uint64_t>(record, schema, 4), 0u);
    EXPECT_EQ(reader.GetErrors(), 1 + 1 + 1 + 2);
    RecordSchema::ReleaseRecord(schema, base);
}

TEST(RecordSchema, EncodingIntoAFullStreamCountsErrors)
{
    uint8_t bytes[2] = {};
    MemoryPackedStream stream(bytes, 0, 2, false);
    BitWriter writer(&stream);
    RecordSchema::EncodeRecord(writer, "byte int32 byte", int(1), int32_t(2), int(3));
    EXPECT_EQ(writer.GetErrors(), 1);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 3);
}
