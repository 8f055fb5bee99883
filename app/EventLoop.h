// The core of the application shell: one pass of the event loop turns SDL
// events into per-finger touches, multi-taps, keys, tilt and the active
// state, drops stale touches, then runs the frame step, which on the fixed
// 30 Hz clock drives the UI's update, draw and animate phases. It reaches the
// window, the event queue and the clock only through its three seams, so it
// runs without a window. Main thread only.
#pragma once

#include "app/FrameClock.h"
#include "app/ShellInterfaces.h"
#include "app/TouchRecord.h"
#include "engine/core/Vector2.h"
#include "engine/core/Vector3.h"
#include "engine/ui/UIManagerInterfaces.h"

#include <map>

namespace Vexel
{
namespace App
{

class EventScript;

class EventLoop
{
public:
    // Every time step handed to the UI: the float nearest 1/30.
    static const float kFrameTime;
    // Multi-tap: closer than this many pixels to the position before the
    // last release ...
    static const float kTapDistance;
    // ... and at most this many milliseconds after that release.
    static constexpr uint32_t kTapInterval = 319;
    // A down touch without a delivered press or move for longer than this is
    // released by the shell.
    static constexpr uint32_t kIdleTouchTimeout = 4000;
    // A released finger's record goes this long after its release.
    static constexpr uint32_t kReleasedTouchTimeout = 1000;

    // None is owned; all must outlive the loop.
    EventLoop(UI::Internal::Events* events, UI::Internal::Input* input, IFrameHost* host, IEventQueue* queue,
              IPassClock* clock);
    ~EventLoop();
    EventLoop(EventLoop const&) = delete;
    EventLoop& operator=(EventLoop const&) = delete;

    // Events of a script are pushed into the queue before the pass that
    // leads to their frame (not owned; null for none).
    void SetEventScript(EventScript* script);

    // Passes with a 1 ms sleep each, until a quit has been handled.
    void Run();
    // One pass without the sleep: script events, drain, stale touches, frame
    // step.
    void RunPass();

    // The parts of a pass, with the times given.
    void HandleEvent(SDL_Event const& event, uint32_t nowMilliseconds);
    void DropStaleTouches(uint32_t nowMilliseconds);
    // True when a frame step ran (a tick was due, or redraw spent one).
    bool StepFrame(bool redraw, uint32_t nowMicroseconds);
    // The same at the clock's time.
    bool StepFrame(bool redraw);

    // (surface size / 2) - (UI size / 2).
    Vector2 ScreenToUIOffset() const;

    bool IsQuitRequested() const;
    // The pass so far received SDL_VIDEOEXPOSE.
    bool IsRedrawRequested() const;
    std::map<int, TouchRecord> const& GetTouches() const;
    Vector3 GetRawTilt() const;
    Vector3 GetFilteredTilt() const;
    FrameClock const& GetFrameClock() const;
    // Frame steps run so far; the next one is number GetFrameCount() + 1.
    int GetFrameCount() const;

    // The tap count of a press at position (UI) and time now (ms) of a
    // finger with this record: one more than the record's when the press is
    // closer than kTapDistance to the position before the last release and
    // at most kTapInterval after it, else 1.
    static int NextTapCount(TouchRecord const& record, Vector2 const& position, uint32_t now);

    // Characters that reach a focused text input: 32 to 127, Backspace (8)
    // and Enter (13).
    static bool IsTextCharacter(int character);

    struct Impl;

private:
    Impl* impl;
};

} // namespace App
} // namespace Vexel
