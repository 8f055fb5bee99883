#include "engine/network/HttpUrl.h"

#include "engine/core/StringUtil.h"

#include <vector>

namespace Vexel
{
namespace Network
{

namespace
{
std::vector<std::string> SplitAt(std::string const& text, char delimiter)
{
    std::vector<std::string> pieces;
    StringUtil::Split(text, delimiter, pieces);
    return pieces;
}

// The text before the first delimiter, and whether there was one.
std::string Before(std::string const& text, char delimiter, std::string* after = nullptr)
{
    const size_t at = text.find(delimiter);
    if (after)
        *after = at == std::string::npos ? std::string() : text.substr(at + 1);
    return at == std::string::npos ? text : text.substr(0, at);
}
} // namespace

HttpUrl HttpUrl::Parse(std::string const& url)
{
    HttpUrl parts;

    // "http://host:port/rest" -> "host:port/rest"; pieces past a third colon are dropped.
    std::string rest = url;
    const std::vector<std::string> colonPieces = SplitAt(url, ':');
    if (colonPieces.size() >= 2 && colonPieces[0] == "http")
    {
        rest = colonPieces[1].size() >= 2 ? colonPieces[1].substr(2) : std::string();
        if (colonPieces.size() >= 3)
            rest += ":" + colonPieces[2];
    }

    rest = Before(rest, '#');

    std::string query;
    const bool hasQuery = rest.find('?') != std::string::npos;
    rest = Before(rest, '?', &query);
    parts.path = hasQuery ? "/?" + query : "/";

    std::string portText;
    const bool hasPort = rest.find(':') != std::string::npos;
    // A path right after a host without a port is not part of the host.
    parts.host = Before(Before(rest, ':', &portText), '/');
    if (!hasPort)
        portText = "80";
    parts.port = StringUtil::ParseUInt(Before(portText, '/'));
    return parts;
}

std::string HttpUrl::GetRequestText() const
{
    return "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n\r\n";
}

bool HttpUrl::IsBaseUrl(std::string const& url)
{
    const std::string scheme = "http://";
    if (url.compare(0, scheme.size(), scheme) != 0 || url.size() < scheme.size() + 4 || url.back() != '/')
        return false;
    const std::string authority = url.substr(scheme.size(), url.size() - scheme.size() - 1);
    const size_t colon = authority.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= authority.size())
        return false;
    const std::string host = authority.substr(0, colon);
    const std::string port = authority.substr(colon + 1);
    for (char c : host)
    {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '.' || c == '-' || c == '_';
        if (!allowed)
            return false;
    }
    if (port.size() > 5)
        return false;
    unsigned long value = 0;
    for (char c : port)
    {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + unsigned(c - '0');
    }
    return value >= 1 && value <= 65535;
}

} // namespace Network
} // namespace Vexel
