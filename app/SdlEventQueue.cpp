#include "app/SdlEventQueue.h"

#include "engine/display/PlatformEvents.h"

namespace Vexel
{
namespace App
{

bool SdlEventQueue::Poll(SDL_Event* event)
{
    return Platform::PollEvent(event) != 0;
}

bool SdlEventQueue::Push(SDL_Event const& event)
{
    SDL_Event copy = event; // SDL 1.2 takes a non-const pointer
    return SDL_PushEvent(&copy) == 0;
}

} // namespace App
} // namespace Vexel
