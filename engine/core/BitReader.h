// Reads unaligned bit fields, most significant bit first, from a packed
// stream: bit p of the stream is bit 7 - (p mod 8) of byte p / 8. The reader
// never reads past the stream's length; a refused read counts one error,
// yields its overrun value (0, "" or, for a bool, true) and leaves the
// position where it was. Callers check GetErrors after a record or a file.
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

class BitReader
{
public:
    // Without a stream every read is an overrun.
    BitReader();
    explicit BitReader(IPackedStream* stream); // not owned
    ~BitReader();
    BitReader(const BitReader&) = delete;
    BitReader& operator=(const BitReader&) = delete;

    // Points the reader at a stream (may be null) and resets the position
    // and the error count.
    void Attach(IPackedStream* stream);
    IPackedStream* GetStream() const;
    int GetErrors() const;
    // For callers that refuse a read on their own grounds.
    void AddError();
    int64_t GetBitPosition() const;

    bool ReadBool();
    uint8_t ReadByte();
    uint16_t ReadUInt16();
    int16_t ReadInt16();
    uint32_t ReadUInt32();
    int32_t ReadInt32();
    float ReadFloat();
    // n bits; above 32 only the last 32 bits read are kept.
    uint32_t ReadBits(int bitCount);
    // High word first; each failing 32-bit half counts an error and is 0.
    uint64_t ReadUInt64();
    int64_t ReadInt64();
    // Highest word first, word 0 last.
    uint128 ReadUInt128();
    uint160 ReadUInt160();
    uint256 ReadUInt256();
    // A length in BitLength(maxLength) bits, then that many characters in
    // the coding's width. "" without reading for maxLength <= 0; "" and one
    // error for a length above maxLength or characters past the end (the
    // length field stays consumed) and for a coding of zero width.
    std::string ReadString(int maxLength, int coding);

    class Impl;

private:
    Impl* impl;
};

} // namespace IO
} // namespace Vexel
