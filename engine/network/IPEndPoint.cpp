#include "engine/network/IPEndPoint.h"

#include "engine/core/StringUtil.h"
#include "engine/network/HostResolver.h"

#include <cstdio>
#include <vector>

namespace Vexel
{
namespace Network
{

namespace
{
// A decimal number of at most maxDigits digits and nothing else, or -1.
long ParsePart(std::string const& text, size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return -1;
    long value = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}
} // namespace

IPEndPoint IPEndPoint::FromHost(std::string const& hostName, uint16_t port)
{
    uint32_t host = 0;
    if (hostName.empty() || !ResolveHostAddress(hostName, host))
        return IPEndPoint(0, port);
    return IPEndPoint(host, port);
}

IPEndPoint IPEndPoint::Parse(std::string const& text, int mode)
{
    if (mode == 1)
        return IPEndPoint();
    std::vector<std::string> parts;
    StringUtil::Split(text, '.', parts);
    if (parts.size() != 4)
        return IPEndPoint();
    const size_t colon = parts[3].find(':');
    if (colon == std::string::npos)
        return IPEndPoint();
    const std::string portText = parts[3].substr(colon + 1);
    parts[3] = parts[3].substr(0, colon);

    uint32_t host = 0;
    for (std::string const& part : parts)
    {
        const long value = ParsePart(part, 3);
        if (value < 0 || value > 255)
            return IPEndPoint();
        host = (host << 8) | uint32_t(value);
    }
    const long port = ParsePart(portText, 5);
    if (port < 0 || port > 65535)
        return IPEndPoint();
    return IPEndPoint(host, uint16_t(port));
}

std::string IPEndPoint::ToString() const
{
    char text[32];
    const uint32_t host = GetHost();
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u:%u", host >> 24, (host >> 16) & 255, (host >> 8) & 255,
                  host & 255, unsigned(port));
    return text;
}

} // namespace Network
} // namespace Vexel
