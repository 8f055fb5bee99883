// Writes unaligned bit fields, most significant bit first, into a packed
// stream. Every write first asks the stream for room (EnsureBits), which
// zeroes newly covered bytes, then ORs its bits in; rewriting bits already
// written is not supported. When the stream refuses room (a full fixed
// stream) or there is no stream, the write counts an error and writes
// nothing.
#pragma once

#include "engine/core/CharCoding.h"
#include "engine/core/WideValues.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace IO
{

class IPackedStream;

class BitWriter
{
public:
    BitWriter();
    explicit BitWriter(IPackedStream* stream); // not owned
    ~BitWriter();
    BitWriter(const BitWriter&) = delete;
    BitWriter& operator=(const BitWriter&) = delete;

    IPackedStream* GetStream() const;
    int GetErrors() const;
    int64_t GetBitPosition() const;

    void WriteBool(bool value);
    void WriteByte(uint8_t value);
    void WriteUInt16(uint16_t value);
    void WriteInt16(int16_t value);
    void WriteUInt32(uint32_t value);
    void WriteInt32(int32_t value);
    void WriteFloat(float value);
    // High word, then low word.
    void WriteUInt64(uint64_t value);
    void WriteInt64(int64_t value);
    // Highest word first, word 0 last.
    void WriteUInt128(uint128 const& value);
    void WriteUInt160(uint160 const& value);
    void WriteUInt256(uint256 const& value);
    // Value bits n - 1 down to 0; bits 32 and above are written as 0.
    void WriteBits(uint32_t value, int bitCount);
    // Nothing for maxLength <= 0; else min(size, maxLength) in
    // BitLength(maxLength) bits, then those characters in the coding's
    // width. Longer texts are cut without notice. All or nothing.
    void WriteString(std::string const& text, int maxLength, int coding);
    // Random bits up to the next 32-bit boundary: 32 when already on one.
    void WriteRandomPadding();

    class Impl;

private:
    Impl* impl;
};

} // namespace IO
} // namespace Vexel
