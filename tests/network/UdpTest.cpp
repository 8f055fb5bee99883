#include "engine/core/PackedStream.h"
#include "engine/network/IPEndPoint.h"
#include "engine/network/UdpExchange.h"
#include "engine/network/UdpSocket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using Vexel::IO::IPackedStream;
using Vexel::Network::IPEndPoint;
using Vexel::Network::UdpExchange;
using Vexel::Network::UdpSocket;
using Vexel::Network::UdpSocketState;
using Vexel::Network::UdpStatus;

namespace
{
const uint32_t Loopback = 0x7F000001;

TEST(IPEndPoint, ParsesDottedText)
{
    struct Case
    {
        const char* text;
        uint32_t host;
        uint16_t port;
    };
    const Case cases[] = {
        {"127.0.0.1:12000", Loopback, 12000},
        {"10.1.2.3:0", 0x0A010203, 0},
        {"255.255.255.255:65535", 0xFFFFFFFF, 65535},
        {"127.0.0.1", 0, 0},
        {"1.2.3:4", 0, 0},
        {"1.2.3.4.5:6", 0, 0},
        {"256.0.0.1:1", 0, 0},
        {"1.2.3.4:70000", 0, 0},
        {"a.b.c.d:1", 0, 0},
    };
    for (Case const& c : cases)
    {
        const IPEndPoint point = IPEndPoint::Parse(c.text);
        EXPECT_EQ(c.host, point.GetHost()) << c.text;
        EXPECT_EQ(c.port, point.port) << c.text;
    }
    EXPECT_TRUE(IPEndPoint::Parse("127.0.0.1:5", 1).IsEmpty());
    EXPECT_EQ("127.0.0.1:12000", IPEndPoint(Loopback, 12000).ToString());
    // A resolved name lands in the same (host) order as a parsed one.
    EXPECT_EQ(IPEndPoint::Parse("127.0.0.1:99"), IPEndPoint::FromHost("127.0.0.1", 99));
    EXPECT_EQ(Loopback, IPEndPoint::FromHost("localhost", 1).GetHost());
    EXPECT_TRUE(IPEndPoint::FromHost("", 7).IsEmpty() == false && IPEndPoint::FromHost("", 7).GetHost() == 0);
}

// Waits for one datagram on a socket.
UdpStatus::Enum ReceiveOne(UdpSocket& socket, uint8_t* buffer, int capacity, int& length, IPEndPoint& sender)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    UdpStatus::Enum status = UdpStatus::NothingReceived;
    while (status == UdpStatus::NothingReceived && std::chrono::steady_clock::now() < deadline)
    {
        socket.WaitForData(50);
        status = socket.Receive(buffer, capacity, length, sender);
    }
    return status;
}

TEST(UdpSocket, CutsALargeDatagramAndReportsTheSenderInHostOrder)
{
    UdpSocket receiver(IPEndPoint(0, 0));
    UdpSocket sender(IPEndPoint(0, 0));
    ASSERT_TRUE(receiver.IsOpen());
    ASSERT_TRUE(sender.IsOpen());
    const IPEndPoint destination(Loopback, receiver.GetBoundPort());

    std::vector<uint8_t> big(5000);
    for (size_t i = 0; i < big.size(); i++)
        big[i] = uint8_t(i * 7);
    ASSERT_EQ(UdpStatus::Done, sender.Send(destination, big.data(), int(big.size())));

    std::vector<uint8_t> buffer(4096);
    int length = 0;
    IPEndPoint from;
    EXPECT_EQ(UdpStatus::Truncated, ReceiveOne(receiver, buffer.data(), 4096, length, from));
    EXPECT_EQ(UdpStatus::Truncated, receiver.GetLastStatus());
    EXPECT_EQ(4096, length);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), big.begin()));
    EXPECT_EQ(Loopback, from.GetHost());
    EXPECT_EQ(sender.GetBoundPort(), from.port);

    ASSERT_EQ(UdpStatus::Done, sender.Send(destination, big.data(), 100));
    EXPECT_EQ(UdpStatus::Done, ReceiveOne(receiver, buffer.data(), 4096, length, from));
    EXPECT_EQ(100, length);
    EXPECT_EQ(UdpStatus::NothingReceived, receiver.Receive(buffer.data(), 4096, length, from));
}

TEST(UdpSocket, FailedBindRefusesToSend)
{
    UdpSocket first(IPEndPoint(0, 0));
    ASSERT_TRUE(first.IsOpen());
    UdpSocket second(IPEndPoint(0, first.GetBoundPort())); // the port is taken
    EXPECT_EQ(UdpSocketState::BindFailed, second.GetState());
    EXPECT_FALSE(second.IsOpen());
    const uint8_t byte = 1;
    EXPECT_EQ(UdpStatus::NotOpen, second.Send(IPEndPoint(Loopback, first.GetBoundPort()), &byte, 1));
    int length;
    IPEndPoint from;
    uint8_t buffer[4];
    EXPECT_EQ(UdpStatus::NotOpen, second.Receive(buffer, 4, length, from));
    EXPECT_EQ(UdpStatus::Done, first.Close());
    EXPECT_EQ(UdpStatus::NotOpen, first.Send(IPEndPoint(Loopback, 9), &byte, 1));
}

// Records deliveries; each waits until a second one runs beside it (or a
// while has passed), so that the cap is what limits them.
class Deliveries
{
public:
    void OnReceived(IPEndPoint sender, IPackedStream* stream)
    {
        std::unique_lock<std::mutex> lock(mutex);
        running++;
        peak = std::max(peak, running);
        order.push_back(stream->GetLength() > 0 ? stream->GetData()[0] : -1);
        capacities.push_back(stream->GetCapacity());
        senders.push_back(sender);
        changed.notify_all();
        if (pairUp)
            changed.wait_for(lock, std::chrono::seconds(10),
                             [this] { return running >= 2 || order.size() >= 5; });
        running--;
        changed.notify_all();
        delete stream;
    }

    bool WaitFor(size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20),
                                [&] { return order.size() >= count && running == 0; });
    }

    bool pairUp = true; // hold each delivery until a second one runs beside it
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    int peak = 0;
    std::vector<int> order;
    std::vector<int> capacities;
    std::vector<IPEndPoint> senders;
};

TEST(UdpExchange, AtMostTwoDeliveriesAtOnceAllDelivered)
{
    Deliveries deliveries;
    {
        UdpExchange exchange(IPEndPoint(0, 0), 0, 2);
        exchange.Received.Subscribe(
            Vexel::Action<IPEndPoint, IPackedStream*>(&deliveries, &Deliveries::OnReceived));
        ASSERT_TRUE(exchange.Start());
        UdpExchange sender(IPEndPoint(0, 0), 0);
        for (int i = 0; i < 5; i++)
        {
            Vexel::IO::ExpandablePackedStream stream(100);
            std::vector<uint8_t> bytes(100, uint8_t(i));
            stream.CopyFrom(bytes.data(), 0, 100);
            ASSERT_TRUE(sender.Send(IPEndPoint(Loopback, exchange.GetBoundPort()), &stream));
        }
        ASSERT_TRUE(deliveries.WaitFor(5));
        exchange.Stop();
    }
    EXPECT_EQ(2, deliveries.peak);
    std::vector<int> sorted = deliveries.order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), sorted);
    for (int capacity : deliveries.capacities)
        EXPECT_GE(capacity, 640);
    for (IPEndPoint const& sender : deliveries.senders)
        EXPECT_EQ(Loopback, sender.GetHost());
}

TEST(UdpExchange, DirectDeliveryOnTheReceiveThread)
{
    Deliveries deliveries;
    deliveries.pairUp = false;
    UdpExchange exchange(IPEndPoint(0, 0), 0, -3); // negative: no pool, deliveries one by one
    exchange.Received.Subscribe(
        Vexel::Action<IPEndPoint, IPackedStream*>(&deliveries, &Deliveries::OnReceived));
    ASSERT_TRUE(exchange.Start());
    EXPECT_TRUE(exchange.Start()); // a second start is harmless
    UdpSocket sender(IPEndPoint(0, 0));
    for (int i = 0; i < 5; i++)
    {
        const uint8_t byte = uint8_t(i);
        ASSERT_EQ(UdpStatus::Done, sender.Send(IPEndPoint(Loopback, exchange.GetBoundPort()), &byte, 1));
    }
    ASSERT_TRUE(deliveries.WaitFor(5));
    exchange.Stop();
    EXPECT_EQ(1, deliveries.peak);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), deliveries.order);
}

} // namespace
