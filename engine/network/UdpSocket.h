// A bound SDL_net UDP socket with one receive and one send packet. Every
// operation reports a UdpStatus and keeps it as the last status. Sender
// addresses are handed out in host byte order.
#pragma once

#include "engine/network/IPEndPoint.h"

#include <cstdint>

namespace Vexel
{
namespace Network
{

struct UdpStatus
{
    enum Enum
    {
        Done = 1,
        NotOpen = 2,
        SendFailed = 5,
        ReceiveError = 6,
        Truncated = 7, // the datagram was larger than the caller's buffer
        NothingReceived = 8
    };
};

struct UdpSocketState
{
    enum Enum
    {
        Bound = 1,
        BindFailed = 3
    };
};

class UdpSocket
{
public:
    static const int PacketSize = 4096;

    // Opens the local port (0: any free port) and binds channel -1 to the
    // local end point (the empty one binds nothing in particular).
    explicit UdpSocket(IPEndPoint const& local);
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool IsOpen() const;
    UdpSocketState::Enum GetState() const;
    IPEndPoint const& GetLocalEndPoint() const;
    // The port the system actually gave (differs from the asked one for 0).
    uint16_t GetBoundPort() const;
    UdpStatus::Enum GetLastStatus() const;

    UdpStatus::Enum Close();
    // Copies at most capacity bytes of one waiting datagram; does not block.
    UdpStatus::Enum Receive(uint8_t* buffer, int capacity, int& length, IPEndPoint& sender);
    UdpStatus::Enum Send(IPEndPoint const& destination, const uint8_t* data, int length);
    // Waits at most that long for a datagram; whether one is waiting.
    bool WaitForData(int milliseconds);

    class Impl;

private:
    Impl* impl;
};

} // namespace Network
} // namespace Vexel
