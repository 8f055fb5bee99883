#include "engine/core/BitReader.h"

#include "engine/core/PackedStream.h"

#include <cstring>

namespace Vexel
{
namespace IO
{

class BitReader::Impl
{
public:
    IPackedStream* stream = nullptr;
    int errors = 0;
    int64_t bitPosition = 0;

    // Whether bitCount more bits lie within the stream's length.
    bool Available(int64_t bitCount) const
    {
        const int64_t length = stream != nullptr ? stream->GetLength() : 0;
        return bitCount >= 0 && bitPosition + bitCount <= length * 8;
    }

    // Unchecked: the caller made sure the bits are available. Keeps the
    // last 64 bits read.
    uint64_t Take(int64_t bitCount)
    {
        uint64_t value = 0;
        while (bitCount > 0)
        {
            const int offset = int(bitPosition & 7);
            const int take = int(bitCount < 8 - offset ? bitCount : 8 - offset);
            const unsigned byte = *stream->GetPointer(int(bitPosition >> 3));
            const unsigned bits = (byte >> (8 - offset - take)) & ((1u << take) - 1);
            value = (value << take) | bits;
            bitPosition += take;
            bitCount -= take;
        }
        return value;
    }

    // A checked read of up to 64 bits; 0 and one error on overrun.
    uint64_t Read(int bitCount)
    {
        if (!Available(bitCount))
        {
            errors++;
            return 0;
        }
        return Take(bitCount);
    }
};

BitReader::BitReader() : impl(new Impl) {}

BitReader::BitReader(IPackedStream* stream) : impl(new Impl)
{
    impl->stream = stream;
}

BitReader::~BitReader()
{
    delete impl;
}

void BitReader::Attach(IPackedStream* stream)
{
    impl->stream = stream;
    impl->errors = 0;
    impl->bitPosition = 0;
}

IPackedStream* BitReader::GetStream() const
{
    return impl->stream;
}

int BitReader::GetErrors() const
{
    return impl->errors;
}

void BitReader::AddError()
{
    impl->errors++;
}

int64_t BitReader::GetBitPosition() const
{
    return impl->bitPosition;
}

bool BitReader::ReadBool()
{
    if (!impl->Available(1))
    {
        impl->errors++;
        return true;
    }
    return impl->Take(1) != 0;
}

uint8_t BitReader::ReadByte()
{
    return uint8_t(impl->Read(8));
}

uint16_t BitReader::ReadUInt16()
{
    return uint16_t(impl->Read(16));
}

int16_t BitReader::ReadInt16()
{
    return int16_t(impl->Read(16));
}

uint32_t BitReader::ReadUInt32()
{
    return uint32_t(impl->Read(32));
}

int32_t BitReader::ReadInt32()
{
    return int32_t(impl->Read(32));
}

float BitReader::ReadFloat()
{
    const uint32_t bits = ReadUInt32();
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

uint32_t BitReader::ReadBits(int bitCount)
{
    if (!impl->Available(bitCount))
    {
        impl->errors++;
        return 0;
    }
    return uint32_t(impl->Take(bitCount));
}

uint64_t BitReader::ReadUInt64()
{
    const uint64_t high = ReadUInt32();
    const uint64_t low = ReadUInt32();
    return (high << 32) | low;
}

int64_t BitReader::ReadInt64()
{
    return int64_t(ReadUInt64());
}

uint128 BitReader::ReadUInt128()
{
    uint128 value;
    for (int i = 3; i >= 0; i--)
        value[i] = ReadUInt32();
    return value;
}

uint160 BitReader::ReadUInt160()
{
    uint160 value;
    for (int i = 4; i >= 0; i--)
        value[i] = ReadUInt32();
    return value;
}

uint256 BitReader::ReadUInt256()
{
    uint256 value;
    for (int i = 7; i >= 0; i--)
        value[i] = ReadUInt32();
    return value;
}

std::string BitReader::ReadString(int maxLength, int coding)
{
    if (maxLength <= 0)
        return "";
    const int width = CharBits(coding);
    if (width == 0)
    {
        // Characters of no bits would let a length field ask for any amount
        // of memory without the stream holding anything.
        impl->errors++;
        return "";
    }
    const int64_t count = ReadBits(BitLength(unsigned(maxLength)));
    if (count > maxLength || !impl->Available(count * width))
    {
        impl->errors++;
        return "";
    }
    std::string text(size_t(count), '\0');
    for (int64_t i = 0; i < count; i++)
        text[size_t(i)] = DecodeChar(unsigned(impl->Take(width)), coding);
    return text;
}

} // namespace IO
} // namespace Vexel
