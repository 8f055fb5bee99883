// Fakes for the shell's seams and the UI interfaces: everything the loop
// does lands in one log, in order, as short strings.
#pragma once

#include "app/App.h"
#include "app/EventLoop.h"
#include "app/ShellInterfaces.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Platform.h"
#include "engine/ui/UIManager.h"
#include "engine/ui/UIManagerInterfaces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ShellTest
{

using Log = std::vector<std::string>;

inline std::string Format(const char* format, double a = 0, double b = 0, double c = 0, double d = 0)
{
    char text[160];
    std::snprintf(text, sizeof(text), format, a, b, c, d);
    return text;
}

class FakeEvents : public Vexel::UI::Internal::Events
{
public:
    explicit FakeEvents(Log* log) : log(log) {}
    void Animate(float) override { log->push_back("animate"); }
    void Update(float) override { log->push_back("update"); }
    void Draw() override { log->push_back("draw"); }

private:
    Log* log;
};

// Touches as "down 3 (x, y) taps n", "move 3 (x, y)", "up 3 (x, y)"; tilt
// as "tilt".
class FakeInput : public Vexel::UI::Internal::Input
{
public:
    explicit FakeInput(Log* log) : log(log) {}
    bool TouchDown(int id, Vexel::UI::TouchPoint point) override
    {
        log->push_back(
            Format("down %g (%g, %g) taps %g", id, point.position.x, point.position.y, point.tapCount));
        return true;
    }
    void TouchMove(int id, Vexel::UI::TouchPoint point) override
    {
        log->push_back(Format("move %g (%g, %g)", id, point.position.x, point.position.y));
    }
    void TouchUp(int id, Vexel::UI::TouchPoint point) override
    {
        log->push_back(Format("up %g (%g, %g)", id, point.position.x, point.position.y));
    }
    void Tilt(Vector3 tilt) override
    {
        lastTilt = tilt;
        log->push_back("tilt");
    }
    Vector3 lastTilt;

private:
    Log* log;
};

class FakeHost : public Vexel::App::IFrameHost
{
public:
    FakeHost(Log* log, int width = 320, int height = 480) : width(width), height(height), log(log) {}
    int GetSurfaceWidth() const override { return width; }
    int GetSurfaceHeight() const override { return height; }
    void Present(int frame) override { log->push_back(Format("present %g", frame)); }
    int width, height;

private:
    Log* log;
};

class FakeQueue : public Vexel::App::IEventQueue
{
public:
    bool Poll(SDL_Event* event) override
    {
        if (events.empty())
            return false;
        *event = events.front();
        events.pop_front();
        return true;
    }
    bool Push(SDL_Event const& event) override
    {
        if (int(events.size()) >= capacity)
            return false;
        events.push_back(event);
        return true;
    }
    std::deque<SDL_Event> events;
    int capacity = 128;
};

// Stands still unless moved; BeginPass moves it by step when set.
class FakeClock : public Vexel::App::IPassClock
{
public:
    void BeginPass() override { milliseconds += stepMilliseconds; }
    uint32_t Milliseconds() override { return milliseconds; }
    uint32_t Microseconds() override { return milliseconds * 1000u; }
    uint32_t milliseconds = 0;
    uint32_t stepMilliseconds = 0;
};

inline SDL_Event Button(bool down, int finger, int x, int y)
{
    SDL_Event event = SDL_Event();
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.which = Uint8(finger);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = Uint16(x);
    event.button.y = Uint16(y);
    return event;
}

inline SDL_Event Motion(int finger, int x, int y)
{
    SDL_Event event = SDL_Event();
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.which = Uint8(finger);
    event.motion.x = Uint16(x);
    event.motion.y = Uint16(y);
    return event;
}

inline SDL_Event Active(int state, int gain)
{
    SDL_Event event = SDL_Event();
    event.type = SDL_ACTIVEEVENT;
    event.active.type = SDL_ACTIVEEVENT;
    event.active.state = Uint8(state);
    event.active.gain = Uint8(gain);
    return event;
}

inline SDL_Event Key(int symbol, int modifiers = 0)
{
    SDL_Event event = SDL_Event();
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLKey(symbol);
    event.key.keysym.mod = SDLMod(modifiers);
    return event;
}

inline SDL_Event Axis(int axis, int value)
{
    SDL_Event event = SDL_Event();
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = Uint8(axis);
    event.jaxis.value = Sint16(value);
    return event;
}

inline SDL_Event Typed(int type)
{
    SDL_Event event = SDL_Event();
    event.type = Uint8(type);
    return event;
}

// A loop over fakes on a portrait 320 x 480 screen, active, with the
// process-wide state put back afterwards.
class LoopFixture : public ::testing::Test
{
protected:
    LoopFixture() : events(&log), input(&log), host(&log) {}

    void SetUp() override { ResetShellState(); }
    void TearDown() override { ResetShellState(); }

    static void ResetShellState()
    {
        Vexel::Platform::SetScreenMetrics(320, 480, Vector2(160.0f, 160.0f));
        Vexel::UI::UIManager::SetOrientation(1, 0.0f);
        Vexel::GetAppSettings()->runWhileInactive = false;
        Vexel::App::OnActivated();
    }

    Vexel::App::EventLoop& Loop()
    {
        if (!loop)
            loop.reset(new Vexel::App::EventLoop(&events, &input, &host, &queue, &clock));
        return *loop;
    }

    // Handles the event at time now (ms) and returns what reached the UI.
    Log Send(SDL_Event const& event, uint32_t now)
    {
        log.clear();
        Loop().HandleEvent(event, now);
        return log;
    }

    Log log;
    FakeEvents events;
    FakeInput input;
    FakeHost host;
    FakeQueue queue;
    FakeClock clock;
    std::unique_ptr<Vexel::App::EventLoop> loop;
};

} // namespace ShellTest
