// Name lookup for the network classes. The system's lookup under SDL_net is
// not reentrant, so every lookup in the process goes through here, one at a
// time.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Network
{

// The IPv4 address of a host name or dotted text, in host byte order.
// False for an empty name, an unknown one, and the "any" and "none"
// addresses (which SDL_net would take as a request to listen).
bool ResolveHostAddress(std::string const& host, uint32_t& address);

} // namespace Network
} // namespace Vexel
