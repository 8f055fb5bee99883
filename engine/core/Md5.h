// MD5 message digest (RFC 1321). The leaderboard derives its XXTEA key from
// one; nothing here is meant for security beyond that.
#pragma once

#include "engine/core/WideValues.h"

#include <cstdint>

class Md5
{
public:
    Md5() { Init(); }

    // Starts a new message; also resets a finished context.
    void Init();
    // Adds length bytes; a null pointer or a length below 1 adds nothing.
    void Update(const uint8_t* data, int length);
    void Update(const char* data, int length) { Update(reinterpret_cast<const uint8_t*>(data), length); }
    // Pads the message and fixes the digest; Update after it needs Init.
    void Final();

    // The 16 digest bytes, valid after Final.
    const uint8_t* Digest() const { return digest; }
    // Digest bytes 4k..4k+3 as the little-endian word k.
    uint128 DigestValue() const;

    // The digest of length bytes; the zero value for a null pointer or a
    // negative length.
    static uint128 ComputeHash(const char* data, int length);

private:
    void Transform(const uint8_t block[64]);

    uint32_t state[4];
    uint64_t bitCount;
    uint8_t buffer[64];
    uint8_t digest[16];
};
