// A timer driven by one of the UI manager's frame events: fires Elapsed once
// per whole interval, in summed frame time or in real time. A repeating timer
// that falls behind catches up in one tick and keeps the remainder; a
// one-shot timer fires once however late it is, then stops. Runs on the
// thread that raises the frame events (the main thread).
#pragma once

#include "engine/core/Event.h"

#include <memory>

namespace Vexel
{
namespace UI
{

struct TimerPhase
{
    enum Enum
    {
        Update = 0,  // driven by UIManager::Updating (any value but Animate)
        Animate = 1, // driven by UIManager::Animating
    };
};

class Timer
{
    struct Impl;
    std::shared_ptr<Impl> impl; // shared with a tick in progress

public:
    // An interval of zero or less (or NaN) never fires. Real time is read
    // from a monotonic clock.
    Timer(double interval, bool repeat, bool startNow, int phase, bool realTime);
    virtual ~Timer();

    Timer(Timer const&) = delete;
    Timer& operator=(Timer const&) = delete;

    // Subscribes to the frame event with a fresh interval; a running timer
    // keeps its time.
    void Start();
    void Stop();
    // Stops and clears the gathered time and the fire count.
    void Reset();

    // Run by the frame event. A handler that stops, restarts or destroys the
    // timer ends the firings of this tick.
    void Tick(float dt);

    double GetInterval() const;
    bool IsRunning() const;
    bool IsRepeating() const;
    bool IsRealTime() const;
    int GetPhase() const;
    int GetFireCount() const;
    // Time gathered toward the next firing, in seconds.
    double GetElapsedTime() const;

    // Fired with the timer, once per firing.
    Event<Timer*>& Elapsed;
};

} // namespace UI
} // namespace Vexel
