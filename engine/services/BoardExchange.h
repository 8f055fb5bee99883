// The one exchange of leaderboard requests in the process: a FIFO of
// requests that its worker thread sends one after another, and a dictionary
// of finished requests that the main thread delivers once per frame (on the
// Animating frame event). The worker runs while at least one Leaderboard
// exists (AddRef/Release); the last Release stops it at once, even in the
// middle of a download, and answers what is left with status 2 on the next
// frame.
#pragma once

#include "engine/core/PackedStream.h"
#include "engine/services/Leaderboard.h"

#include <string>

namespace Vexel
{
namespace Services
{

class BoardExchange
{
public:
    // Made on first use; lives until exit.
    static BoardExchange& Instance();

    // Main thread.
    void AddRef();
    void Release();
    int GetUserCount();

    // Takes the request stream (bytes padded to whole 32-bit words) and
    // returns the task that its answer will complete.
    Leaderboard::ResponseTask* Enqueue(IO::IPackedStream* request, std::string const& resultSchema);

    // Delivers the finished requests; subscribed to the Animating frame
    // event while the exchange has users.
    void DispatchFinished(float dt);

    // Configuration, safe from any thread; a change applies to the next
    // request sent.
    bool SetServerUrl(std::string const& baseUrl);
    std::string GetServerUrl();
    bool IsOnline();
    void SetTimeLimit(int milliseconds);

    // For tests: requests waiting to be sent, answered and not yet
    // delivered, and waiting to be answered with status 2.
    int GetQueuedCount();
    int GetFinishedCount();
    int GetLeftoverCount();

    class Impl;

private:
    BoardExchange();
    ~BoardExchange();
    BoardExchange(const BoardExchange&) = delete;
    BoardExchange& operator=(const BoardExchange&) = delete;

    Impl* impl;
};

} // namespace Services
} // namespace Vexel
