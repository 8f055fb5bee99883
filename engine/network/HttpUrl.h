// Takes an http URL apart the way the web client needs it: host, port (80
// when none is given) and the request path, which is "/?" + the query when
// there is one, else "/". A path between the host and the query is not
// sent; a fragment is dropped.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Network
{

struct HttpUrl
{
    std::string host;
    unsigned int port = 0;
    std::string path;

    static HttpUrl Parse(std::string const& url);

    // "GET <path> HTTP/1.1\r\nHost: <host>\r\n\r\n\r\n".
    std::string GetRequestText() const;

    // True for "http://host:port/" with a non-empty host, a port of 1 to
    // 65535 and nothing after the final "/": the form of a score server's
    // base URL.
    static bool IsBaseUrl(std::string const& url);
};

} // namespace Network
} // namespace Vexel
