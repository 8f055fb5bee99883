// The two interfaces through which the application shell drives the UI: the
// per-frame phases and the input. The UI manager hands both out from its
// Initialize; the shell never owns or deletes them.
#pragma once

#include "engine/core/Vector3.h"
#include "engine/ui/TouchPoint.h"

namespace Vexel
{
namespace UI
{
namespace Internal
{

class Events
{
public:
    // Orientation step, Animating event, layout and transitions, removals.
    virtual void Animate(float dt) = 0;
    // Updating event, then every tree's update.
    virtual void Update(float dt) = 0;
    // Clear, BeforeDraw, every tree, AfterDraw.
    virtual void Draw() = 0;

protected:
    ~Events() = default;
};

class Input
{
public:
    // Offers a new touch to the roots from the top-most down; true when some
    // root decided it (taken by an element or swallowed).
    virtual bool TouchDown(int id, TouchPoint point) = 0;
    virtual void TouchMove(int id, TouchPoint point) = 0;
    virtual void TouchUp(int id, TouchPoint point) = 0;
    // The filtered tilt, already turned by the UI rotation.
    virtual void Tilt(Vector3 tilt) = 0;

protected:
    ~Input() = default;
};

} // namespace Internal
} // namespace UI
} // namespace Vexel
