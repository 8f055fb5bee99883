#include "engine/network/HostResolver.h"

#include "engine/network/NetworkReference.h"

#include <SDL_net.h>

#include <mutex>

namespace Vexel
{
namespace Network
{

bool ResolveHostAddress(std::string const& host, uint32_t& address)
{
    static std::mutex lookup;
    address = 0;
    if (host.empty())
        return false;
    NetworkReference reference;
    if (!reference.IsReady())
        return false;
    IPaddress resolved{};
    {
        std::lock_guard<std::mutex> lock(lookup);
        if (SDLNet_ResolveHost(&resolved, host.c_str(), 0) != 0)
            return false;
    }
    if (resolved.host == INADDR_NONE || resolved.host == INADDR_ANY)
        return false;
    address = SDLNet_Read32(&resolved.host);
    return true;
}

} // namespace Network
} // namespace Vexel
