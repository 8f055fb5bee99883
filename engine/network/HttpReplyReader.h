// The receiving side of one GET, fed with bytes as they arrive: the header
// up to the blank line (at most MaxHeaderBytes), the status line mapped to a
// WebResponse, the Content-Length, then exactly that many body bytes (at most
// MaxBodyBytes). Kept apart from the socket so that it can be tested and
// fuzzed byte by byte.
#pragma once

#include "engine/core/MemoryBuffer.h"
#include "engine/network/WebResponse.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Network
{

class HttpReplyReader
{
public:
    static const int MaxHeaderBytes = 8192;
    static const int MaxBodyBytes = 65536;

    HttpReplyReader();
    ~HttpReplyReader();
    HttpReplyReader(const HttpReplyReader&) = delete;
    HttpReplyReader& operator=(const HttpReplyReader&) = delete;

    // Takes the bytes; false once nothing more is wanted (the body is
    // complete, or the reply is finished or refused). Bytes past the body
    // are ignored.
    bool Feed(const uint8_t* data, int count);
    bool IsDone() const;

    // Incomplete until the body is complete, or the status's code.
    WebResponse::Enum GetResult() const;
    // The body so far (may be incomplete), handed to the caller; null when
    // there is none.
    IO::MemoryBuffer* TakeBody();
    // The body length the header announced (0 when none).
    int64_t GetContentLength() const;

private:
    void ParseHeader();

    std::string header;
    bool inHeader = true;
    bool done = false;
    WebResponse::Enum result = WebResponse::Incomplete;
    int64_t contentLength = 0;
    IO::MemoryBuffer* body = nullptr;
    int received = 0;
};

} // namespace Network
} // namespace Vexel
