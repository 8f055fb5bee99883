#include "app/ShellSession.h"

#include "app/App.h"
#include "app/EventLoop.h"
#include "app/PassClock.h"
#include "app/SdlEventQueue.h"
#include "app/WindowHost.h"
#include "engine/core/Log.h"
#include "engine/graphics/GL.h"
#include "engine/display/GLContext.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace Vexel
{
namespace App
{

namespace
{
bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
} // namespace

bool ShellSession::ReadSeams(const char* module)
{
    std::string error;
    if (IsSet("COBALT_KEEP_EVENT_SCRIPT"))
    {
        const char* path = std::getenv("COBALT_KEEP_EVENT_SCRIPT");
        if (!script.Load(path, &error))
        {
            Vexel::Log::Error(module, "event script \"%s\": %s", path, error.c_str());
            return false;
        }
        hasScript = true;
    }
    if (IsSet("COBALT_KEEP_SHOT") && !capture.Parse(std::getenv("COBALT_KEEP_SHOT"), &error))
    {
        Vexel::Log::Error(module, "COBALT_KEEP_SHOT: %s", error.c_str());
        return false;
    }
    fixedStep =
        IsSet("COBALT_KEEP_FIXED_STEP") && std::strcmp(std::getenv("COBALT_KEEP_FIXED_STEP"), "1") == 0;
    if (IsSet("COBALT_KEEP_TILT_SENSOR"))
    {
        const char* value = std::getenv("COBALT_KEEP_TILT_SENSOR");
        if (std::strcmp(value, "1") != 0 && std::strcmp(value, "0") != 0)
        {
            Vexel::Log::Error(module, "COBALT_KEEP_TILT_SENSOR: \"%s\" is neither 1 nor 0", value);
            return false;
        }
        tiltSensorSeam = value[0] == '1' ? 1 : 0;
    }
    return true;
}

bool ShellSession::HasTiltSensor(bool joystickOpened) const
{
    return tiltSensorSeam < 0 ? joystickOpened : tiltSensorSeam == 1;
}

Platform::GLContext* ShellSession::OpenWindow(const char* title, int width, int height)
{
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_WM_SetCaption(title, title);
    return Platform::GLContext::CreateWindowed(width, height);
}

void ShellSession::SetFixedGLState()
{
    namespace GL = Graphics::GL;
    GL::Enable(GL_BLEND);
    GL::Enable(GL_TEXTURE_2D);
    GL::Disable(GL_CULL_FACE);
    GL::Disable(GL_LIGHTING);
    GL::Disable(GL_ALPHA_TEST);
    GL::Disable(GL_DEPTH_TEST);
    GL::Clear(GL_COLOR_BUFFER_BIT);
    GL::ColorMask(1, 1, 1, 0);
}

void ShellSession::RunEventLoop(UI::Internal::Events* events, UI::Internal::Input* input,
                                Platform::GLContext* context)
{
    SdlEventQueue queue;
    SdlPassClock wallClock;
    FixedStepClock fixedClock;
    WindowHost host(context, &capture);
    EventLoop loop(events, input, &host, &queue,
                   fixedStep ? static_cast<IPassClock*>(&fixedClock) : &wallClock);
    if (hasScript)
        loop.SetEventScript(&script);
    SetEventLoop(&loop);
    App::RunEventLoop();
    SetEventLoop(nullptr);
}

} // namespace App
} // namespace Vexel
