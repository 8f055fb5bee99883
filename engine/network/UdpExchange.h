// A datagram service: binds a UDP socket, receives on its own thread and
// hands each datagram, as a packed stream of at least 640 bytes' capacity,
// to the Received event: on the receive thread when the maximum of
// concurrent deliveries is 0, else through the global thread pool with at
// most that many deliveries running at once, started in arrival order.
// Handlers must accept any thread and own the stream they are given.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Event.h"
#include "engine/core/PackedStream.h"
#include "engine/network/IPEndPoint.h"

namespace Vexel
{
namespace Network
{

class UdpExchange
{
public:
    // Raised from several threads at once: subscribe before Start, unsubscribe
    // after Stop.
    using ReceivedEvent = OrderedEvent<IPEndPoint, IO::IPackedStream*>;

    // Binds the socket (the port overrides the end point's); the thread is
    // made but not started. A negative maximum counts as 0.
    UdpExchange(IPEndPoint const& local, uint16_t port, int maxConcurrentDeliveries);
    UdpExchange(IPEndPoint const& local, int maxConcurrentDeliveries);
    virtual ~UdpExchange(); // stops the thread, waits for running deliveries, drops queued ones
    UdpExchange(const UdpExchange&) = delete;
    UdpExchange& operator=(const UdpExchange&) = delete;

    // Starts the receive thread when the socket is open; returns whether it is.
    bool Start();
    void Stop();
    bool Send(IPEndPoint const& destination, IO::IPackedStream* stream);
    uint16_t GetBoundPort() const;

    ReceivedEvent Received;
    // Makes the stream for a datagram of the given size; a new
    // ExpandablePackedStream when unbound.
    Func<IO::IPackedStream*, int> StreamAllocator;

    class Impl;

private:
    Impl* impl;
};

} // namespace Network
} // namespace Vexel
