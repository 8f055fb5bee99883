#include "engine/network/UdpSocket.h"

#include "engine/network/NetworkReference.h"

#include <SDL_net.h>

#include <atomic>
#include <cstring>

namespace Vexel
{
namespace Network
{

namespace
{
// The receive packet holds the largest datagram there is, so that a caller's
// smaller buffer can tell a cut datagram from a whole one.
const int LargestDatagram = 65536;

IPaddress ToNetworkOrder(IPEndPoint const& endPoint)
{
    IPaddress address{};
    SDLNet_Write32(endPoint.GetHost(), &address.host);
    SDLNet_Write16(endPoint.port, &address.port);
    return address;
}

IPEndPoint ToHostOrder(IPaddress address)
{
    return IPEndPoint(SDLNet_Read32(&address.host), SDLNet_Read16(&address.port));
}
} // namespace

class UdpSocket::Impl
{
public:
    IPEndPoint local;
    bool open = false;
    UdpSocketState::Enum state = UdpSocketState::BindFailed;
    UDPsocket socket = nullptr;
    UDPpacket* receivePacket = nullptr;
    UDPpacket* sendPacket = nullptr;
    std::atomic<UdpStatus::Enum> lastStatus{UdpStatus::Done};
    NetworkReference reference;

    UdpStatus::Enum Keep(UdpStatus::Enum status)
    {
        lastStatus = status;
        return status;
    }
};

UdpSocket::UdpSocket(IPEndPoint const& local) : impl(new Impl())
{
    impl->local = local;
    impl->receivePacket = SDLNet_AllocPacket(LargestDatagram);
    impl->sendPacket = SDLNet_AllocPacket(PacketSize);
    if (!impl->reference.IsReady() || !impl->receivePacket || !impl->sendPacket)
        return;
    impl->socket = SDLNet_UDP_Open(local.port);
    if (!impl->socket)
        return; // the port is taken: bind failed
    impl->state = UdpSocketState::Bound;
    IPaddress address = ToNetworkOrder(local);
    if (SDLNet_UDP_Bind(impl->socket, -1, &address) == -1)
        impl->state = UdpSocketState::BindFailed;
    impl->open = impl->state == UdpSocketState::Bound;
}

UdpSocket::~UdpSocket()
{
    Close();
    if (impl->socket)
        SDLNet_UDP_Close(impl->socket);
    SDLNet_FreePacket(impl->receivePacket);
    SDLNet_FreePacket(impl->sendPacket);
    delete impl;
}

bool UdpSocket::IsOpen() const
{
    return impl->open;
}

UdpSocketState::Enum UdpSocket::GetState() const
{
    return impl->state;
}

IPEndPoint const& UdpSocket::GetLocalEndPoint() const
{
    return impl->local;
}

uint16_t UdpSocket::GetBoundPort() const
{
    if (!impl->socket)
        return 0;
    IPaddress* address = SDLNet_UDP_GetPeerAddress(impl->socket, -1);
    return address ? SDLNet_Read16(&address->port) : 0;
}

UdpStatus::Enum UdpSocket::GetLastStatus() const
{
    return impl->lastStatus;
}

UdpStatus::Enum UdpSocket::Close()
{
    if (impl->open && impl->socket)
    {
        SDLNet_UDP_Close(impl->socket);
        impl->socket = nullptr;
    }
    impl->open = false;
    return impl->Keep(UdpStatus::Done);
}

UdpStatus::Enum UdpSocket::Receive(uint8_t* buffer, int capacity, int& length, IPEndPoint& sender)
{
    length = 0;
    if (!impl->open)
        return impl->Keep(UdpStatus::NotOpen);
    const int received = SDLNet_UDP_Recv(impl->socket, impl->receivePacket);
    if (received == 0)
        return impl->Keep(UdpStatus::NothingReceived);
    if (received < 0)
        return impl->Keep(UdpStatus::ReceiveError);
    const int size = impl->receivePacket->len;
    length = size < capacity ? size : (capacity > 0 ? capacity : 0);
    if (buffer && length > 0)
        std::memcpy(buffer, impl->receivePacket->data, size_t(length));
    sender = ToHostOrder(impl->receivePacket->address);
    return impl->Keep(length == size ? UdpStatus::Done : UdpStatus::Truncated);
}

UdpStatus::Enum UdpSocket::Send(IPEndPoint const& destination, const uint8_t* data, int length)
{
    if (!impl->open)
        return impl->Keep(UdpStatus::NotOpen);
    if (length < 0 || (length > 0 && data == nullptr))
        return impl->Keep(UdpStatus::SendFailed);
    if (length > impl->sendPacket->maxlen)
    {
        SDLNet_ResizePacket(impl->sendPacket, length);
        if (impl->sendPacket->maxlen < length)
            return impl->Keep(UdpStatus::SendFailed);
    }
    if (length > 0)
        std::memcpy(impl->sendPacket->data, data, size_t(length));
    impl->sendPacket->len = length;
    impl->sendPacket->address = ToNetworkOrder(destination);
    return impl->Keep(SDLNet_UDP_Send(impl->socket, -1, impl->sendPacket) >= 1 ? UdpStatus::Done
                                                                               : UdpStatus::SendFailed);
}

} // namespace Network
} // namespace Vexel

namespace Vexel
{
namespace Network
{

bool UdpSocket::WaitForData(int milliseconds)
{
    if (!impl->open)
        return false;
    SDLNet_SocketSet set = SDLNet_AllocSocketSet(1);
    if (!set)
        return false;
    SDLNet_UDP_AddSocket(set, impl->socket);
    const bool ready = SDLNet_CheckSockets(set, Uint32(milliseconds > 0 ? milliseconds : 0)) > 0;
    SDLNet_FreeSocketSet(set);
    return ready;
}

} // namespace Network
} // namespace Vexel
