// The three seams of the event loop: where frames are shown, where events
// come from, and what time it is. The window, SDL's queue and SDL's clock
// implement them in the program; tests feed the loop through fakes.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace Vexel
{
namespace App
{

// The drawing surface (the video surface of the program).
class IFrameHost
{
public:
    virtual ~IFrameHost() = default;
    virtual int GetSurfaceWidth() const = 0;
    virtual int GetSurfaceHeight() const = 0;
    // Shows the frame just drawn (the buffer swap); frame counts the frame
    // steps from 1.
    virtual void Present(int frame) = 0;
};

class IEventQueue
{
public:
    virtual ~IEventQueue() = default;
    // Takes the next event; false when the queue is empty.
    virtual bool Poll(SDL_Event* event) = 0;
    // Appends an event, as the platform would have posted it; false when
    // the queue is full.
    virtual bool Push(SDL_Event const& event) = 0;
};

class IPassClock
{
public:
    virtual ~IPassClock() = default;
    // Called at the start of every pass of the loop.
    virtual void BeginPass() = 0;
    // Wrapping 32-bit clocks: touches use milliseconds, the frame step
    // microseconds.
    virtual uint32_t Milliseconds() = 0;
    virtual uint32_t Microseconds() = 0;
};

} // namespace App
} // namespace Vexel
