// XXTEA (corrected block TEA) over byte ranges read as little-endian 32-bit
// words, keyed by a uint128 (key word i is word i of the value). The
// leaderboard enciphers its padded requests and replies with it.
#pragma once

#include "engine/core/MemoryBuffer.h"
#include "engine/core/WideValues.h"

// Both directions take the range [offset, offset + length) of the buffer.
// In place, the length must be a multiple of 4 and the given buffer is
// processed and returned. Not in place, a new buffer of the length rounded up
// to whole words (zero-filled past the copied bytes) is processed and
// returned, and the given buffer is untouched.
//
// Every refusal returns null and changes nothing: a null buffer or data,
// a negative offset or length, a range past the end of the buffer, an in
// place length that is not a multiple of 4, and blocks under two words
// (8 bytes), since a one-word block cannot be deciphered again.
Vexel::IO::MemoryBuffer* XxteaEncryptRange(Vexel::IO::MemoryBuffer* buffer, int offset, int length,
                                           uint128 const& key, bool inPlace);
Vexel::IO::MemoryBuffer* XxteaDecryptRange(Vexel::IO::MemoryBuffer* buffer, int offset, int length,
                                           uint128 const& key, bool inPlace);

// The same over the whole buffer.
Vexel::IO::MemoryBuffer* XxteaEncrypt(Vexel::IO::MemoryBuffer* buffer, uint128 const& key, bool inPlace);
Vexel::IO::MemoryBuffer* XxteaDecrypt(Vexel::IO::MemoryBuffer* buffer, uint128 const& key, bool inPlace);
