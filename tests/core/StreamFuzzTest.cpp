// Random bytes and random arguments against the streams, the bit reader's
// string codings and the record decoder. Buffers are sized exactly, so the
// address sanitizer catches any read or write out of bounds.
#include "engine/core/BitReader.h"
#include "engine/core/BitWriter.h"
#include "engine/core/CharCoding.h"
#include "engine/core/PackedStream.h"
#include "engine/core/RecordSchema.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

using namespace Vexel::IO;

namespace
{
const int Codings[] = {CharCoding::Byte,
                       CharCoding::Hex,
                       CharCoding::Ascii7,
                       CharCoding::Letters,
                       CharCoding::Packed,
                       CharCoding::Printable,
                       0x100,
                       0x101,
                       0x120,
                       0x140,
                       0x1FF};

std::unique_ptr<uint8_t[]> RandomBytes(std::mt19937& random, int count)
{
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size_t(count > 0 ? count : 1)]);
    for (int i = 0; i < count; i++)
        bytes[size_t(i)] = uint8_t(random());
    return bytes;
}

int RandomInt(std::mt19937& random, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

std::string RandomSchema(std::mt19937& random)
{
    static const char* const words[] = {
        "int32",  "uint32", "bool",  "string",  "string:3", "string:0", "int64",    "uint64",
        "byte",   "uint16", "int16", "uint128", "uint160",  "uint256",  "float",    "datetime",
        "skip:5", "skip:",  "junk",  "",        "string:",  "skip:-3",  "string:-9"};
    std::string schema;
    const int count = RandomInt(random, 0, 8);
    for (int i = 0; i < count; i++)
    {
        if (i > 0)
            schema += ' ';
        if (random() % 8 == 0)
            schema += "string:" + std::to_string(RandomInt(random, -5, 70000));
        else
            schema += words[random() % (sizeof(words) / sizeof(words[0]))];
    }
    return schema;
}
} // namespace

TEST(StreamFuzz, StringCodingsOnRandomBytes)
{
    for (unsigned seed : {1u, 2u, 3u})
    {
        std::mt19937 random(seed);
        for (int round = 0; round < 1500; round++)
        {
            const int length = RandomInt(random, 0, 48);
            std::unique_ptr<uint8_t[]> bytes = RandomBytes(random, length);
            MemoryPackedStream stream(length > 0 ? bytes.get() : nullptr, length, length, false);
            BitReader reader(&stream);
            reader.ReadBits(RandomInt(random, 0, 7)); // start unaligned
            for (int read = 0; read < 8; read++)
            {
                const int coding = Codings[random() % (sizeof(Codings) / sizeof(Codings[0]))];
                const int maxLength =
                    random() % 5 == 0 ? RandomInt(random, -3, 1 << 30) : RandomInt(random, -1, 300);
                const int64_t before = reader.GetBitPosition();
                const int errorsBefore = reader.GetErrors();
                const std::string text = reader.ReadString(maxLength, coding);
                ASSERT_LE(reader.GetBitPosition(), int64_t(length) * 8);
                ASSERT_GE(reader.GetBitPosition(), before);
                ASSERT_LE(int64_t(text.size()), maxLength > 0 ? maxLength : 0);
                if (reader.GetErrors() > errorsBefore)
                {
                    ASSERT_TRUE(text.empty());
                }
                for (char c : text)
                {
                    if (coding == CharCoding::Packed)
                    {
                        ASSERT_TRUE(c >= 32 && c <= 126) << int(c);
                    }
                    else if (coding == CharCoding::Hex)
                    {
                        ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << int(c);
                    }
                    else if (coding == CharCoding::Letters)
                    {
                        ASSERT_TRUE(c >= 'A' && c <= 'A' + 31) << int(c);
                    }
                }
            }
        }
    }
}

TEST(StreamFuzz, DecodeRecordIntoBoundedBuffers)
{
    for (unsigned seed : {11u, 12u, 13u})
    {
        std::mt19937 random(seed);
        for (int round = 0; round < 1500; round++)
        {
            const std::string schema = RandomSchema(random);
            const int recordSize = RecordSchema::GetRecordSize(schema);
            const int length = RandomInt(random, 0, 96);
            std::unique_ptr<uint8_t[]> bytes = RandomBytes(random, length);
            MemoryPackedStream stream(bytes.get(), length, length, false);
            BitReader reader(&stream);
            const int bufferSize = RandomInt(random, 0, 3 * recordSize + 4);
            std::unique_ptr<uint8_t[]> buffer(new uint8_t[size_t(bufferSize > 0 ? bufferSize : 1)]);
            uint8_t* base = buffer.get();
            int offset = RandomInt(random, -2, 3);
            std::vector<int> recordStarts;
            for (int record = 0; record < 5; record++)
            {
                const int errorsBefore = reader.GetErrors();
                const int next = RecordSchema::DecodeRecord(reader, schema, &base, offset, bufferSize);
                const bool fits = offset >= 0 && int64_t(offset) + recordSize <= bufferSize;
                if (!fits)
                {
                    ASSERT_EQ(next, offset);
                    ASSERT_EQ(reader.GetErrors(), errorsBefore + 1);
                    break;
                }
                ASSERT_EQ(next, offset + recordSize);
                recordStarts.push_back(offset);
                offset = next;
                if (recordSize == 0)
                    break;
            }
            for (int start : recordStarts)
                RecordSchema::ReleaseRecord(schema, buffer.get() + start);
        }
    }
}

// Random operations with random (also absurd) arguments on both streams,
// with a writer and a reader interleaved; a model tracks the length.
TEST(StreamFuzz, StreamOperationsStayInBounds)
{
    for (unsigned seed : {21u, 22u})
    {
        std::mt19937 random(seed);
        for (int round = 0; round < 1000; round++)
        {
            const int capacity = RandomInt(random, 0, 40);
            std::unique_ptr<uint8_t[]> backing = RandomBytes(random, capacity);
            MemoryPackedStream fixed(capacity > 0 ? backing.get() : nullptr, RandomInt(random, -5, 50),
                                     capacity, random() % 2 == 0);
            ExpandablePackedStream grow(RandomInt(random, -5, 50));
            IPackedStream* streams[] = {&fixed, &grow};
            for (IPackedStream* stream : streams)
            {
                BitWriter writer(stream);
                BitReader reader(stream);
                for (int op = 0; op < 12; op++)
                {
                    const int a = RandomInt(random, -10, 60);
                    const int b = RandomInt(random, -10, 60);
                    std::unique_ptr<uint8_t[]> source = RandomBytes(random, 70);
                    switch (random() % 10)
                    {
                    case 0:
                        stream->EnsureBits(a * 8, b);
                        break;
                    case 1:
                        stream->SetLength(a);
                        break;
                    case 2:
                        stream->CopyFrom(source.get(), a >= 0 && a <= 70 ? a / 2 : a, b > 35 ? 35 : b);
                        break;
                    case 3:
                        stream->ZeroRange(a, b);
                        break;
                    case 4:
                        *stream->GetPointer(a) ^= 0x5A;
                        break;
                    case 5:
                        writer.WriteBits(uint32_t(random()), RandomInt(random, -2, 40));
                        break;
                    case 6:
                        writer.WriteString("fuzz text", RandomInt(random, -1, 20),
                                           Codings[random() % (sizeof(Codings) / sizeof(Codings[0]))]);
                        break;
                    case 7:
                        reader.ReadString(RandomInt(random, -1, 20),
                                          Codings[random() % (sizeof(Codings) / sizeof(Codings[0]))]);
                        break;
                    case 8:
                        reader.ReadBits(RandomInt(random, -2, 70));
                        break;
                    case 9:
                        stream->Dump(a);
                        stream->Clear();
                        break;
                    }
                    ASSERT_GE(stream->GetLength(), 0);
                    if (stream == &fixed)
                    {
                        ASSERT_LE(stream->GetLength(), capacity);
                    }
                    for (int i = 0; i < stream->GetLength(); i++)
                        ASSERT_NE(stream->GetPointer(i), stream->GetPointer(-1)) << i;
                }
            }
        }
    }
}

// A writer on a fixed stream writes exactly what a growable stream gets from
// the writes that were not refused.
TEST(StreamFuzz, RefusedWritesLeaveNoTrace)
{
    std::mt19937 random(31u);
    for (int round = 0; round < 2000; round++)
    {
        const int capacity = RandomInt(random, 0, 24);
        std::vector<uint8_t> backing(size_t(capacity) + 1, 0xEE);
        MemoryPackedStream fixed(backing.data(), 0, capacity, false);
        ExpandablePackedStream model(0);
        BitWriter fixedWriter(&fixed), modelWriter(&model);
        for (int op = 0; op < 10; op++)
        {
            const uint32_t value = uint32_t(random());
            const int bits = RandomInt(random, 1, 72);
            const int errorsBefore = fixedWriter.GetErrors();
            if (bits > 64)
                fixedWriter.WriteString("packed!", bits - 64, CharCoding::Packed);
            else
                fixedWriter.WriteBits(value, bits);
            if (fixedWriter.GetErrors() == errorsBefore)
            {
                if (bits > 64)
                    modelWriter.WriteString("packed!", bits - 64, CharCoding::Packed);
                else
                    modelWriter.WriteBits(value, bits);
            }
        }
        ASSERT_EQ(fixedWriter.GetBitPosition(), modelWriter.GetBitPosition());
        ASSERT_EQ(backing[size_t(capacity)], 0xEE);
        ASSERT_LE(fixed.GetLength(), capacity);
        for (int i = 0; i < model.GetLength(); i++)
            ASSERT_EQ(backing[size_t(i)], *model.GetPointer(i)) << "round " << round << " byte " << i;
        for (int i = model.GetLength(); i < fixed.GetLength(); i++)
            ASSERT_EQ(backing[size_t(i)], 0); // zero-filled by a refused write
    }
}
