#include "engine/display/PlatformEvents.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace Vexel
{
namespace Platform
{

namespace
{
bool IsEmpty(const char* value)
{
    return value == nullptr || *value == '\0';
}
} // namespace

void PrepareVideoDriver()
{
    if (IsEmpty(std::getenv("SDL_VIDEODRIVER")))
        setenv("SDL_VIDEODRIVER", "x11", 1);
}

bool IsDisplayMissing()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const bool x11 = IsEmpty(driver) || std::strcmp(driver, "x11") == 0;
    return x11 && IsEmpty(std::getenv("DISPLAY"));
}

int PollEvent(SDL_Event* event)
{
    const int got = SDL_PollEvent(event);
    if (got)
        TranslateEvent(event);
    return got;
}

void TranslateEvent(SDL_Event* event)
{
    if (event == nullptr || event->type != SDL_ACTIVEEVENT)
        return;
    if (event->active.state & SDL_APPACTIVE)
        event->active.state = SDL_APPACTIVE;
}

} // namespace Platform
} // namespace Vexel
