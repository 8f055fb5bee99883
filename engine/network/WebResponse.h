// How one HTTP GET ended.
#pragma once

namespace Vexel
{
namespace Network
{

struct WebResponse
{
    enum Enum
    {
        Complete = 1, // "200 OK" and the whole body
        Incomplete =
            2, // no connection, no end of header, no or zero Content-Length, cut short, too big, timed out
        UnknownStatus = 3, // none of the status texts below
        ServerError = 7,   // "500 Internal Server Error", "503 Service Unavailable"
        NotFound = 8,      // "404 Not Found"
        Unauthorized = 9   // "401 Unauthorized", "403 Forbidden"
    };
};

} // namespace Network
} // namespace Vexel
