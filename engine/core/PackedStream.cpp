#include "engine/core/PackedStream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Vexel
{
namespace IO
{

namespace
{
// Bytes needed to hold bits 0 .. bitPosition + bitCount - 1; -1 for
// negative arguments.
int64_t BytesNeeded(int bitPosition, int bitCount)
{
    if (bitPosition < 0 || bitCount < 0)
        return -1;
    return (int64_t(bitPosition) + int64_t(bitCount) + 7) >> 3;
}

std::string FormatDump(const char* className, const uint8_t* bytes, int length, int shown)
{
    std::string text = className;
    text += "[" + std::to_string(length) + "]";
    if (length <= 0)
        return text;
    text += ": ";
    for (int i = 0; i < shown; i++)
    {
        if (i > 0)
            text += '-';
        static const char digits[] = "0123456789abcdef";
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}
} // namespace

// ---------------------------------------------------------------------------
// MemoryPackedStream

class MemoryPackedStream::Impl
{
public:
    uint8_t* data = nullptr;
    int capacity = 0;
    bool owns = false;
    int length = 0;
    uint8_t scratch = 0; // target of out-of-range pointers
};

MemoryPackedStream::MemoryPackedStream(uint8_t* data, int length, int capacity, bool copy) : impl(new Impl)
{
    capacity = std::max(capacity, 0);
    length = std::min(std::max(length, 0), capacity);
    if (copy)
    {
        impl->data = new uint8_t[capacity > 0 ? capacity : 1]();
        impl->capacity = capacity;
        impl->owns = true;
        // Only the bytes the caller vouched for are read.
        if (data != nullptr)
        {
            std::memcpy(impl->data, data, size_t(length));
            impl->length = length;
        }
    }
    else if (data != nullptr)
    {
        impl->data = data;
        impl->capacity = capacity;
        impl->length = length;
    }
}

MemoryPackedStream::~MemoryPackedStream()
{
    if (impl->owns)
        delete[] impl->data;
    impl->data = nullptr;
    impl->capacity = 0;
    delete impl;
}

uint8_t* MemoryPackedStream::GetPointer(int byteIndex)
{
    if (byteIndex < 0 || byteIndex >= impl->capacity)
        return &impl->scratch;
    return impl->data + byteIndex;
}

uint8_t* MemoryPackedStream::GetData()
{
    return impl->data;
}

int MemoryPackedStream::GetLength()
{
    return impl->length;
}

void MemoryPackedStream::SetLength(int length)
{
    impl->length = std::min(std::max(length, 0), impl->capacity);
}

int MemoryPackedStream::GetCapacity()
{
    return impl->capacity;
}

bool MemoryPackedStream::EnsureBits(int bitPosition, int bitCount)
{
    const int64_t needed = BytesNeeded(bitPosition, bitCount);
    if (needed < 0)
        return false;
    if (impl->length >= needed)
        return true;
    if (impl->length >= impl->capacity)
        return false;
    while (impl->length < impl->capacity && impl->length < needed)
        impl->data[impl->length++] = 0;
    return impl->length >= needed;
}

void MemoryPackedStream::Clear()
{
    if (impl->capacity > 0)
        std::memset(impl->data, 0, size_t(impl->capacity));
}

int MemoryPackedStream::CopyFrom(const uint8_t* source, int offset, int count)
{
    if (source == nullptr || offset < 0 || count < 0)
        count = 0;
    count = std::min(count, impl->capacity);
    // The source may lie inside this stream (dropping a header): move first,
    // then clear the rest, instead of clearing the source away.
    if (count > 0)
        std::memmove(impl->data, source + offset, size_t(count));
    if (impl->capacity > count)
        std::memset(impl->data + count, 0, size_t(impl->capacity - count));
    impl->length = count;
    return count;
}

void MemoryPackedStream::ZeroRange(int offset, int count)
{
    const int64_t begin = std::max<int64_t>(offset, 0);
    const int64_t end = std::min<int64_t>(int64_t(offset) + std::max(count, 0), impl->capacity);
    if (begin < end)
        std::memset(impl->data + begin, 0, size_t(end - begin));
}

std::string MemoryPackedStream::ToString()
{
    return Dump(impl->length);
}

std::string MemoryPackedStream::Dump(int maxBytes)
{
    const int shown = std::min(impl->length, std::max(maxBytes, 1));
    return FormatDump("MemoryPackedStream", impl->data, impl->length, shown);
}

// ---------------------------------------------------------------------------
// ExpandablePackedStream

class ExpandablePackedStream::Impl
{
public:
    // The length of the stream is always bytes.size().
    std::vector<uint8_t> bytes;
    uint8_t scratch = 0;

    int Length() const { return int(bytes.size()); }
};

ExpandablePackedStream::ExpandablePackedStream(int initialCapacity) : impl(new Impl)
{
    impl->bytes.reserve(size_t(std::max(initialCapacity, 0)));
}

ExpandablePackedStream::~ExpandablePackedStream()
{
    delete impl;
}

uint8_t* ExpandablePackedStream::GetPointer(int byteIndex)
{
    if (byteIndex < 0 || byteIndex >= impl->Length())
        return &impl->scratch;
    return &impl->bytes[size_t(byteIndex)];
}

uint8_t* ExpandablePackedStream::GetData()
{
    return impl->bytes.empty() ? nullptr : impl->bytes.data();
}

int ExpandablePackedStream::GetLength()
{
    return impl->Length();
}

void ExpandablePackedStream::SetLength(int length)
{
    impl->bytes.resize(size_t(std::max(length, 0)), 0);
}

int ExpandablePackedStream::GetCapacity()
{
    return int(std::min<size_t>(impl->bytes.capacity(), INT32_MAX));
}

bool ExpandablePackedStream::EnsureBits(int bitPosition, int bitCount)
{
    const int64_t needed = BytesNeeded(bitPosition, bitCount);
    if (needed < 0)
        return false;
    if (needed > impl->Length())
        impl->bytes.resize(size_t(needed), 0);
    return true;
}

void ExpandablePackedStream::Clear()
{
    impl->bytes.clear();
}

int ExpandablePackedStream::CopyFrom(const uint8_t* source, int offset, int count)
{
    if (source == nullptr || offset < 0 || count <= 0)
    {
        impl->bytes.clear();
        return 0;
    }
    // Through a temporary: the source may lie inside this stream.
    std::vector<uint8_t> copy(source + offset, source + offset + count);
    impl->bytes.assign(copy.begin(), copy.end());
    return count;
}

void ExpandablePackedStream::ZeroRange(int offset, int count)
{
    if (count <= 0)
        return;
    const int64_t begin = std::max<int64_t>(offset, 0);
    const int64_t end = std::min<int64_t>(int64_t(offset) + count, INT32_MAX);
    if (begin >= end)
        return;
    if (end > impl->Length())
        impl->bytes.resize(size_t(end), 0);
    std::fill(impl->bytes.begin() + begin, impl->bytes.begin() + end, uint8_t(0));
}

std::string ExpandablePackedStream::ToString()
{
    return Dump(impl->Length());
}

std::string ExpandablePackedStream::Dump(int /*maxBytes*/)
{
    return FormatDump("ExpandablePackedStream", impl->bytes.data(), impl->Length(), impl->Length());
}

} // namespace IO
} // namespace Vexel
