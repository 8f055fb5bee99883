// Standard base64 (RFC 4648 alphabet, "=" padding, no line breaks) for the
// leaderboard's enciphered messages, which travel in query parameters.
#pragma once

#include "engine/core/MemoryBuffer.h"

#include <cstdint>
#include <string>

// "" for a null pointer or a length below 1.
std::string Base64Encode(const uint8_t* data, int length);

// Characters needed for length bytes: (length + 2) / 3 * 4, 0 below 1.
// 64-bit so that it cannot overflow for any int length.
int64_t Base64EncodedLength(int length);

// The encoding of the buffer's bytes; "" for a null buffer.
std::string Base64EncodeBuffer(const Vexel::IO::MemoryBuffer* buffer);

// Never fails on odd input: characters outside the alphabet decode as 0 and
// still take a position, decoding stops at the first "=", and a trailing
// incomplete group is dropped. Null for an empty text; otherwise a new
// buffer (possibly of size 0) that the caller deletes.
Vexel::IO::MemoryBuffer* Base64Decode(std::string const& text);
