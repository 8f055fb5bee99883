// SDL's own event queue, read through the platform layer.
#pragma once

#include "app/ShellInterfaces.h"

namespace Vexel
{
namespace App
{

class SdlEventQueue : public IEventQueue
{
public:
    bool Poll(SDL_Event* event) override;
    bool Push(SDL_Event const& event) override;
};

} // namespace App
} // namespace Vexel
