#include "engine/network/HttpReplyReader.h"

#include <cstring>
#include <vector>

namespace Vexel
{
namespace Network
{

namespace
{
const char HeaderEnd[] = "\r\n\r\n";

bool StartsWithNoCase(std::string const& line, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    if (line.size() < length)
        return false;
    for (size_t i = 0; i < length; i++)
    {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// Decimal digits after optional blanks; saturates rather than wrapping, so a
// huge announced length stays huge.
int64_t ParseLength(std::string const& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        i++;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++)
    {
        value = value * 10 + (text[i] - '0');
        if (value > (int64_t(1) << 40))
            return int64_t(1) << 40;
    }
    return value;
}
} // namespace

HttpReplyReader::HttpReplyReader() {}

HttpReplyReader::~HttpReplyReader()
{
    delete body;
}

bool HttpReplyReader::Feed(const uint8_t* data, int count)
{
    for (int i = 0; i < count && !done; i++)
    {
        if (inHeader)
        {
            header.push_back(char(data[i]));
            if (header.size() >= 4 && header.compare(header.size() - 4, 4, HeaderEnd) == 0)
            {
                inHeader = false;
                ParseHeader();
            }
            else if (header.size() >= size_t(MaxHeaderBytes))
            {
                // A header that never ends is not a reply.
                done = true;
            }
        }
        else if (body == nullptr)
        {
            done = true; // the body was taken already
        }
        else
        {
            body->data[received++] = data[i];
            if (received == body->size)
            {
                result = WebResponse::Complete;
                done = true;
            }
        }
    }
    return !done;
}

void HttpReplyReader::ParseHeader()
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < header.size())
    {
        size_t end = header.find('\n', start);
        if (end == std::string::npos)
            end = header.size();
        lines.push_back(header.substr(start, end - start));
        start = end + 1;
    }

    for (std::string const& line : lines)
    {
        if (StartsWithNoCase(line, "content-length"))
        {
            const size_t colon = line.find(':');
            contentLength = colon == std::string::npos ? 0 : ParseLength(line.substr(colon + 1));
        }
    }

    const std::string first = lines.empty() ? std::string() : lines[0];
    struct StatusText
    {
        const char* text;
        WebResponse::Enum result;
    };
    static const StatusText statuses[] = {
        {"200 OK", WebResponse::Incomplete},
        {"404 Not Found", WebResponse::NotFound},
        {"401 Unauthorized", WebResponse::Unauthorized},
        {"403 Forbidden", WebResponse::Unauthorized},
        {"500 Internal Server Error", WebResponse::ServerError},
        {"503 Service Unavailable", WebResponse::ServerError},
    };
    bool ok = false;
    bool known = false;
    for (StatusText const& status : statuses)
    {
        if (first.find(status.text) != std::string::npos)
        {
            known = true;
            ok = status.result == WebResponse::Incomplete;
            result = status.result;
            break;
        }
    }
    if (!known)
        result = WebResponse::UnknownStatus;

    if (!ok || contentLength <= 0 || contentLength > MaxBodyBytes)
    {
        done = true;
        return;
    }
    body = new IO::MemoryBuffer(int(contentLength));
    received = 0;
}

bool HttpReplyReader::IsDone() const
{
    return done;
}

WebResponse::Enum HttpReplyReader::GetResult() const
{
    return result;
}

IO::MemoryBuffer* HttpReplyReader::TakeBody()
{
    IO::MemoryBuffer* taken = body;
    body = nullptr;
    return taken;
}

int64_t HttpReplyReader::GetContentLength() const
{
    return contentLength;
}

} // namespace Network
} // namespace Vexel
