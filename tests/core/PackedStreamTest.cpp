#include "tests/core/StreamTestSupport.h"
#include "engine/core/MemoryBuffer.h"
#include "engine/core/PackedStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using Vexel::IO::ExpandablePackedStream;
using Vexel::IO::IPackedStream;
using Vexel::IO::MemoryPackedStream;

namespace
{
using TestSupport::StreamBytes;
} // namespace

TEST(PackedStream, NewGrowableStreamIsEmpty)
{
    for (int capacity : {0, 1, 256, -5})
    {
        ExpandablePackedStream stream(capacity);
        EXPECT_EQ(stream.GetLength(), 0);
        EXPECT_EQ(stream.GetData(), nullptr);
        EXPECT_GE(stream.GetCapacity(), capacity > 0 ? capacity : 0);
        EXPECT_EQ(stream.Dump(10), "ExpandablePackedStream[0]");
        EXPECT_EQ(stream.ToString(), "ExpandablePackedStream[0]");
    }
}

TEST(PackedStream, GrowableEnsureBitsAppendsZeroBytes)
{
    ExpandablePackedStream stream(0);
    EXPECT_TRUE(stream.EnsureBits(0, 1));
    EXPECT_EQ(StreamBytes(stream), std::vector<uint8_t>({0}));
    *stream.GetPointer(0) = 0xFF;
    EXPECT_TRUE(stream.EnsureBits(9, 8)); // bits 9..16 end in byte 2
    EXPECT_EQ(StreamBytes(stream), std::vector<uint8_t>({0xFF, 0, 0}));
    EXPECT_TRUE(stream.EnsureBits(0, 24)); // already covered: nothing changes
    EXPECT_EQ(stream.GetLength(), 3);
    EXPECT_FALSE(stream.EnsureBits(-1, 8));
    EXPECT_FALSE(stream.EnsureBits(0, -8));
    EXPECT_EQ(stream.GetLength(), 3);
}

TEST(PackedStream, FixedEnsureBits)
{
    struct Case
    {
        int length;
        int capacity;
        int bitPosition;
        int bitCount;
        bool result;
        int lengthAfter;
    } cases[] = {
        {4, 4, 32, 1, false, 4},                          // full, more asked
        {4, 4, 0, 32, true, 4},                           // full, but the bytes are there already
        {4, 4, 31, 1, true, 4},  {2, 4, 0, 48, false, 4}, // 6 bytes asked: fills to capacity, then refuses
        {0, 4, 0, 16, true, 2},  {0, 4, 3, 0, true, 1},   {2, 4, 0, 1, true, 2},
        {0, 0, 0, 1, false, 0},  {1, 4, -1, 1, false, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.length << "/" << c.capacity << " ensure " << c.bitPosition << "+" << c.bitCount);
        std::vector<uint8_t> backing(size_t(c.capacity) + 2, 0xEE);
        MemoryPackedStream stream(backing.data(), c.length, c.capacity, false);
        EXPECT_EQ(stream.EnsureBits(c.bitPosition, c.bitCount), c.result);
        EXPECT_EQ(stream.GetLength(), c.lengthAfter);
        for (int i = 0; i < c.capacity + 2; i++)
        {
            const bool newlyCovered = i >= c.length && i < c.lengthAfter;
            EXPECT_EQ(backing[size_t(i)], newlyCovered ? 0 : 0xEE) << "byte " << i;
        }
    }
}

TEST(PackedStream, GrowableCopyFromLeavesExactlyTheCopiedBytes)
{
    const uint8_t source[] = {9, 1, 2, 3, 4, 5, 6};
    struct Case
    {
        int heldBefore;
        int offset;
        int count;
        std::vector<uint8_t> expected;
    } cases[] = {
        {5, 1, 3, {1, 2, 3}}, {3, 1, 5, {1, 2, 3, 4, 5}}, {3, 0, 0, {}}, {3, 0, -2, {}}, {3, -1, 2, {}},
    };
    for (const Case& c : cases)
    {
        ExpandablePackedStream stream(4);
        stream.ZeroRange(0, c.heldBefore);
        EXPECT_EQ(stream.CopyFrom(source, c.offset, c.count), int(c.expected.size()));
        EXPECT_EQ(StreamBytes(stream), c.expected);
    }
    ExpandablePackedStream stream(4);
    stream.ZeroRange(0, 3);
    EXPECT_EQ(stream.CopyFrom(nullptr, 0, 3), 0);
    EXPECT_EQ(stream.GetLength(), 0);
}

TEST(PackedStream, FixedCopyFromClampsToCapacity)
{
    const uint8_t source[] = {1, 2, 3, 4, 5, 6};
    uint8_t backing[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    MemoryPackedStream stream(backing, 4, 4, false);
    EXPECT_EQ(stream.CopyFrom(source, 1, 2), 2);
    EXPECT_EQ(stream.GetLength(), 2);
    EXPECT_EQ(std::vector<uint8_t>(backing, backing + 6), std::vector<uint8_t>({2, 3, 0, 0, 0xEE, 0xEE}));
    EXPECT_EQ(stream.CopyFrom(source, 0, 6), 4);
    EXPECT_EQ(std::vector<uint8_t>(backing, backing + 6), std::vector<uint8_t>({1, 2, 3, 4, 0xEE, 0xEE}));
    EXPECT_EQ(stream.CopyFrom(nullptr, 0, 3), 0);
    EXPECT_EQ(stream.GetLength(), 0);
    EXPECT_EQ(stream.CopyFrom(source, -1, 3), 0);
}

TEST(PackedStream, CopyFromItsOwnBytes)
{
    // Dropping a two-byte header in place.
    uint8_t backing[5] = {0xA0, 0xA1, 1, 2, 3};
    MemoryPackedStream fixed(backing, 5, 5, false);
    EXPECT_EQ(fixed.CopyFrom(fixed.GetData(), 2, 3), 3);
    EXPECT_EQ(std::vector<uint8_t>(backing, backing + 5), std::vector<uint8_t>({1, 2, 3, 0, 0}));

    ExpandablePackedStream grow(0);
    grow.CopyFrom(backing, 0, 5);
    grow.ZeroRange(0, 1);
    EXPECT_EQ(grow.CopyFrom(grow.GetData(), 1, 2), 2);
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({2, 3}));
}

TEST(PackedStream, ZeroRange)
{
    // Growable: offset 2, count 3 over 3 bytes zeroes byte 2 and appends two.
    ExpandablePackedStream grow(0);
    const uint8_t three[] = {7, 8, 9};
    grow.CopyFrom(three, 0, 3);
    grow.ZeroRange(2, 3);
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({7, 8, 0, 0, 0}));
    // A range starting past the end still ends up at its own indexes.
    grow.ZeroRange(7, 1);
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({7, 8, 0, 0, 0, 0, 0, 0}));
    grow.CopyFrom(three, 0, 3);
    grow.ZeroRange(-2, 3); // only index 0 exists in the range
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({0, 8, 9}));
    grow.ZeroRange(1, 0);
    grow.ZeroRange(1, -4);
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({0, 8, 9}));

    // Fixed: only the part inside the capacity; the length stays.
    uint8_t backing[6] = {1, 2, 3, 4, 0xEE, 0xEE};
    MemoryPackedStream fixed(backing, 2, 4, false);
    fixed.ZeroRange(1, 10);
    fixed.ZeroRange(-3, 4);
    EXPECT_EQ(std::vector<uint8_t>(backing, backing + 6), std::vector<uint8_t>({0, 0, 0, 0, 0xEE, 0xEE}));
    EXPECT_EQ(fixed.GetLength(), 2);
}

TEST(PackedStream, OutOfRangePointersGoToAPerStreamScratchByte)
{
    uint8_t backing[3] = {1, 2, 3};
    MemoryPackedStream fixedA(backing, 2, 3, false);
    MemoryPackedStream fixedB(backing, 2, 3, false);
    ExpandablePackedStream growA(8), growB(8);
    growA.ZeroRange(0, 2);

    EXPECT_EQ(fixedA.GetPointer(2), backing + 2); // within the capacity, past the length
    IPackedStream* streams[] = {&fixedA, &fixedB, &growA, &growB};
    for (IPackedStream* stream : streams)
    {
        uint8_t* scratch = stream->GetPointer(3);
        EXPECT_EQ(stream->GetPointer(-1), scratch);
        EXPECT_EQ(stream->GetPointer(1 << 30), scratch);
        *scratch = 0x55; // lost
    }
    EXPECT_NE(fixedA.GetPointer(5), fixedB.GetPointer(5));
    EXPECT_NE(growA.GetPointer(5), growB.GetPointer(5));
    EXPECT_NE(growA.GetPointer(2), growA.GetPointer(1)); // index 2 is past the growable's length
    EXPECT_EQ(std::vector<uint8_t>(backing, backing + 3), std::vector<uint8_t>({1, 2, 3}));
    EXPECT_EQ(StreamBytes(growA), std::vector<uint8_t>({0, 0}));
}

TEST(PackedStream, SetLength)
{
    uint8_t backing[4] = {};
    MemoryPackedStream fixed(backing, 0, 4, false);
    struct Case
    {
        int set;
        int expected;
    } fixedCases[] = {{3, 3}, {9, 4}, {-1, 0}, {0, 0}};
    for (const Case& c : fixedCases)
    {
        fixed.SetLength(c.set);
        EXPECT_EQ(fixed.GetLength(), c.expected);
    }

    ExpandablePackedStream grow(0);
    grow.SetLength(3); // grows with zero bytes that really exist
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({0, 0, 0}));
    *grow.GetPointer(2) = 0xAB;
    grow.SetLength(1);
    EXPECT_EQ(grow.GetLength(), 1);
    // A write after truncation takes only what it needs and never brings the
    // old bytes back.
    EXPECT_TRUE(grow.EnsureBits(8, 8));
    EXPECT_EQ(StreamBytes(grow), std::vector<uint8_t>({0, 0}));
    grow.SetLength(-4);
    EXPECT_EQ(grow.GetLength(), 0);
    EXPECT_EQ(grow.GetData(), nullptr);
}

TEST(PackedStream, CopyingConstructorReadsOnlyWhatItWasGiven)
{
    // Exactly two bytes on the heap: reading the capacity would overrun.
    std::unique_ptr<uint8_t[]> given(new uint8_t[2]{0x11, 0x22});
    MemoryPackedStream stream(given.get(), 2, 5, true);
    EXPECT_NE(stream.GetData(), given.get());
    EXPECT_EQ(stream.GetLength(), 2);
    EXPECT_EQ(stream.GetCapacity(), 5);
    EXPECT_EQ(std::vector<uint8_t>(stream.GetData(), stream.GetData() + 5),
              std::vector<uint8_t>({0x11, 0x22, 0, 0, 0}));
    *stream.GetPointer(0) = 0x99;
    EXPECT_EQ(given[0], 0x11);

    // A length above the capacity is cut to the capacity.
    MemoryPackedStream cut(given.get(), 9, 1, true);
    EXPECT_EQ(cut.GetLength(), 1);
    EXPECT_EQ(*cut.GetPointer(0), 0x11);
}

TEST(PackedStream, FixedStreamOwnsOnlyItsCopy)
{
    uint8_t caller[3] = {4, 5, 6};
    {
        IPackedStream* borrowed = new MemoryPackedStream(caller, 3, 3, false);
        IPackedStream* copied = new MemoryPackedStream(caller, 3, 3, true);
        *borrowed->GetPointer(0) = 40;
        delete borrowed; // through the interface
        delete copied;   // the copy is released (the leak checker would tell)
    }
    EXPECT_EQ(std::vector<uint8_t>(caller, caller + 3), std::vector<uint8_t>({40, 5, 6}));
}

TEST(PackedStream, NullDataGivesAnEmptyStream)
{
    MemoryPackedStream borrowed(nullptr, 5, 10, false);
    EXPECT_EQ(borrowed.GetLength(), 0);
    EXPECT_EQ(borrowed.GetCapacity(), 0);
    EXPECT_FALSE(borrowed.EnsureBits(0, 1));
    borrowed.Clear();
    borrowed.ZeroRange(0, 4);
    EXPECT_EQ(borrowed.CopyFrom(nullptr, 0, 4), 0);
    EXPECT_EQ(borrowed.ToString(), "MemoryPackedStream[0]");

    MemoryPackedStream copied(nullptr, 5, 10, true);
    EXPECT_EQ(copied.GetLength(), 0);
    EXPECT_EQ(copied.GetCapacity(), 10);
    EXPECT_TRUE(copied.EnsureBits(0, 80));

    MemoryPackedStream negative(nullptr, -3, -7, true);
    EXPECT_EQ(negative.GetLength(), 0);
    EXPECT_EQ(negative.GetCapacity(), 0);
}

TEST(PackedStream, Clear)
{
    uint8_t backing[3] = {1, 2, 3};
    MemoryPackedStream fixed(backing, 1, 3, false);
    fixed.Clear();
    EXPECT_EQ(std::vector<uint8_t>(backing, backing + 3), std::vector<uint8_t>({0, 0, 0}));
    EXPECT_EQ(fixed.GetLength(), 1);

    ExpandablePackedStream grow(0);
    grow.ZeroRange(0, 3);
    grow.Clear();
    EXPECT_EQ(grow.GetLength(), 0);
}

TEST(PackedStream, Dump)
{
    uint8_t bytes[3] = {1, 171, 0};
    MemoryPackedStream fixed(bytes, 3, 3, false);
    ExpandablePackedStream grow(0);
    grow.CopyFrom(bytes, 0, 3);
    struct Case
    {
        IPackedStream* stream;
        int maxBytes;
        const char* expected;
    } cases[] = {
        {&fixed, 3, "MemoryPackedStream[3]: 01-ab-00"},    {&fixed, 100, "MemoryPackedStream[3]: 01-ab-00"},
        {&fixed, 2, "MemoryPackedStream[3]: 01-ab"},       {&fixed, 0, "MemoryPackedStream[3]: 01"},
        {&fixed, -1, "MemoryPackedStream[3]: 01"},         {&grow, 1, "ExpandablePackedStream[3]: 01-ab-00"},
        {&grow, 0, "ExpandablePackedStream[3]: 01-ab-00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.stream->Dump(c.maxBytes), c.expected);
    EXPECT_EQ(fixed.ToString(), "MemoryPackedStream[3]: 01-ab-00");
    EXPECT_EQ(grow.ToString(), "ExpandablePackedStream[3]: 01-ab-00");
    fixed.SetLength(0);
    EXPECT_EQ(fixed.ToString(), "MemoryPackedStream[0]");
}

TEST(PackedStream, MemoryBufferNegativeSizeIsEmpty)
{
    Vexel::IO::MemoryBuffer buffer(-4);
    EXPECT_EQ(buffer.size, 0);
    Vexel::IO::MemoryBuffer sized(3);
    EXPECT_EQ(sized.size, 3);
    EXPECT_EQ(sized.data[2], 0);
}
