// An owned byte buffer {data, size}, released with delete[].
#pragma once

#include <cstdint>

namespace Vexel
{
namespace IO
{

struct MemoryBuffer
{
    uint8_t* data;
    int size;

    // Takes the pointer and the size as they come.
    MemoryBuffer(uint8_t* data, int size) : data(data), size(size) {}
    // Allocates size bytes, zero-filled; a negative size counts as 0.
    explicit MemoryBuffer(int size) : data(nullptr), size(size > 0 ? size : 0) { data = new uint8_t[this->size](); }
    ~MemoryBuffer()
    {
        delete[] data;
        data = nullptr;
    }
    MemoryBuffer(const MemoryBuffer&) = delete;
    MemoryBuffer& operator=(const MemoryBuffer&) = delete;
};

} // namespace IO
} // namespace Vexel
