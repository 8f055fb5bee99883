#include "engine/core/BitWriter.h"
#include "engine/core/CharCoding.h"
#include "engine/core/Md5.h"
#include "engine/core/PackedStream.h"
#include "engine/core/RecordSchema.h"
#include "engine/core/Xxtea.h"
#include "engine/services/BoardProtocol.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Vexel::Services;
using Vexel::IO::BitWriter;
using Vexel::IO::ExpandablePackedStream;
using Vexel::IO::IPackedStream;
using Vexel::IO::MemoryBuffer;

namespace
{
const std::string RowSchema = "int64 datetime string:3 int32 int32 int32 byte skip:7";
const std::string BaseUrl = "http://127.0.0.1:12000/";

std::string Hex(const uint8_t* data, int size)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < size; i++)
    {
        text.push_back(digits[data[i] >> 4]);
        text.push_back(digits[data[i] & 15]);
    }
    return text;
}

std::vector<uint8_t> FromHex(std::string const& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(BoardProtocol, TopListQueryBytes)
{
    const int16_t mode = 3000;
    IPackedStream* request =
        BoardProtocol::BuildRequest(BoardProtocol::Operation::Query, "abc", 10003, "int16", int(mode));
    ASSERT_EQ(16, request->GetLength());
    uint8_t bytes[16];
    std::memcpy(bytes, request->GetData(), 16);
    // 127 bits of fields and one random padding bit.
    EXPECT_EQ(0x70, bytes[15] & 0xFE);
    bytes[15] &= 0xFE;
    EXPECT_EQ("3333cccc000106c2c4c600004e261770", Hex(bytes, 16));
    delete request;
}

TEST(BoardProtocol, SubmitStartsWithMagicOperationAndKey)
{
    const uint256 device(1, 2, 3, 4, 5, 6, 7, 8);
    const std::string name = "AAA";
    IPackedStream* request = BoardProtocol::BuildRequest(
        BoardProtocol::Operation::Submit, "abc", 10001,
        "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32", &device, 2, 3000, &name,
        int64_t(INT64_MAX - 500), int64_t(500), 9, 0, 60, 12);
    // 0x3333CCCC, 0x0002, 0000011, "abc": 32 + 16 + 7 + 24 bits.
    EXPECT_EQ("3333cccc000206c2c4c6", Hex(request->GetData(), 10));
    EXPECT_EQ(0, request->GetLength() % 4);
    delete request;
}

TEST(BoardProtocol, PaddingOnABoundaryIsAWholeWord)
{
    // 87 + 24 (key "abc") + 1 + 16 = 128 bits: already on a boundary.
    IPackedStream* request =
        BoardProtocol::BuildRequest(BoardProtocol::Operation::Query, "abc", 1, "bool int16", 1, 7);
    EXPECT_EQ(20, request->GetLength());
    delete request;
    // One bit short of it: a single padding bit.
    IPackedStream* shorter =
        BoardProtocol::BuildRequest(BoardProtocol::Operation::Query, "abc", 1, "int16", 7);
    EXPECT_EQ(16, shorter->GetLength());
    delete shorter;
}

TEST(BoardProtocol, KeyCiphertextAndQueryText)
{
    const uint128 key = BoardProtocol::KeyForUrl(BaseUrl);
    Md5 md5;
    md5.Update(BaseUrl.data(), int(BaseUrl.size()));
    md5.Final();
    EXPECT_EQ("48d90b3efb173abb8e54cb221d2c837b", Hex(md5.Digest(), 16));

    const std::vector<uint8_t> plain = FromHex("3333cccc000106c2c4c600004e261770");
    ExpandablePackedStream stream(16);
    stream.CopyFrom(plain.data(), 0, 16);
    EXPECT_EQ("047UugwOrP/4Fi3rWDmBvQ==", BoardProtocol::EncodeRequest(&stream, key));
    EXPECT_EQ(BaseUrl + "?q=047UugwOrP/4Fi3rWDmBvQ==", BoardProtocol::RequestUrl(BaseUrl, &stream, key));
    EXPECT_EQ("3333cccc000106c2c4c600004e261770", Hex(stream.GetData(), 16)); // not enciphered in place

    MemoryBuffer copy(16);
    std::memcpy(copy.data, plain.data(), 16);
    XxteaEncrypt(&copy, key, true);
    EXPECT_EQ("d38ed4ba0c0eacfff8162deb583981bd", Hex(copy.data, 16));
}

// A reply as a server writes it, enciphered under the key.
struct ReplyPlan
{
    uint32_t magic = BoardProtocol::ReplyMagic;
    int lengthDelta = 0;
    int32_t status = 1;
    int32_t count = -999; // -999: the number of rows
    int rows = 0;
    int truncateBytes = 0;
};

MemoryBuffer* MakeReply(ReplyPlan const& plan, uint128 const& key)
{
    ExpandablePackedStream rowsStream(64);
    BitWriter rowWriter(&rowsStream);
    for (int i = 0; i < plan.rows; i++)
    {
        const std::string name = i % 2 ? "AB" : "XYZ";
        RecordSchema::EncodeRecord(rowWriter, RowSchema.c_str(), int64_t(1000 - i), double(1700000000 + i),
                                   &name, 10 + i, 20 + i, 30 + i, 40 + i);
    }
    rowWriter.WriteRandomPadding();
    const int size = 16 + rowsStream.GetLength() - plan.truncateBytes;
    ExpandablePackedStream stream(size);
    BitWriter writer(&stream);
    writer.WriteUInt32(plan.magic);
    writer.WriteInt32(size + plan.lengthDelta);
    writer.WriteInt32(plan.status);
    writer.WriteInt32(plan.count == -999 ? plan.rows : plan.count);
    MemoryBuffer* body = new MemoryBuffer(size);
    std::memcpy(body->data, stream.GetData(), 16);
    std::memcpy(body->data + 16, rowsStream.GetData(), size_t(size - 16));
    XxteaEncrypt(body, key, true);
    return body;
}

TEST(BoardProtocol, ReplyStatuses)
{
    const uint128 key = BoardProtocol::KeyForUrl(BaseUrl);
    struct Case
    {
        const char* name;
        ReplyPlan plan;
        int32_t status;
        int rows;
    };
    auto planned = [](auto change)
    {
        ReplyPlan s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"two rows", planned([](ReplyPlan& s) { s.rows = 2; }), 1, 2},
        {"status 1, count 0", planned([](ReplyPlan&) {}), 1, 0},
        {"refusal ignores its count",
         planned(
             [](ReplyPlan& s)
             {
                 s.status = 0xF402;
                 s.count = 5;
             }),
         0xF402, 0},
        {"other status passed through", planned([](ReplyPlan& s) { s.status = 77; }), 77, 0},
        {"length one past the body", planned([](ReplyPlan& s) { s.lengthDelta = 1; }), 0xF801, 0},
        {"wrong magic", planned([](ReplyPlan& s) { s.magic = 0x12345678; }), 0xF801, 0},
        {"status 0 is not the server's", planned([](ReplyPlan& s) { s.status = 0; }), 0xF801, 0},
        {"status 2 is not the server's", planned([](ReplyPlan& s) { s.status = 2; }), 0xF801, 0},
        {"status 3 is not the server's", planned([](ReplyPlan& s) { s.status = 3; }), 0xF801, 0},
        {"negative count", planned([](ReplyPlan& s) { s.count = -1; }), 0xF801, 0},
        {"count over 100", planned([](ReplyPlan& s) { s.rows = 101; }), 0xF801, 0},
        {"huge count", planned([](ReplyPlan& s) { s.count = 0x7FFFFFFF; }), 0xF801, 0},
        {"count past the bits",
         planned(
             [](ReplyPlan& s)
             {
                 s.rows = 1;
                 s.count = 2;
             }),
         0xF801, 0},
        {"rows cut short",
         planned(
             [](ReplyPlan& s)
             {
                 s.rows = 3;
                 s.truncateBytes = 8;
             }),
         0xF801, 0},
    };
    for (Case const& c : cases)
    {
        MemoryBuffer* body = MakeReply(c.plan, key);
        const Leaderboard::response_t response = BoardProtocol::DecodeReply(body, key, RowSchema);
        EXPECT_EQ(c.status, response.status) << c.name;
        EXPECT_EQ(c.rows, Leaderboard::GetRowCount(response, RowSchema)) << c.name;
        if (c.rows == 0)
        {
            EXPECT_EQ(nullptr, response.rows) << c.name;
        }
        BoardProtocol::FreeRows(response.rows, RowSchema);
        delete body;
    }
}

TEST(BoardProtocol, RowsAreTypedRecords)
{
    const uint128 key = BoardProtocol::KeyForUrl(BaseUrl);
    ReplyPlan plan;
    plan.rows = 2;
    MemoryBuffer* body = MakeReply(plan, key);
    const Leaderboard::response_t response = BoardProtocol::DecodeReply(body, key, RowSchema);
    ASSERT_EQ(1, response.status);
    ASSERT_EQ(2, Leaderboard::GetRowCount(response, RowSchema));
    const uint8_t* row = Leaderboard::GetRow(response, RowSchema, 1);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(nullptr, Leaderboard::GetRow(response, RowSchema, 2));
    int64_t score;
    double date;
    std::string* name;
    int32_t kills, lastWave, seconds;
    uint8_t extra;
    std::memcpy(&score, row + RecordSchema::GetFieldOffset(RowSchema, 0), 8);
    std::memcpy(&date, row + RecordSchema::GetFieldOffset(RowSchema, 1), 8);
    std::memcpy(&name, row + RecordSchema::GetFieldOffset(RowSchema, 2), sizeof(name));
    std::memcpy(&kills, row + RecordSchema::GetFieldOffset(RowSchema, 3), 4);
    std::memcpy(&lastWave, row + RecordSchema::GetFieldOffset(RowSchema, 4), 4);
    std::memcpy(&seconds, row + RecordSchema::GetFieldOffset(RowSchema, 5), 4);
    std::memcpy(&extra, row + RecordSchema::GetFieldOffset(RowSchema, 6), 1);
    EXPECT_EQ(999, score);
    EXPECT_EQ(1700000001.0, date);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ("AB", *name);
    EXPECT_EQ(11, kills);
    EXPECT_EQ(21, lastWave);
    EXPECT_EQ(31, seconds);
    EXPECT_EQ(41, extra);
    BoardProtocol::FreeRows(response.rows, RowSchema);
    delete body;
}

TEST(BoardProtocol, UndecipherableBodies)
{
    const uint128 key = BoardProtocol::KeyForUrl(BaseUrl);
    for (int size : {0, 4, 6, 7})
    {
        MemoryBuffer* body = size ? new MemoryBuffer(size) : nullptr;
        const Leaderboard::response_t response = BoardProtocol::DecodeReply(body, key, RowSchema);
        EXPECT_EQ(0xF103, response.status) << size;
        EXPECT_EQ(nullptr, response.rows);
        delete body;
    }
    // Deciphers, but to nothing readable: too short for the four fields.
    MemoryBuffer eight(8);
    EXPECT_EQ(0xF801, BoardProtocol::DecodeReply(&eight, key, RowSchema).status);
}

TEST(BoardProtocol, MinimumRecordBits)
{
    EXPECT_EQ(234, BoardProtocol::MinimumRecordBits(RowSchema));
    EXPECT_EQ(9, BoardProtocol::MinimumRecordBits("string"));
    EXPECT_EQ(0, BoardProtocol::MinimumRecordBits("skip:7 string:0"));
    EXPECT_EQ(256 + 32, BoardProtocol::MinimumRecordBits("uint256 int16  int16"));
}

} // namespace
