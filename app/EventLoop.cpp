#include "app/EventLoop.h"

#include "app/App.h"
#include "app/EventScript.h"
#include "app/FrameFlags.h"
#include "engine/core/Log.h"
#include "app/TiltFilter.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Thread.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/ui/ITextInputInterface.h"
#include "engine/ui/KeyTranslation.h"
#include "engine/ui/TextInputRegistry.h"
#include "engine/ui/UIManager.h"

#include <vector>

namespace Vexel
{
namespace App
{

namespace GL = Graphics::GL;

const float EventLoop::kFrameTime = 1.0f / 30.0f;
const float EventLoop::kTapDistance = 27.0f;

namespace
{
const int kEscapeSymbol = 27;
const int kBackspace = 8;
const int kEnter = 13;
const float kAxisScale = 32768.0f;
} // namespace

struct EventLoop::Impl
{
    UI::Internal::Events* events;
    UI::Internal::Input* input;
    IFrameHost* host;
    IEventQueue* queue;
    IPassClock* clock;
    EventScript* script = nullptr;

    bool quit = false;
    bool redraw = false;
    std::map<int, TouchRecord> touches; // by SDL finger number
    Vector3 rawTilt;
    TiltFilter tilt;
    FrameClock frameClock;
    bool wasActive = true;
    int frameCount = 0;

    Impl(UI::Internal::Events* events, UI::Internal::Input* input, IFrameHost* host, IEventQueue* queue,
         IPassClock* clock)
        : events(events), input(input), host(host), queue(queue), clock(clock)
    {
    }

    static bool RunsNow() { return IsActive() || GetAppSettings()->runWhileInactive; }

    Vector2 ToUI(int x, int y) const { return Vector2(float(x), float(y)) - Offset(); }

    Vector2 Offset() const
    {
        const int width = host ? host->GetSurfaceWidth() : 0;
        const int height = host ? host->GetSurfaceHeight() : 0;
        return Vector2(float(width) / 2.0f, float(height) / 2.0f) - UI::UIManager::GetUISize() * 0.5f;
    }

    void OnActiveEvent(SDL_ActiveEvent const& active)
    {
        if (active.state != SDL_APPACTIVE)
            return;
        if (active.gain == 0)
            OnDeactivated();
        else if (active.gain == 1)
            OnActivated();
    }

    void OnKeyDown(SDL_KeyboardEvent const& key)
    {
        const int symbol = int(key.keysym.sym);
        if (symbol == kEscapeSymbol)
        {
            Vexel::Log::Verbose("shell", "back key");
            BackKeyPressed.Raise();
            return;
        }
        UI::ITextInputInterface* focused = UI::GetFocusedTextInput();
        if (!focused)
            return;
        const int character = UI::TranslateKey(symbol, int(key.keysym.mod));
        if (IsTextCharacter(character))
            focused->HandleKey(static_cast<unsigned char>(character));
    }

    void OnButtonDown(SDL_MouseButtonEvent const& button, uint32_t now)
    {
        const int finger = button.which;
        auto found = touches.find(finger);
        if (found != touches.end() && found->second.down)
            return;
        const Vector2 position = ToUI(button.x, button.y);
        if (found == touches.end())
        {
            // A new record has no earlier release to count on from.
            found = touches.emplace(finger, TouchRecord(now)).first;
            found->second.point.tapCount = 1;
        }
        else
        {
            found->second.point.tapCount = NextTapCount(found->second, position, now);
        }
        TouchRecord& record = found->second;
        record.point.position = position;
        record.point.previousPosition = position;
        if (RunsNow())
        {
            Vexel::Log::Verbose("shell", "touch down %d (%g, %g) taps %d", finger, position.x, position.y, record.point.tapCount);
            input->TouchDown(finger, record.point);
            record.down = true;
            record.lastActivity = now;
        }
    }

    void OnMotion(SDL_MouseMotionEvent const& motion, uint32_t now)
    {
        auto found = touches.find(motion.which);
        if (found == touches.end() || !found->second.down)
            return;
        TouchRecord& record = found->second;
        record.point.previousPosition = record.point.position;
        record.point.position = ToUI(motion.x, motion.y);
        if (RunsNow())
        {
            Vexel::Log::Verbose("shell", "touch move %d (%g, %g)", int(motion.which), record.point.position.x,
                  record.point.position.y);
            input->TouchMove(motion.which, record.point);
            record.lastActivity = now;
        }
    }

    void OnButtonUp(SDL_MouseButtonEvent const& button, uint32_t now)
    {
        auto found = touches.find(button.which);
        if (found == touches.end() || !found->second.down)
            return;
        TouchRecord& record = found->second;
        record.releaseTime = now;
        record.point.previousPosition = record.point.position;
        record.point.position = ToUI(button.x, button.y);
        if (RunsNow())
        {
            Vexel::Log::Verbose("shell", "touch up %d (%g, %g)", int(button.which), record.point.position.x,
                  record.point.position.y);
            input->TouchUp(button.which, record.point);
            record.down = false;
        }
    }

    void OnAxis(SDL_JoyAxisEvent const& axis)
    {
        Vexel::Log::Verbose("shell", "axis %d %d", int(axis.axis), int(axis.value));
        const float value = float(axis.value) / kAxisScale;
        if (axis.axis == 0)
            rawTilt.x = value;
        else if (axis.axis == 1)
            rawTilt.y = -value;
        else if (axis.axis == 2)
            rawTilt.z = value;
    }

    void DrawFrame()
    {
        events->Update(kFrameTime);
        const int width = host->GetSurfaceWidth();
        const int height = host->GetSurfaceHeight();
        GL::Viewport(0, 0, width, height);
        GL::Color4f(1.0f, 1.0f, 1.0f, 1.0f);
        GL::Enable(GL_TEXTURE_2D);
        // Whatever the frame left behind, the cache and GL agree again.
        Graphics::RenderState::SetBlendEnabled(false);
        Graphics::RenderState::SetBlendEnabled(true);
        Graphics::RenderState::SetBlendMode(Graphics::BlendMode::Additive);
        Graphics::RenderState::SetBlendMode(Graphics::BlendMode::Alpha);
        // Origin at the screen centre, y down.
        const float halfWidth = float(width / 2);
        const float halfHeight = float(height / 2);
        GL::MatrixMode(GL_PROJECTION);
        GL::LoadIdentity();
        GL::Orthof(-halfWidth, halfWidth, halfHeight, -halfHeight, -1.0f, 1.0f);
        GL::MatrixMode(GL_MODELVIEW);
        GL::LoadIdentity();
        events->Draw();
        GL::MatrixMode(GL_MODELVIEW);
        GL::LoadIdentity();
        host->Present(frameCount);
    }
};

EventLoop::EventLoop(UI::Internal::Events* events, UI::Internal::Input* input, IFrameHost* host,
                     IEventQueue* queue, IPassClock* clock)
    : impl(new Impl(events, input, host, queue, clock))
{
}

EventLoop::~EventLoop()
{
    delete impl;
}

void EventLoop::SetEventScript(EventScript* script)
{
    impl->script = script;
}

void EventLoop::Run()
{
    while (!impl->quit)
    {
        RunPass();
        Threading::Thread::Sleep(1);
    }
}

void EventLoop::RunPass()
{
    impl->redraw = false;
    impl->clock->BeginPass();
    if (impl->script)
        impl->script->PushDue(impl->frameCount + 1, *impl->queue);
    SDL_Event event;
    while (impl->queue->Poll(&event))
        HandleEvent(event, impl->clock->Milliseconds());
    DropStaleTouches(impl->clock->Milliseconds());
    StepFrame(impl->redraw);
}

void EventLoop::HandleEvent(SDL_Event const& event, uint32_t now)
{
    switch (event.type)
    {
    case SDL_ACTIVEEVENT:
        impl->OnActiveEvent(event.active);
        break;
    case SDL_KEYDOWN:
        impl->OnKeyDown(event.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
        impl->OnButtonDown(event.button, now);
        break;
    case SDL_MOUSEMOTION:
        impl->OnMotion(event.motion, now);
        break;
    case SDL_MOUSEBUTTONUP:
        impl->OnButtonUp(event.button, now);
        break;
    case SDL_JOYAXISMOTION:
        impl->OnAxis(event.jaxis);
        break;
    case SDL_QUIT:
        Vexel::Log::Verbose("shell", "quit");
        impl->quit = true;
        break;
    case SDL_VIDEOEXPOSE:
        impl->redraw = true;
        break;
    default:
        break;
    }
}

void EventLoop::DropStaleTouches(uint32_t now)
{
    std::vector<int> stale;
    for (auto const& entry : impl->touches)
    {
        TouchRecord const& record = entry.second;
        if (uint32_t(now - record.lastActivity) > kIdleTouchTimeout ||
            (!record.down && uint32_t(now - record.releaseTime) > kReleasedTouchTimeout))
            stale.push_back(entry.first);
    }
    for (int finger : stale)
    {
        auto found = impl->touches.find(finger);
        if (found->second.down)
        {
            // Delivered whatever the active state: the UI must not keep a
            // touch that will never end.
            Vexel::Log::Verbose("shell", "touch up %d (stale)", finger);
            impl->input->TouchUp(finger, found->second.point);
        }
        impl->touches.erase(found);
    }
}

bool EventLoop::StepFrame(bool redraw)
{
    return StepFrame(redraw, impl->clock->Microseconds());
}

bool EventLoop::StepFrame(bool redraw, uint32_t now)
{
    if (!impl->frameClock.Advance(now, redraw))
        return false;
    ++impl->frameCount;

    const bool active = IsActive();
    const bool runWhileInactive = GetAppSettings()->runWhileInactive;
    const FrameFlags flags = FrameFlags::From(impl->wasActive, active, runWhileInactive);
    impl->wasActive = active;

    if (flags.activateFrame)
        impl->events->Animate(kFrameTime);

    const Vector3 filtered = impl->tilt.Advance(impl->rawTilt);
    const Vector2 turned = Vector2(filtered.x, filtered.y).Rotate(UI::UIManager::GetRotation());
    if (active || runWhileInactive)
        impl->input->Tilt(Vector3(turned.x, turned.y, filtered.z));

    if (flags.draw)
    {
        impl->DrawFrame();
        if (impl->frameCount == 1)
            Vexel::Log::Verbose("shell", "first frame drawn");
        // Scripts count frames, not seconds: a slow build draws fewer.
        Vexel::Log::Verbose("shell", "frame %d drawn", impl->frameCount);
    }
    if (flags.animate)
        impl->events->Animate(kFrameTime);
    return true;
}

Vector2 EventLoop::ScreenToUIOffset() const
{
    return impl->Offset();
}

bool EventLoop::IsQuitRequested() const
{
    return impl->quit;
}

bool EventLoop::IsRedrawRequested() const
{
    return impl->redraw;
}

std::map<int, TouchRecord> const& EventLoop::GetTouches() const
{
    return impl->touches;
}

Vector3 EventLoop::GetRawTilt() const
{
    return impl->rawTilt;
}

Vector3 EventLoop::GetFilteredTilt() const
{
    return impl->tilt.GetFiltered();
}

FrameClock const& EventLoop::GetFrameClock() const
{
    return impl->frameClock;
}

int EventLoop::GetFrameCount() const
{
    return impl->frameCount;
}

int EventLoop::NextTapCount(TouchRecord const& record, Vector2 const& position, uint32_t now)
{
    const bool near = (position - record.point.previousPosition).Length() < kTapDistance;
    const bool soon = uint32_t(now - record.releaseTime) <= kTapInterval;
    return near && soon ? record.point.tapCount + 1 : 1;
}

bool EventLoop::IsTextCharacter(int character)
{
    return (character >= 32 && character <= 127) || character == kBackspace || character == kEnter;
}

} // namespace App
} // namespace Vexel
