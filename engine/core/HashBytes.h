// A fast non-cryptographic 32-bit hash of a byte range (Paul Hsieh's
// SuperFastHash, with the tail bytes read as unsigned so the result does not
// depend on the signedness of char).
#pragma once

#include <cstdint>

// 0 for a null pointer or a length below 1.
uint32_t HashBytes(const uint8_t* data, int length);
