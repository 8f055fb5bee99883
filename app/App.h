// The application shell's process-wide face: the active state with its Pause
// and Resume edges, the back-key event, the event loop and frame step of the
// loop that main runs, and the platform call the music module makes. Main
// thread only.
#pragma once

#include "engine/core/BackKeyEvent.h"
#include "engine/core/Event.h"
#include "engine/core/Vector2.h"

namespace Vexel
{
namespace App
{

class EventLoop;

// Starts true. OnDeactivated fires AppEvents::Pause on the change from active
// to inactive, OnActivated fires AppEvents::Resume on the change back.
bool IsActive();
void OnActivated();
void OnDeactivated();

// BackKeyPressed (Escape, the platform's back gesture) is declared in
// engine/core/BackKeyEvent.h.

// The loop that RunEventLoop and StepFrame drive (not owned; null to detach).
void SetEventLoop(EventLoop* loop);
EventLoop* GetEventLoop();

// Runs passes of the attached loop until a quit arrives; at once without one.
void RunEventLoop();
// One frame step of the attached loop at the current time; redraw when the
// window was exposed.
void StepFrame(bool redraw);

// What to subtract from a window point to get UI coordinates; (0, 0) until a
// loop is attached.
Vector2 ScreenToUIOffset();

} // namespace App

} // namespace Vexel
