// The leaderboard's wire format, apart from any socket or thread:
//
// Request bits, most significant first, unaligned: magic 0x3333CCCC (32),
// operation (16: 1 query, 2 submit), game key (length in 7 bits, at most 64
// characters of 8 bits), int32 board, the values by the request's record
// schema, then 1 to 32 random bits up to a whole number of 32-bit words.
// The bytes are enciphered with XXTEA in place and sent as base64 after
// "?q=" on the base URL. The key is the MD5 of the base URL's characters.
//
// Reply bits, after deciphering the whole body: magic 0xCCCC3333, int32
// length (at most the body's size), int32 status, int32 row count, then the
// rows by the result schema when the status is 1.
#pragma once

#include "engine/core/MemoryBuffer.h"
#include "engine/core/PackedStream.h"
#include "engine/core/WideValues.h"
#include "engine/services/Leaderboard.h"

#include <cstdarg>
#include <cstdint>
#include <string>

namespace Vexel
{
namespace Services
{
namespace BoardProtocol
{

const uint32_t RequestMagic = 0x3333CCCCu;
const uint32_t ReplyMagic = 0xCCCC3333u;
const int MaxKeyLength = 64;
// A reply never carries more rows than a score table keeps.
const int MaxReplyRows = 100;

struct Operation
{
    enum Enum
    {
        Query = 1,
        Submit = 2
    };
};

// A new request stream (ExpandablePackedStream), padded; the caller owns it.
IO::IPackedStream* BuildRequest(Operation::Enum operation, std::string const& gameKey, int32_t board,
                                std::string const& schema, va_list values);
IO::IPackedStream* BuildRequest(Operation::Enum operation, std::string const& gameKey, int32_t board,
                                const char* schema, ...);

// The XXTEA key of a base URL.
uint128 KeyForUrl(std::string const& baseUrl);

// Enciphers a copy of the request's bytes and returns their base64 text; ""
// when the stream is not a whole number (at least two) of 32-bit words.
std::string EncodeRequest(IO::IPackedStream* request, uint128 const& key);

// baseUrl + "?q=" + the encoded request.
std::string RequestUrl(std::string const& baseUrl, IO::IPackedStream* request, uint128 const& key);

// Deciphers the body in place and decodes it. Empty or undecipherable:
// 0xF103. Wrong magic, length past the body, a reader error, a row count
// below 0 or above min(100, remaining bits / the least bits of a row), or a
// status of 0, 2 or 3 (the client's own pending, cancelled and destroyed
// states): 0xF801. Rows only for status 1 and a count above 0; the caller
// owns them (FreeRows).
Leaderboard::response_t DecodeReply(IO::MemoryBuffer* body, uint128 const& key, std::string const& rowSchema);

// The fewest bits one record of the schema takes on the wire (strings
// empty, skips nothing).
int MinimumRecordBits(std::string const& schema);

// Frees a rows buffer decoded with the schema, with the strings in it.
void FreeRows(IO::MemoryBuffer* rows, std::string const& schema);

} // namespace BoardProtocol
} // namespace Services
} // namespace Vexel
