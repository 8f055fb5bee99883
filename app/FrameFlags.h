// What one frame step does, from the active state before and now.
#pragma once

namespace Vexel
{
namespace App
{

struct FrameFlags
{
    bool activateFrame; // an extra animate phase: the application just became active
    bool draw;          // update and draw phases, and the buffer swap
    bool animate;       // the animate phase after the swap

    // While inactive nothing runs, except one last drawn frame (without its
    // animate phase) on the first step after the change.
    static FrameFlags From(bool wasActive, bool active, bool runWhileInactive)
    {
        FrameFlags flags;
        flags.activateFrame = !wasActive && active && !runWhileInactive;
        flags.draw = wasActive || active || runWhileInactive;
        flags.animate = active || runWhileInactive;
        return flags;
    }
};

} // namespace App
} // namespace Vexel
