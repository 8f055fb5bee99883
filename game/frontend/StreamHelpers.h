// Raw little-endian int32 fields of the saved game state.
#pragma once

#include <cstdint>
#include <iosfwd>

// The value's four bytes in memory order.
void WriteInt32(std::ostream& out, int32_t value);
// -1 when the stream cannot give four bytes.
int32_t ReadInt32(std::istream& in);
