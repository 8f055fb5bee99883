// What every program that runs the shell's window (the game, the widget
// gallery) does the same way: read the test seams from the environment, open
// the window, set the game's fixed GL state, and run the event loop on the
// window until SDL reports a quit. The seams, all off unless set:
//   COBALT_KEEP_EVENT_SCRIPT=file   scripted events (app/EventScript.h)
//   COBALT_KEEP_FIXED_STEP=1        every pass of the loop is one frame tick
//   COBALT_KEEP_SHOT=frame:path.png[,...]   screenshots (app/FrameCapture.h)
//   COBALT_KEEP_TRACE=1             progress lines on stderr (engine/core/Log.h)
//   COBALT_KEEP_TILT_SENSOR=1|0     a tilt sensor is there (or not), whatever
//                                   joystick could be opened
// Main thread only.
#pragma once

#include "app/EventScript.h"
#include "app/FrameCapture.h"
#include "engine/ui/UIManagerInterfaces.h"

namespace Vexel
{
namespace Platform
{
class GLContext;
}

namespace App
{

class ShellSession
{
public:
    // False, with the reason on stderr after "module: ", when a seam is set
    // but unusable.
    bool ReadSeams(const char* module);
    FrameCapture const& GetCapture() const { return capture; }
    // Whether the game has a tilt sensor: the joystick's own answer unless
    // the seam says otherwise.
    bool HasTiltSensor(bool joystickOpened) const;

    // The window with its GL context: double-buffered RGBA 8888, titled.
    // Null on failure, with SDL's reason left in SDL_GetError.
    static Platform::GLContext* OpenWindow(const char* title, int width, int height);

    // Blending and textures on; culling, lighting, alpha and depth tests off;
    // the frame cleared; the frame buffer's alpha channel never written.
    static void SetFixedGLState();

    // The loop on the wall clock, or one frame tick per pass with the fixed
    // step; with the event script when there is one. Attached as the loop
    // that App::RunEventLoop drives while it runs. The context is not owned.
    void RunEventLoop(UI::Internal::Events* events, UI::Internal::Input* input, Platform::GLContext* context);

private:
    EventScript script;
    bool hasScript = false;
    FrameCapture capture;
    bool fixedStep = false;
    int tiltSensorSeam = -1; // -1 unset, else 0 or 1
};

} // namespace App
} // namespace Vexel
