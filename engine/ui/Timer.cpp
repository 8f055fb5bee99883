// Frame-driven timer.
#include "engine/ui/Timer.h"

#include "engine/ui/UIManager.h"

#include <chrono>
#include <climits>

namespace Vexel
{
namespace UI
{

namespace
{
double MonotonicSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Whole intervals in the gathered time, truncated toward zero and kept in
// the int range.
int WholeIntervals(double elapsed, double interval)
{
    const double count = elapsed / interval;
    if (count >= double(INT_MAX))
        return INT_MAX;
    if (!(count > 0.0))
        return 0;
    return int(count);
}
} // namespace

struct Timer::Impl
{
    int phase;
    double interval;
    bool repeat;
    bool realTime;
    bool running = false;
    double lastClock = 0.0;
    double elapsed = 0.0;
    int fireCount = 0;
    Event<Timer*> elapsedEvent;
    // Counts stops, so that a tick can tell that a handler stopped the timer.
    unsigned stopCount = 0;
    bool destroyed = false;

    Impl(double interval, bool repeat, int phase, bool realTime)
        : phase(phase), interval(interval), repeat(repeat), realTime(realTime)
    {
    }
};

Timer::Timer(double interval, bool repeat, bool startNow, int phase, bool realTime)
    : impl(std::make_shared<Impl>(interval, repeat, phase, realTime)), Elapsed(impl->elapsedEvent)
{
    Reset();
    if (startNow)
        Start();
}

Timer::~Timer()
{
    Stop();
    impl->destroyed = true;
}

void Timer::Start()
{
    if (impl->running)
        return;
    impl->elapsed = 0.0;
    impl->running = true;
    if (impl->realTime)
        impl->lastClock = MonotonicSeconds();
    const Action<float> tick(this, &Timer::Tick);
    if (impl->phase == TimerPhase::Animate)
        UIManager::Animating.Subscribe(tick);
    else
        UIManager::Updating.Subscribe(tick);
}

void Timer::Stop()
{
    if (!impl->running)
        return;
    impl->running = false;
    ++impl->stopCount;
    UIManager::Updating.Unsubscribe(this);
    UIManager::Animating.Unsubscribe(this);
}

void Timer::Reset()
{
    Stop();
    impl->lastClock = 0.0;
    impl->elapsed = 0.0;
    impl->fireCount = 0;
}

void Timer::Tick(float dt)
{
    if (!impl->running)
        return;
    // Keeps the state (and the event being raised) alive should a handler
    // delete the timer.
    const std::shared_ptr<Impl> state = impl;
    if (state->realTime)
    {
        const double now = MonotonicSeconds();
        state->elapsed += now - state->lastClock;
        state->lastClock = now;
    }
    else
        state->elapsed += dt;

    if (!(state->interval > 0.0))
        return;
    int count = WholeIntervals(state->elapsed, state->interval);
    if (count <= 0)
        return;
    if (!state->repeat)
    {
        count = 1;
        Stop();
    }
    state->elapsed -= count * state->interval;
    const unsigned stops = state->stopCount;
    for (int i = 0; i < count; ++i)
    {
        ++state->fireCount;
        state->elapsedEvent.Raise(this);
        if (state->destroyed || state->stopCount != stops)
            return;
    }
}

double Timer::GetInterval() const
{
    return impl->interval;
}
bool Timer::IsRunning() const
{
    return impl->running;
}
bool Timer::IsRepeating() const
{
    return impl->repeat;
}
bool Timer::IsRealTime() const
{
    return impl->realTime;
}
int Timer::GetPhase() const
{
    return impl->phase;
}
int Timer::GetFireCount() const
{
    return impl->fireCount;
}
double Timer::GetElapsedTime() const
{
    return impl->elapsed;
}

} // namespace UI
} // namespace Vexel
