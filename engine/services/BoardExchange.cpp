#include "engine/services/BoardExchange.h"

#include "engine/core/ConcurrentDictionary.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Log.h"
#include "engine/core/Mutex.h"
#include "engine/core/Thread.h"
#include "engine/network/HttpUrl.h"
#include "engine/network/WebClient.h"
#include "engine/services/BoardProtocol.h"
#include "engine/services/BoardTask.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace Vexel
{
namespace Services
{

namespace
{
const char DefaultServerUrl[] = "http://127.0.0.1:12000/";
const int IdleWaitMs = 100;

struct QueuedRequest
{
    BoardTask* board;
    IO::IPackedStream* stream;
};

using FinishedMap = Threading::ConcurrentDictionary<uint64_t, BoardTask*>;
} // namespace

class BoardExchange::Impl
{
public:
    Impl() : worker(Action<Threading::ThreadContext const&>(this, &Impl::Run)) {}

    void Run(Threading::ThreadContext const& context);
    void Send(QueuedRequest const& request, uint128& key, std::string& keyUrl);
    void DeliverLeftovers(float dt);
    static void DeliverAll(FinishedMap& map);

    // Configuration.
    std::mutex configMutex;
    std::string serverUrl = DefaultServerUrl;
    bool online = true;

    // The queue and the worker's wake-up.
    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<QueuedRequest> queue;

    FinishedMap finished;
    FinishedMap leftovers; // answered with status 2 on the next frame
    Network::WebClient client;
    std::atomic<bool> stopping{false};
    std::atomic<uint64_t> nextSequence{1};

    Threading::Mutex usersMutex;
    int users = 0;
    std::mutex lifecycleMutex; // starting and stopping the worker
    std::atomic<bool> cleanupSubscribed{false};
    Threading::Thread worker;
};

void BoardExchange::Impl::Run(Threading::ThreadContext const& context)
{
    uint128 key;
    std::string keyUrl; // the URL the key was made from
    while (!context.IsStopRequested() && !stopping)
    {
        QueuedRequest request{nullptr, nullptr};
        {
            std::unique_lock<std::mutex> lock(queueMutex);
            if (queue.empty())
            {
                queueChanged.wait_for(lock, std::chrono::milliseconds(IdleWaitMs));
                continue;
            }
            request = queue.front();
            queue.pop_front();
        }
        Send(request, key, keyUrl);
        delete request.stream;
        // The main thread delivers it, or deletes it when its task is gone.
        finished.Set(request.board->GetSequence(), request.board);
    }
}

void BoardExchange::Impl::Send(QueuedRequest const& request, uint128& key, std::string& keyUrl)
{
    const int32_t status = request.board->GetStatus();
    if (status == BoardStatus::Cancelled || status == BoardStatus::Destroyed)
        return; // never sent

    std::string baseUrl;
    bool isOnline;
    {
        std::lock_guard<std::mutex> lock(configMutex);
        baseUrl = serverUrl;
        isOnline = online;
    }
    if (!isOnline)
    {
        request.board->Complete(BoardStatus::DownloadFailed, nullptr);
        return;
    }
    if (baseUrl != keyUrl)
    {
        keyUrl = baseUrl;
        key = BoardProtocol::KeyForUrl(keyUrl);
    }

    const std::string url = BoardProtocol::RequestUrl(baseUrl, request.stream, key);
    IO::MemoryBuffer* body = nullptr;
    const Network::WebResponse::Enum result = client.Download(url, body, &stopping);
    if (result != Network::WebResponse::Complete)
    {
        Log::Verbose("leaderboard", "request %llu: download ended with %d",
                     (unsigned long long)request.board->GetSequence(), int(result));
        request.board->Complete(BoardStatus::DownloadFailed, nullptr);
    }
    else
    {
        const Leaderboard::response_t response =
            BoardProtocol::DecodeReply(body, key, request.board->GetResultSchema());
        request.board->Complete(response.status, response.rows);
    }
    delete body;
}

void BoardExchange::Impl::DeliverAll(FinishedMap& map)
{
    std::vector<uint64_t> keys;
    map.CopyKeysTo(keys);
    // In request order: sequence numbers grow.
    std::sort(keys.begin(), keys.end());
    for (uint64_t key : keys)
    {
        BoardTask* board = nullptr;
        if (!map.TryRemove(key, board) || board == nullptr)
            continue;
        board->Deliver();
        delete board;
    }
}

void BoardExchange::Impl::DeliverLeftovers(float)
{
    FrameEvents::Animating.Unsubscribe(this);
    cleanupSubscribed = false;
    DeliverAll(leftovers);
}

BoardExchange& BoardExchange::Instance()
{
    static BoardExchange exchange;
    return exchange;
}

BoardExchange::BoardExchange() : impl(new Impl()) {}

BoardExchange::~BoardExchange()
{
    // At exit with users left: stop the worker without waiting on the network.
    impl->stopping = true;
    impl->queueChanged.notify_all();
    impl->worker.Stop();
    impl->worker.Join();
    {
        std::lock_guard<std::mutex> lock(impl->queueMutex);
        for (QueuedRequest const& request : impl->queue)
        {
            delete request.stream;
            delete request.board;
        }
        impl->queue.clear();
    }
    impl->finished.Clear(true);
    impl->leftovers.Clear(true);
    delete impl;
}

void BoardExchange::AddRef()
{
    {
        Threading::ScopedLock<Threading::Mutex> lock(impl->usersMutex);
        if (impl->users++ > 0)
            return;
    }
    // No lock of ours is held while the frame event's lock is taken: its
    // handlers (a completed request's owner) may come back here.
    FrameEvents::Animating.Subscribe(Action<float>(this, &BoardExchange::DispatchFinished));
    std::lock_guard<std::mutex> lifecycle(impl->lifecycleMutex);
    impl->stopping = false;
    impl->worker.Start();
}

void BoardExchange::Release()
{
    {
        Threading::ScopedLock<Threading::Mutex> lock(impl->usersMutex);
        if (impl->users <= 0 || --impl->users > 0)
            return;
    }
    FrameEvents::Animating.Unsubscribe(this);
    std::vector<BoardTask*> left;
    {
        std::lock_guard<std::mutex> lifecycle(impl->lifecycleMutex);
        impl->stopping = true;
        impl->queueChanged.notify_all();
        impl->worker.Stop();
        impl->worker.Join();
        impl->stopping = false;

        // Whatever is left is answered "cancelled" on the next frame.
        {
            std::lock_guard<std::mutex> queueLock(impl->queueMutex);
            for (QueuedRequest const& request : impl->queue)
            {
                delete request.stream;
                left.push_back(request.board);
            }
            impl->queue.clear();
        }
        std::vector<uint64_t> keys;
        impl->finished.CopyKeysTo(keys);
        for (uint64_t key : keys)
        {
            BoardTask* board = nullptr;
            if (impl->finished.TryRemove(key, board) && board)
                left.push_back(board);
        }
    }
    for (BoardTask* board : left)
    {
        board->Complete(BoardStatus::Cancelled, nullptr);
        if (board->GetTask() == nullptr)
        {
            delete board; // nobody is waiting for it
            continue;
        }
        impl->leftovers.Set(board->GetSequence(), board);
    }
    if (impl->leftovers.Count() > 0 && !impl->cleanupSubscribed.exchange(true))
        FrameEvents::Animating.Subscribe(Action<float>(impl, &Impl::DeliverLeftovers));
}

int BoardExchange::GetUserCount()
{
    Threading::ScopedLock<Threading::Mutex> lock(impl->usersMutex);
    return impl->users;
}

Leaderboard::ResponseTask* BoardExchange::Enqueue(IO::IPackedStream* request, std::string const& resultSchema)
{
    BoardTask* board = new BoardTask(resultSchema, impl->nextSequence++);
    Leaderboard::ResponseTask* task = board->GetTask();
    {
        std::lock_guard<std::mutex> lock(impl->queueMutex);
        impl->queue.push_back(QueuedRequest{board, request});
    }
    impl->queueChanged.notify_one();
    return task;
}

void BoardExchange::DispatchFinished(float)
{
    Impl::DeliverAll(impl->finished);
}

bool BoardExchange::SetServerUrl(std::string const& baseUrl)
{
    const bool valid = Network::HttpUrl::IsBaseUrl(baseUrl);
    if (!valid)
        Log::Error("leaderboard", "score server \"%s\" is not of the form http://host:port/; playing offline",
                   baseUrl.c_str());
    std::lock_guard<std::mutex> lock(impl->configMutex);
    impl->online = valid;
    if (valid)
        impl->serverUrl = baseUrl;
    return valid;
}

std::string BoardExchange::GetServerUrl()
{
    std::lock_guard<std::mutex> lock(impl->configMutex);
    return impl->serverUrl;
}

bool BoardExchange::IsOnline()
{
    std::lock_guard<std::mutex> lock(impl->configMutex);
    return impl->online;
}

void BoardExchange::SetTimeLimit(int milliseconds)
{
    impl->client.SetTimeLimit(milliseconds);
}

int BoardExchange::GetQueuedCount()
{
    std::lock_guard<std::mutex> lock(impl->queueMutex);
    return int(impl->queue.size());
}

int BoardExchange::GetFinishedCount()
{
    return int(impl->finished.Count());
}

int BoardExchange::GetLeftoverCount()
{
    return int(impl->leftovers.Count());
}

} // namespace Services
} // namespace Vexel
