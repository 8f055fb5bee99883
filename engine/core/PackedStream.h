// Byte stores under the bit reader and writer: a run of bytes with a used
// length. MemoryPackedStream has a fixed capacity over a caller's buffer or
// its own copy of it; ExpandablePackedStream grows as it is written.
// Every index, count and copy is checked: out-of-range pointers lead to a
// per-stream scratch byte, lengths and ranges are clamped to what exists.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace IO
{

// Always inherited virtually.
class IPackedStream
{
public:
    virtual ~IPackedStream() {}

    // Address of one byte; out of range, a scratch byte whose writes are lost.
    virtual uint8_t* GetPointer(int byteIndex) = 0;
    // The first byte; may be null when the stream has no storage.
    virtual uint8_t* GetData() = 0;
    // Bytes in use.
    virtual int GetLength() = 0;
    virtual void SetLength(int length) = 0;
    virtual int GetCapacity() = 0;
    // Makes the bytes holding bits bitPosition .. bitPosition + bitCount - 1
    // exist, newly covered bytes zeroed, before a writer ORs bits into them.
    // False when there is no room.
    virtual bool EnsureBits(int bitPosition, int bitCount) = 0;
    virtual void Clear() = 0;
    // Replaces the contents with count bytes from source + offset (which may
    // lie inside this stream); returns the number of bytes taken.
    virtual int CopyFrom(const uint8_t* source, int offset, int count) = 0;
    virtual void ZeroRange(int offset, int count) = 0;
    virtual std::string ToString() = 0;
    // "<class name>[<length>]: 01-ab-00"; the byte list only when not empty.
    virtual std::string Dump(int maxBytes) = 0;
};

class MemoryPackedStream : public virtual IPackedStream
{
public:
    // Over data (not owned) or, with copy set, over a new zero-filled buffer
    // of capacity bytes holding the first min(length, capacity) bytes of
    // data. A null data pointer gives an empty stream (length 0; capacity 0
    // unless copy is set).
    MemoryPackedStream(uint8_t* data, int length, int capacity, bool copy);
    ~MemoryPackedStream() override;
    MemoryPackedStream(const MemoryPackedStream&) = delete;
    MemoryPackedStream& operator=(const MemoryPackedStream&) = delete;

    uint8_t* GetPointer(int byteIndex) override;
    uint8_t* GetData() override;
    int GetLength() override;
    // Clamped to 0 .. capacity.
    void SetLength(int length) override;
    int GetCapacity() override;
    // True at once when the bytes are already in use; otherwise zero-fills
    // up to the capacity and says whether that was enough.
    bool EnsureBits(int bitPosition, int bitCount) override;
    // Zeroes every byte of the capacity; the length stays.
    void Clear() override;
    // The first min(count, capacity) bytes become the copy, the rest of the
    // capacity zero; length = that count.
    int CopyFrom(const uint8_t* source, int offset, int count) override;
    // Zeroes the part of the range that lies within the capacity.
    void ZeroRange(int offset, int count) override;
    std::string ToString() override;
    // At most maxBytes bytes are shown, the first one always.
    std::string Dump(int maxBytes) override;

    class Impl;

private:
    Impl* impl;
};

class ExpandablePackedStream : public virtual IPackedStream
{
public:
    // Empty, with room reserved for initialCapacity bytes.
    explicit ExpandablePackedStream(int initialCapacity);
    ~ExpandablePackedStream() override;
    ExpandablePackedStream(const ExpandablePackedStream&) = delete;
    ExpandablePackedStream& operator=(const ExpandablePackedStream&) = delete;

    uint8_t* GetPointer(int byteIndex) override;
    // Null while empty.
    uint8_t* GetData() override;
    int GetLength() override;
    // Truncates or grows with zero bytes; the length always equals the bytes
    // held, so a later write never brings back truncated bytes.
    void SetLength(int length) override;
    int GetCapacity() override;
    // Grows with zero bytes; always true.
    bool EnsureBits(int bitPosition, int bitCount) override;
    // Empties the stream.
    void Clear() override;
    int CopyFrom(const uint8_t* source, int offset, int count) override;
    // Zeroes the range, growing the stream with zero bytes to cover it.
    void ZeroRange(int offset, int count) override;
    std::string ToString() override;
    // Shows every byte whatever maxBytes is.
    std::string Dump(int maxBytes) override;

    class Impl;

private:
    Impl* impl;
};

} // namespace IO
} // namespace Vexel
