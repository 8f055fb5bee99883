// Shared helpers of the stream tests.
#pragma once

#include "engine/core/PackedStream.h"

#include <cstdint>
#include <vector>

namespace TestSupport
{
// The bytes a stream holds within its length.
inline std::vector<uint8_t> StreamBytes(Vexel::IO::IPackedStream& stream)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < stream.GetLength(); i++)
        out.push_back(*stream.GetPointer(i));
    return out;
}
} // namespace TestSupport
