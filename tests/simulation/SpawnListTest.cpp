#include "game/simulation/Packing.h"
#include "game/simulation/RawFields.h"
#include "game/simulation/SpawnList.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace
{

std::string Hex(const SpawnRecord& record)
{
    uint8_t bytes[SpawnRecord::kBytes];
    record.ToBytes(bytes);
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : bytes)
    {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

SpawnRecord Counted(uint16_t delay, uint8_t count, uint8_t interval)
{
    return SpawnRecord(delay, 0.0f, 100.0f, 0, count, interval);
}

TEST(SpawnRecordTest, LayoutIsTheSavedForm)
{
    static_assert(sizeof(SpawnRecord) == 16, "16 raw bytes");
    EXPECT_EQ(0u, offsetof(SpawnRecord, radiusMin));
    EXPECT_EQ(2u, offsetof(SpawnRecord, radiusMax));
    EXPECT_EQ(4u, offsetof(SpawnRecord, angleStart));
    EXPECT_EQ(5u, offsetof(SpawnRecord, angleWidth));
    EXPECT_EQ(6u, offsetof(SpawnRecord, delay));
    EXPECT_EQ(8u, offsetof(SpawnRecord, speed));
    EXPECT_EQ(9u, offsetof(SpawnRecord, interval));
    EXPECT_EQ(10u, offsetof(SpawnRecord, count));
    EXPECT_EQ(11u, offsetof(SpawnRecord, kind));
    EXPECT_EQ(12u, offsetof(SpawnRecord, reserved));
    EXPECT_EQ(13u, offsetof(SpawnRecord, countdown));
    EXPECT_EQ(14u, offsetof(SpawnRecord, startTick));

    SpawnRecord record;
    record.radiusMin = 0x0201;
    record.radiusMax = 0x0403;
    record.angleStart = 5;
    record.angleWidth = 6;
    record.delay = 0x0807;
    record.speed = 9;
    record.interval = 10;
    record.count = 11;
    record.kind = 12;
    record.reserved = 13;
    record.countdown = 14;
    record.startTick = 0x100F;
    EXPECT_EQ("0102030405060708090A0B0C0D0E0F10", Hex(record));
    EXPECT_EQ(Hex(record), Hex(SpawnRecord::FromBytes(reinterpret_cast<const uint8_t*>(
                               "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"))));
}

TEST(SpawnRecordTest, ConstructorsPackAnglesAndRadii)
{
    EXPECT_EQ("00000000000000000000000000000000", Hex(SpawnRecord()));

    // One enemy at -25 degrees, 320 from the centre.
    SpawnRecord fixed(7, -25.0f, 320.0f, 25);
    EXPECT_EQ(PackRadius(320.0f), fixed.radiusMin);
    EXPECT_EQ(17919, fixed.radiusMax);
    EXPECT_EQ(238, fixed.angleStart);
    EXPECT_EQ(0, fixed.angleWidth);
    EXPECT_EQ(7, fixed.delay);
    EXPECT_EQ(1, fixed.count);
    EXPECT_EQ(0, fixed.interval);
    EXPECT_EQ(25, fixed.kind);
    EXPECT_EQ(0, fixed.speed);

    SpawnRecord counted(0, 90.0f, 200.0f, 3, 12, 5);
    EXPECT_EQ(12, counted.count);
    EXPECT_EQ(5, counted.interval);
    EXPECT_EQ(63, counted.angleStart);

    // The sector 0 ± 25 starts at -25 and is 50 wide; radii below 40 pack as 40.
    SpawnRecord sector(3, 0.0f, 50.0f, 20.0f, 2000.0f, 9);
    EXPECT_EQ(238, sector.angleStart);
    EXPECT_EQ(35, sector.angleWidth);
    EXPECT_EQ(0, sector.radiusMin);
    EXPECT_EQ(65535, sector.radiusMax);
    EXPECT_EQ(1, sector.count);
    EXPECT_EQ(0, sector.interval);

    SpawnRecord group(0, 180.0f, 360.0f, 190.0f, 240.0f, 3, 30, 5);
    EXPECT_EQ(PackDegrees(0.0f), group.angleStart);
    EXPECT_EQ(255, group.angleWidth);
    EXPECT_EQ(30, group.count);
    EXPECT_EQ(5, group.interval);
}

TEST(SpawnListTest, ExpansionDropsSpentRecordsAndTimesTheRest)
{
    SpawnList empty;
    EXPECT_EQ(0, ExpandSpawnList(empty));
    EXPECT_TRUE(empty.empty());

    SpawnList spent = {Counted(5, 0, 3), Counted(0, 0, 0)};
    EXPECT_EQ(0, ExpandSpawnList(spent));
    EXPECT_TRUE(spent.empty());

    // Delays 0, 10, 5 start at 0, 10, 15; four at interval 0 from 15 end at 19.
    SpawnList list = {Counted(0, 2, 3), Counted(10, 1, 0), Counted(7, 0, 0), Counted(5, 4, 0)};
    EXPECT_EQ(19, ExpandSpawnList(list));
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ(0, list[0].startTick);
    EXPECT_EQ(10, list[1].startTick);
    // The spent record's delay is dropped with it.
    EXPECT_EQ(15, list[2].startTick);
    for (const SpawnRecord& record : list)
        EXPECT_EQ(0, record.delay);

    // The longest group sets the end, not the last one.
    SpawnList overlap = {Counted(0, 10, 20), Counted(5, 1, 0)};
    EXPECT_EQ(200, ExpandSpawnList(overlap));

    // A second expansion keeps the start ticks' order but restarts time.
    EXPECT_EQ(200, ExpandSpawnList(overlap));
    EXPECT_EQ(0, overlap[1].startTick);
}

TEST(SpawnListTest, ExpansionCapsStartAndEndTicks)
{
    SpawnList list;
    for (int i = 0; i < 3; ++i)
        list.push_back(Counted(40000, 200, 255));
    EXPECT_EQ(65535, ExpandSpawnList(list));
    EXPECT_EQ(40000, list[0].startTick);
    EXPECT_EQ(65535, list[1].startTick);
    EXPECT_EQ(65535, list[2].startTick);
}

TEST(SpawnListTest, SavedFormIsCountThenRawRecords)
{
    std::ostringstream none;
    SaveSpawnList(SpawnList(), none);
    EXPECT_EQ(std::string(4, '\0'), none.str());

    SpawnList list = {SpawnRecord(0, 0.0f, 50.0f, 320.0f, 320.0f, 0, 40, 6), Counted(9, 3, 2)};
    list[0].speed = 128;
    list[1].countdown = 4;
    list[1].startTick = 300;
    std::ostringstream out;
    SaveSpawnList(list, out);
    std::string bytes = out.str();
    ASSERT_EQ(4u + 32u, bytes.size());
    EXPECT_EQ(std::string("\x02\x00\x00\x00", 4), bytes.substr(0, 4));
    EXPECT_EQ(std::string("\xFF\x45\xFF\x45\xEE\x23\x00\x00\x80\x06\x28\x00\x00\x00\x00\x00", 16),
              bytes.substr(4, 16));

    std::istringstream in(bytes);
    SpawnList loaded = {Counted(1, 1, 1)};
    std::string error;
    ASSERT_TRUE(LoadSpawnList(loaded, in, &error)) << error;
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(Hex(list[0]), Hex(loaded[0]));
    EXPECT_EQ(Hex(list[1]), Hex(loaded[1]));
    // Nothing read past the list.
    EXPECT_EQ(std::streampos(36), in.tellg());
}

TEST(SpawnListTest, LoadingRefusesWhatSaveCannotHaveWritten)
{
    SpawnList two = {Counted(1, 2, 3), Counted(4, 5, 6)};
    std::ostringstream out;
    SaveSpawnList(two, out);
    const std::string good = out.str();

    auto withCount = [](int32_t count, size_t records)
    {
        std::ostringstream s;
        WriteInt32(s, count);
        s << std::string(records * 16, '\0');
        return s.str();
    };
    std::string badKind = good;
    badKind[4 + 16 + 11] = 55;

    struct Case
    {
        const char* name;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"negative count", withCount(-1, 0)},
        {"count past the bound", withCount(65536, 0)},
        {"huge count", withCount(0x7FFFFFFF, 2)},
        {"kind outside the table", badKind},
    };
    // Cut at every byte of a two-record list.
    for (size_t cut = 0; cut < good.size(); ++cut)
        cases.push_back({"truncated", good.substr(0, cut)});

    for (const Case& c : cases)
    {
        std::istringstream in(c.bytes);
        SpawnList list = {Counted(1, 1, 1)};
        std::string error;
        EXPECT_FALSE(LoadSpawnList(list, in, &error)) << c.name << " (" << c.bytes.size() << " bytes)";
        EXPECT_TRUE(list.empty()) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

TEST(SpawnListTest, LargestSavedListLoads)
{
    std::ostringstream s;
    WriteInt32(s, kMaxSavedSpawnRecords);
    s << std::string(size_t(kMaxSavedSpawnRecords) * 16, '\0');
    std::istringstream in(s.str());
    SpawnList list;
    EXPECT_TRUE(LoadSpawnList(list, in));
    EXPECT_EQ(size_t(kMaxSavedSpawnRecords), list.size());
}

TEST(RawFieldsTest, Int32IsFourLittleEndianBytes)
{
    std::ostringstream out;
    WriteInt32(out, 0x01020304);
    WriteInt32(out, -2);
    EXPECT_EQ(std::string("\x04\x03\x02\x01\xFE\xFF\xFF\xFF", 8), out.str());

    std::istringstream in(out.str() + std::string("\x07", 1));
    EXPECT_EQ(0x01020304, ReadInt32(in));
    EXPECT_EQ(-2, ReadInt32(in));
    EXPECT_TRUE(in.good());
    // One byte left: it replaces the low byte of -1; the stream tells the
    // short read apart.
    EXPECT_EQ(int32_t(0xFFFFFF07), ReadInt32(in));
    EXPECT_FALSE(in);
    EXPECT_EQ(-1, ReadInt32(in));
}

} // namespace
