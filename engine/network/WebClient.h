// A one-shot HTTP/1.1 GET over an SDL_net TCP socket, for the leaderboard:
// an http URL with a host, an optional port and a query; a status line, a
// Content-Length and a body of exactly that length. Waits never block
// unbounded: the connect and every receive together stay within the time
// limit (10 s unless set), and a stop flag, when given, ends the wait within
// a few tens of milliseconds.
#pragma once

#include "engine/core/MemoryBuffer.h"
#include "engine/core/Task.h"
#include "engine/core/Tuple.h"
#include "engine/network/WebResponse.h"

#include <atomic>
#include <string>

namespace Vexel
{
namespace Network
{

class WebClient
{
public:
    using DownloadResult = Tuple<WebResponse::Enum, IO::MemoryBuffer*>;
    using DownloadTaskType = Threading::Task<DownloadResult>;

    static const int DefaultTimeLimit = 10000;

    WebClient();
    ~WebClient();
    WebClient(const WebClient&) = delete;
    WebClient& operator=(const WebClient&) = delete;

    // Milliseconds one GET may spend waiting on the network in total.
    void SetTimeLimit(int milliseconds);
    int GetTimeLimit() const;

    // Blocks until the GET is done. The body (possibly incomplete when the
    // result is not Complete; null when there is none) belongs to the caller.
    // A set stop flag makes it return Incomplete soon after.
    WebResponse::Enum Download(std::string const& url, IO::MemoryBuffer*& body,
                               std::atomic<bool> const* stop = nullptr);

    // The same on the global thread pool: the task's result starts as
    // (Incomplete, null) and its completed event fires on a pool worker. The
    // caller owns the task and the body; the task must not be released
    // before it has run (the pool holds it until then).
    DownloadTaskType* BeginDownload(std::string const& url);

    class Impl;

private:
    Impl* impl;
};

} // namespace Network
} // namespace Vexel
