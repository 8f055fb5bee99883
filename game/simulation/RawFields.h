// Raw little-endian int32 fields of the saved game. This program only runs
// on little-endian hosts, where that is the host order.
#pragma once

#include <cstdint>
#include <iosfwd>

void WriteInt32(std::ostream& out, int32_t value);
// Starts from -1 and overwrites the bytes that could be read, so a read that
// gets nothing returns -1. Check the stream to tell a short read apart.
int32_t ReadInt32(std::istream& in);
