// An IPv4 address and port, both in host byte order: the host sits in word 0
// of the address (127.0.0.1 is 0x7F000001).
#pragma once

#include "engine/core/WideValues.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Network
{

struct IPEndPoint
{
    uint128 address;
    uint16_t port = 0;

    IPEndPoint() = default;
    IPEndPoint(uint32_t host, uint16_t port) : address(host, 0, 0, 0), port(port) {}

    // Resolves the name; the "any" address with the port when it cannot be
    // resolved or is empty.
    static IPEndPoint FromHost(std::string const& hostName, uint16_t port);
    // "a.b.c.d:port"; the empty end point for any other text, or when mode is 1.
    static IPEndPoint Parse(std::string const& text, int mode = 0);

    uint32_t GetHost() const { return address[0]; }
    bool IsEmpty() const { return address[0] == 0 && port == 0; }
    std::string ToString() const;

    bool operator==(IPEndPoint const& other) const { return address == other.address && port == other.port; }
    bool operator!=(IPEndPoint const& other) const { return !(*this == other); }
};

} // namespace Network
} // namespace Vexel
