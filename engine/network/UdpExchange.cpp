#include "engine/network/UdpExchange.h"

#include "engine/core/Log.h"
#include "engine/core/Mutex.h"
#include "engine/core/Thread.h"
#include "engine/core/ThreadPool.h"
#include "engine/network/UdpSocket.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace Vexel
{
namespace Network
{

namespace
{
const int ReceiveBufferSize = UdpSocket::PacketSize;
const int SmallestStream = 640;
const int IdleWaitMs = 100;

struct Datagram
{
    IPEndPoint sender;
    IO::IPackedStream* stream;
};
} // namespace

class UdpExchange::Impl
{
public:
    Impl(UdpExchange* owner, IPEndPoint const& local, int maxDeliveries)
        : owner(owner), thread(Action<Threading::ThreadContext const&>(this, &Impl::ReceiveLoop)),
          socket(local), maxDeliveries(maxDeliveries > 0 ? maxDeliveries : 0)
    {
    }

    void ReceiveLoop(Threading::ThreadContext const& context);
    void DeliveryStep();
    void QueueStep(); // under queueMutex
    void WaitForDeliveries();

    UdpExchange* owner;
    Threading::Thread thread;
    UdpSocket socket;
    int maxDeliveries;
    Threading::Mutex socketMutex; // sending, starting and stopping

    std::mutex queueMutex;
    std::condition_variable stepsDone;
    std::deque<Datagram> queue;
    int deliveries = 0;  // handlers running
    int stepsQueued = 0; // delivery steps on the pool, not yet begun
};

void UdpExchange::Impl::ReceiveLoop(Threading::ThreadContext const& context)
{
    std::vector<uint8_t> buffer(ReceiveBufferSize);
    while (!context.IsStopRequested())
    {
        int length = 0;
        IPEndPoint sender;
        const UdpStatus::Enum status = socket.Receive(buffer.data(), ReceiveBufferSize, length, sender);
        if (status == UdpStatus::Truncated)
            Log::Warning("network", "a datagram from %s is larger than %d bytes; dropped",
                         sender.ToString().c_str(), ReceiveBufferSize);
        if (status == UdpStatus::NothingReceived)
        {
            socket.WaitForData(IdleWaitMs);
            continue;
        }
        if (status != UdpStatus::Done)
        {
            if (status != UdpStatus::Truncated)
                Threading::Thread::Sleep(IdleWaitMs);
            continue;
        }

        const int size = std::max(length, SmallestStream);
        IO::IPackedStream* stream =
            owner->StreamAllocator.IsBound() ? owner->StreamAllocator.Invoke(size) : nullptr;
        if (stream == nullptr)
            stream = new IO::ExpandablePackedStream(size);
        stream->CopyFrom(buffer.data(), 0, length);

        if (maxDeliveries == 0)
        {
            owner->Received.Raise(sender, stream);
            continue;
        }
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.push_back(Datagram{sender, stream});
        if (deliveries + stepsQueued < maxDeliveries)
            QueueStep();
    }
}

void UdpExchange::Impl::QueueStep()
{
    stepsQueued++;
    Threading::ThreadPool::QueueWorkItem(Action<>(this, &Impl::DeliveryStep));
}

void UdpExchange::Impl::DeliveryStep()
{
    Datagram datagram{};
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        stepsQueued--;
        if (deliveries >= maxDeliveries || queue.empty())
        {
            stepsDone.notify_all();
            return;
        }
        datagram = queue.front();
        queue.pop_front();
        deliveries++;
    }
    owner->Received.Raise(datagram.sender, datagram.stream);
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        deliveries--;
        if (!queue.empty() && deliveries + stepsQueued < maxDeliveries)
            QueueStep();
        stepsDone.notify_all();
    }
}

void UdpExchange::Impl::WaitForDeliveries()
{
    std::unique_lock<std::mutex> lock(queueMutex);
    // Steps the pool dropped at shutdown never run: stop waiting for them then.
    while ((deliveries > 0 || stepsQueued > 0) && !Threading::ThreadPool::IsShutDown())
        stepsDone.wait_for(lock, std::chrono::milliseconds(IdleWaitMs));
    for (Datagram const& datagram : queue)
        delete datagram.stream;
    queue.clear();
}

UdpExchange::UdpExchange(IPEndPoint const& local, uint16_t port, int maxConcurrentDeliveries)
    : impl(new Impl(this, IPEndPoint(local.GetHost(), port), maxConcurrentDeliveries))
{
}

UdpExchange::UdpExchange(IPEndPoint const& local, int maxConcurrentDeliveries)
    : impl(new Impl(this, local, maxConcurrentDeliveries))
{
}

UdpExchange::~UdpExchange()
{
    Stop();
    impl->WaitForDeliveries();
    delete impl;
}

bool UdpExchange::Start()
{
    Threading::ScopedLock<Threading::Mutex> lock(impl->socketMutex);
    if (impl->socket.IsOpen() && !impl->thread.IsRunning())
        impl->thread.Start();
    return impl->socket.IsOpen();
}

void UdpExchange::Stop()
{
    impl->thread.Stop();
    impl->thread.Join();
}

bool UdpExchange::Send(IPEndPoint const& destination, IO::IPackedStream* stream)
{
    if (stream == nullptr)
        return false;
    Threading::ScopedLock<Threading::Mutex> lock(impl->socketMutex);
    return impl->socket.Send(destination, stream->GetData(), stream->GetLength()) == UdpStatus::Done;
}

uint16_t UdpExchange::GetBoundPort() const
{
    return impl->socket.GetBoundPort();
}

} // namespace Network
} // namespace Vexel
