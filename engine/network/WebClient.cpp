#include "engine/network/WebClient.h"

#include "engine/core/Log.h"
#include "engine/core/ThreadPool.h"
#include "engine/network/HostResolver.h"
#include "engine/network/HttpReplyReader.h"
#include "engine/network/HttpUrl.h"
#include "engine/network/NetworkReference.h"

#include <SDL_net.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Vexel
{
namespace Network
{

namespace
{
using Clock = std::chrono::steady_clock;

// Waits are cut into slices this long so that a stop flag is seen quickly.
const int WaitSliceMs = 20;
const int ReceiveBufferSize = 65536;

bool Stopped(std::atomic<bool> const* stop)
{
    return stop != nullptr && stop->load();
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// SDL_net connects blocking, with the system's own (minutes long) limit. The
// connect runs on a helper thread of its own so that the caller can give up
// at its deadline or on a stop request; a connection that comes up after
// the caller left is closed by the helper.
struct PendingConnect
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    TCPsocket socket = nullptr;
    std::string host;
    unsigned int port = 0;
};

// The name lookup happens here too: it can take as long as a connect.
void ConnectInBackground(std::shared_ptr<PendingConnect> pending)
{
    std::unique_ptr<NetworkReference> reference(new NetworkReference());
    TCPsocket socket = nullptr;
    uint32_t host = 0;
    if (pending->port > 0 && pending->port <= 65535 && ResolveHostAddress(pending->host, host))
    {
        IPaddress address{};
        SDLNet_Write32(host, &address.host);
        SDLNet_Write16(Uint16(pending->port), &address.port);
        socket = SDLNet_TCP_Open(&address);
    }
    else
    {
        Log::Verbose("network", "cannot resolve \"%s\" port %u", pending->host.c_str(), pending->port);
    }
    std::lock_guard<std::mutex> lock(pending->mutex);
    if (pending->abandoned)
    {
        if (socket)
            SDLNet_TCP_Close(socket);
    }
    else
    {
        pending->socket = socket;
    }
    // Given back before the caller can go on, so that the count it sees is settled.
    reference.reset();
    pending->done = true;
    pending->finished.notify_all();
}

TCPsocket Connect(HttpUrl const& url, Clock::time_point deadline, std::atomic<bool> const* stop)
{
    auto pending = std::make_shared<PendingConnect>();
    pending->host = url.host;
    pending->port = url.port;
    try
    {
        std::thread(ConnectInBackground, pending).detach();
    }
    catch (std::system_error const&)
    {
        return nullptr; // no thread to spare: no connection
    }
    std::unique_lock<std::mutex> lock(pending->mutex);
    while (!pending->done && !Stopped(stop) && RemainingMs(deadline) > 0)
    {
        const int slice = std::min(WaitSliceMs, RemainingMs(deadline));
        pending->finished.wait_for(lock, std::chrono::milliseconds(slice));
    }
    if (!pending->done)
    {
        pending->abandoned = true;
        return nullptr;
    }
    return pending->socket;
}

WebResponse::Enum Fetch(std::string const& url, IO::MemoryBuffer*& body, std::atomic<bool> const* stop,
                        int timeLimitMs);
} // namespace

class WebClient::Impl
{
public:
    std::atomic<int> timeLimit{DefaultTimeLimit};
};

namespace
{

// One background download: its own copy of the time limit and the URL, so
// that it does not depend on the client; deleted when its task is disposed.
class DownloadTask
{
public:
    DownloadTask(int timeLimitMs, std::string const& url) : timeLimitMs(timeLimitMs), url(url) {}

    WebClient::DownloadResult Run()
    {
        IO::MemoryBuffer* body = nullptr;
        if (cancelled)
            return WebClient::DownloadResult(WebResponse::Incomplete, nullptr);
        WebResponse::Enum result = Fetch(url, body, &cancelled, timeLimitMs);
        return WebClient::DownloadResult(result, body);
    }

    void OnDisposed(WebClient::DownloadTaskType*, WebClient::DownloadResult) { delete this; }
    void OnCancelled(WebClient::DownloadTaskType*, WebClient::DownloadResult) { cancelled = true; }

private:
    int timeLimitMs;
    std::string url;
    std::atomic<bool> cancelled{false};
};

WebResponse::Enum Fetch(std::string const& url, IO::MemoryBuffer*& body, std::atomic<bool> const* stop,
                        int timeLimitMs)
{
    body = nullptr;
    if (Stopped(stop))
        return WebResponse::Incomplete;

    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
    NetworkReference reference;
    if (!reference.IsReady())
        return WebResponse::Incomplete;

    const HttpUrl parts = HttpUrl::Parse(url);
    TCPsocket socket = Connect(parts, deadline, stop);
    if (!socket)
        return WebResponse::Incomplete;

    const std::string request = parts.GetRequestText();
    HttpReplyReader reader;
    if (SDLNet_TCP_Send(socket, request.data(), int(request.size())) == int(request.size()))
    {
        SDLNet_SocketSet set = SDLNet_AllocSocketSet(1);
        if (set)
        {
            SDLNet_TCP_AddSocket(set, socket);
            std::vector<uint8_t> buffer(ReceiveBufferSize);
            while (!reader.IsDone() && !Stopped(stop))
            {
                const int left = RemainingMs(deadline);
                if (left <= 0)
                    break;
                const int ready = SDLNet_CheckSockets(set, Uint32(std::min(WaitSliceMs, left)));
                if (ready < 0)
                    break;
                if (ready == 0 || !SDLNet_SocketReady(socket))
                    continue;
                const int received = SDLNet_TCP_Recv(socket, buffer.data(), ReceiveBufferSize);
                if (received <= 0)
                    break;
                reader.Feed(buffer.data(), received);
            }
            SDLNet_FreeSocketSet(set);
        }
    }
    SDLNet_TCP_Close(socket);
    body = reader.TakeBody();
    return reader.GetResult();
}
} // namespace

WebClient::WebClient() : impl(new Impl()) {}

WebClient::~WebClient()
{
    delete impl;
}

void WebClient::SetTimeLimit(int milliseconds)
{
    impl->timeLimit = milliseconds > 0 ? milliseconds : 0;
}

int WebClient::GetTimeLimit() const
{
    return impl->timeLimit;
}

WebResponse::Enum WebClient::Download(std::string const& url, IO::MemoryBuffer*& body,
                                      std::atomic<bool> const* stop)
{
    return Fetch(url, body, stop, impl->timeLimit);
}

WebClient::DownloadTaskType* WebClient::BeginDownload(std::string const& url)
{
    DownloadTask* download = new DownloadTask(impl->timeLimit, url);
    auto* task = new DownloadTaskType(Func<DownloadResult>(download, &DownloadTask::Run),
                                      DownloadResult(WebResponse::Incomplete, nullptr), false);
    task->Disposed.Subscribe(Action<DownloadTaskType*, DownloadResult>(download, &DownloadTask::OnDisposed));
    task->Cancelled.Subscribe(
        Action<DownloadTaskType*, DownloadResult>(download, &DownloadTask::OnCancelled));
    Threading::ThreadPool::QueueWorkItem(task->AsAction());
    return task;
}

} // namespace Network
} // namespace Vexel
