#include "engine/core/BitWriter.h"

#include "engine/core/PackedStream.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace Vexel
{
namespace IO
{

class BitWriter::Impl
{
public:
    IPackedStream* stream = nullptr;
    int errors = 0;
    int64_t bitPosition = 0;

    // Asks the stream for room for bitCount more bits; counts an error when
    // there is none (streams address bits with an int).
    bool Reserve(int64_t bitCount)
    {
        if (stream == nullptr || bitCount < 0 || bitPosition + bitCount > INT_MAX ||
            !stream->EnsureBits(int(bitPosition), int(bitCount)))
        {
            errors++;
            return false;
        }
        return true;
    }

    // Unchecked: ORs value bits n - 1 .. 0 in; bits 32 and above are 0.
    void Put(uint32_t value, int64_t bitCount)
    {
        while (bitCount > 0)
        {
            const int offset = int(bitPosition & 7);
            const int take = int(bitCount < 8 - offset ? bitCount : 8 - offset);
            const int64_t shift = bitCount - take; // index of the lowest bit of this chunk
            const unsigned chunk = shift >= 32 ? 0u : unsigned(uint64_t(value) >> shift) & ((1u << take) - 1);
            *stream->GetPointer(int(bitPosition >> 3)) |= uint8_t(chunk << (8 - offset - take));
            bitPosition += take;
            bitCount -= take;
        }
    }

    void Write(uint32_t value, int bitCount)
    {
        if (Reserve(bitCount))
            Put(value, bitCount);
    }

    template <typename Wide> void WriteWords(Wide const& value, int wordCount)
    {
        if (!Reserve(int64_t(wordCount) * 32))
            return;
        for (int i = wordCount - 1; i >= 0; i--)
            Put(value[i], 32);
    }
};

BitWriter::BitWriter() : impl(new Impl) {}

BitWriter::BitWriter(IPackedStream* stream) : impl(new Impl)
{
    impl->stream = stream;
}

BitWriter::~BitWriter()
{
    delete impl;
}

IPackedStream* BitWriter::GetStream() const
{
    return impl->stream;
}

int BitWriter::GetErrors() const
{
    return impl->errors;
}

int64_t BitWriter::GetBitPosition() const
{
    return impl->bitPosition;
}

void BitWriter::WriteBool(bool value)
{
    impl->Write(value ? 1u : 0u, 1);
}

void BitWriter::WriteByte(uint8_t value)
{
    impl->Write(value, 8);
}

void BitWriter::WriteUInt16(uint16_t value)
{
    impl->Write(value, 16);
}

void BitWriter::WriteInt16(int16_t value)
{
    impl->Write(uint16_t(value), 16);
}

void BitWriter::WriteUInt32(uint32_t value)
{
    impl->Write(value, 32);
}

void BitWriter::WriteInt32(int32_t value)
{
    impl->Write(uint32_t(value), 32);
}

void BitWriter::WriteFloat(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    impl->Write(bits, 32);
}

void BitWriter::WriteUInt64(uint64_t value)
{
    if (!impl->Reserve(64))
        return;
    impl->Put(uint32_t(value >> 32), 32);
    impl->Put(uint32_t(value), 32);
}

void BitWriter::WriteInt64(int64_t value)
{
    WriteUInt64(uint64_t(value));
}

void BitWriter::WriteUInt128(uint128 const& value)
{
    impl->WriteWords(value, 4);
}

void BitWriter::WriteUInt160(uint160 const& value)
{
    impl->WriteWords(value, 5);
}

void BitWriter::WriteUInt256(uint256 const& value)
{
    impl->WriteWords(value, 8);
}

void BitWriter::WriteBits(uint32_t value, int bitCount)
{
    if (bitCount == 0)
        return;
    impl->Write(value, bitCount);
}

void BitWriter::WriteString(std::string const& text, int maxLength, int coding)
{
    if (maxLength <= 0)
        return;
    const int width = CharBits(coding);
    if (width == 0)
    {
        impl->errors++;
        return;
    }
    const int lengthBits = BitLength(unsigned(maxLength));
    const int64_t count = text.size() < size_t(maxLength) ? int64_t(text.size()) : maxLength;
    if (!impl->Reserve(lengthBits + count * width))
        return;
    impl->Put(uint32_t(count), lengthBits);
    for (int64_t i = 0; i < count; i++)
        impl->Put(uint32_t(EncodeChar(static_cast<unsigned char>(text[size_t(i)]), coding)), width);
}

void BitWriter::WriteRandomPadding()
{
    const int bitCount = 32 - int(impl->bitPosition % 32);
    // Four calls in a fixed order, each shifted into place.
    const uint32_t first = uint32_t(std::rand());
    const uint32_t second = uint32_t(std::rand());
    const uint32_t third = uint32_t(std::rand());
    const uint32_t fourth = uint32_t(std::rand());
    const uint32_t word = (first << 24) ^ (second << 16) ^ (third << 8) ^ fourth;
    impl->Write(word, bitCount);
}

} // namespace IO
} // namespace Vexel
