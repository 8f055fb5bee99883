#include "app/App.h"

#include "app/EventLoop.h"
#include "engine/core/Log.h"
#include "engine/core/AppEvents.h"

namespace Vexel
{
namespace App
{

namespace
{
bool active = true;
EventLoop* attachedLoop = nullptr;
} // namespace

bool IsActive()
{
    return active;
}

void OnActivated()
{
    const bool was = active;
    active = true;
    if (!was)
    {
        Vexel::Log::Verbose("shell", "resume");
        AppEvents::Resume().Raise();
    }
}

void OnDeactivated()
{
    const bool was = active;
    active = false;
    if (was)
    {
        Vexel::Log::Verbose("shell", "pause");
        AppEvents::Pause().Raise();
    }
}

void SetEventLoop(EventLoop* loop)
{
    attachedLoop = loop;
}

EventLoop* GetEventLoop()
{
    return attachedLoop;
}

void RunEventLoop()
{
    if (attachedLoop)
        attachedLoop->Run();
}

void StepFrame(bool redraw)
{
    if (attachedLoop)
        attachedLoop->StepFrame(redraw);
}

Vector2 ScreenToUIOffset()
{
    return attachedLoop ? attachedLoop->ScreenToUIOffset() : Vector2();
}

} // namespace App

} // namespace Vexel
