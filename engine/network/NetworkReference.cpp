#include "engine/network/NetworkReference.h"

#include "engine/core/Log.h"
#include "engine/core/Mutex.h"

#include <SDL_net.h>

namespace Vexel
{
namespace Network
{

namespace
{
struct Shared
{
    Threading::Mutex mutex;
    int count = 0;
    bool ready = false;
};

// Never destroyed: a detached connect thread may still give its reference
// back while the process runs its exit handlers.
Shared& GetShared()
{
    static Shared* shared = new Shared;
    return *shared;
}
} // namespace

NetworkReference::NetworkReference() : ready(false)
{
    Shared& shared = GetShared();
    Threading::ScopedLock<Threading::Mutex> lock(shared.mutex);
    if (shared.count++ == 0)
    {
        shared.ready = SDLNet_Init() == 0;
        if (!shared.ready)
            Log::Error("network", "SDL_net did not start: %s", SDLNet_GetError());
    }
    ready = shared.ready;
}

NetworkReference::~NetworkReference()
{
    Shared& shared = GetShared();
    Threading::ScopedLock<Threading::Mutex> lock(shared.mutex);
    if (--shared.count == 0)
    {
        if (shared.ready)
            SDLNet_Quit();
        shared.ready = false;
    }
}

int NetworkReference::GetCount()
{
    Shared& shared = GetShared();
    Threading::ScopedLock<Threading::Mutex> lock(shared.mutex);
    return shared.count;
}

} // namespace Network
} // namespace Vexel
