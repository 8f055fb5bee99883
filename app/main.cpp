// Cobalt Keep: brings up SDL, the platform library and the GL context, shows
// the splash, starts the UI manager and the game, runs the event loop until
// SDL reports a quit, and shuts down in a fixed order.
//
// Test seams, all off unless set:
//   COBALT_KEEP_EVENT_SCRIPT=file   scripted events (app/EventScript.h)
//   COBALT_KEEP_FIXED_STEP=1        every pass of the loop is one frame tick
//   COBALT_KEEP_SHOT=frame:path.png[,...]   screenshots (app/FrameCapture.h)
//   COBALT_KEEP_TRACE=1             progress lines on stderr (app/ShellTrace.h)
#include "app/App.h"
#include "app/EventLoop.h"
#include "app/EventScript.h"
#include "app/FrameCapture.h"
#include "app/PassClock.h"
#include "app/SdlEventQueue.h"
#include "app/ShellTrace.h"
#include "app/Splash.h"
#include "app/WindowHost.h"
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Platform.h"
#include "engine/graphics/GL.h"
#include "engine/platform/GLContext.h"
#include "engine/platform/PlatformEvents.h"
#include "engine/platform/PlatformLibrary.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/GameStartup.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Vexel;

namespace
{

const Uint32 kSdlSubsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
static_assert(kSdlSubsystems == 0x231, "timer, audio, video and joystick");
// The platform SDL's context major version; stock SDL 1.2 refuses it, harmlessly.
const int kContextMajorVersionAttribute = 17;
const char* const kWindowTitle = "Cobalt Keep";

struct Seams
{
    App::EventScript script;
    bool hasScript = false;
    App::FrameCapture capture;
    bool fixedStep = false;
};

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// False, with the reason on stderr, when a seam is set but unusable.
bool ReadSeams(Seams& seams)
{
    std::string error;
    if (IsSet("COBALT_KEEP_EVENT_SCRIPT"))
    {
        const char* path = std::getenv("COBALT_KEEP_EVENT_SCRIPT");
        if (!seams.script.Load(path, &error))
        {
            std::fprintf(stderr, "shell: event script \"%s\": %s\n", path, error.c_str());
            return false;
        }
        seams.hasScript = true;
    }
    if (IsSet("COBALT_KEEP_SHOT") && !seams.capture.Parse(std::getenv("COBALT_KEEP_SHOT"), &error))
    {
        std::fprintf(stderr, "shell: COBALT_KEEP_SHOT: %s\n", error.c_str());
        return false;
    }
    seams.fixedStep =
        IsSet("COBALT_KEEP_FIXED_STEP") && std::strcmp(std::getenv("COBALT_KEEP_FIXED_STEP"), "1") == 0;
    return true;
}

void ExplainMissingDisplay()
{
    if (Platform::IsDisplayMissing())
        std::fprintf(stderr, "shell: the game needs an X display for its window, and DISPLAY is not set\n");
    else if (IsSet("DISPLAY"))
        std::fprintf(stderr, "shell: the X display \"%s\" could not be opened\n", std::getenv("DISPLAY"));
}

void SetFixedGLState()
{
    namespace GL = Graphics::GL;
    GL::Enable(GL_BLEND);
    GL::Enable(GL_TEXTURE_2D);
    GL::Disable(GL_CULL_FACE);
    GL::Disable(GL_LIGHTING);
    GL::Disable(GL_ALPHA_TEST);
    GL::Disable(GL_DEPTH_TEST);
    GL::Clear(GL_COLOR_BUFFER_BIT);
    // The frame buffer's alpha channel is never written.
    GL::ColorMask(1, 1, 1, 0);
}

// Shows in the trace that the Shutdown event really fired, and when.
struct ShutdownTrace
{
    void OnShutdown() { App::Trace("shutdown event"); }
};

} // namespace

int main(int, char**)
{
    Seams seams;
    if (!ReadSeams(seams))
        return 1;

    Platform::PrepareVideoDriver();
    if (SDL_Init(kSdlSubsystems) < 0)
    {
        std::fprintf(stderr, "Video initialization failed: %s\n", SDL_GetError());
        ExplainMissingDisplay();
        SDL_Quit();
        return 1;
    }
    PDL_Init(0);
    PDL_ScreenTimeoutEnable(0);
    SDL_GL_SetAttribute(SDL_GLattr(kContextMajorVersionAttribute), 1);

    AppSettings* settings = GetAppSettings();
    ConfigureApplication(settings);

    PDL_ScreenMetrics metrics{};
    PDL_GetScreenMetrics(&metrics);
    Platform::SetScreenMetrics(metrics.horizontalPixels, metrics.verticalPixels,
                               Vector2(float(metrics.horizontalDPI), float(metrics.verticalDPI)));

    // The accelerometer; a machine without one simply reports no tilt.
    SDL_JoystickOpen(0);

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_WM_SetCaption(kWindowTitle, kWindowTitle);
    Platform::GLContext* context =
        Platform::GLContext::CreateWindowed(metrics.horizontalPixels, metrics.verticalPixels);
    if (!context)
    {
        std::fprintf(stderr, "Video mode setting failed: %s\n", SDL_GetError());
        ExplainMissingDisplay();
        SDL_Quit();
        return 1;
    }
    App::Trace("window %d x %d, %s", context->GetWidth(), context->GetHeight(), context->GetVersion());

    SetFixedGLState();
    App::DrawSplash();
    if (seams.capture.CaptureFrame(App::FrameCapture::kSplashFrame, context->GetWidth(),
                                   context->GetHeight()) > 0)
        App::Trace("splash saved");
    context->SwapBuffers();
    App::Trace("splash shown");

    AppEvents::Startup().Raise();

    UI::Internal::Events* events = nullptr;
    UI::Internal::Input* input = nullptr;
    UI::UIManager::Initialize(settings->orientation, settings->uiFlag, settings->clearColor,
                              settings->musicEnabled, settings->soundEnabled, settings->effectVoiceCount,
                              &events, &input);
    InitializeGame();
    events->Animate(App::EventLoop::kFrameTime);
    App::Trace("game started");

    {
        App::SdlEventQueue queue;
        App::SdlPassClock wallClock;
        App::FixedStepClock fixedClock;
        App::WindowHost host(context, &seams.capture);
        App::EventLoop loop(events, input, &host, &queue,
                            seams.fixedStep ? static_cast<App::IPassClock*>(&fixedClock) : &wallClock);
        if (seams.hasScript)
            loop.SetEventScript(&seams.script);
        App::SetEventLoop(&loop);
        App::RunEventLoop();
        App::SetEventLoop(nullptr);
    }

    ShutdownTrace shutdownTrace;
    if (App::IsTraceEnabled())
        AppEvents::Shutdown().Subscribe(Action<>(&shutdownTrace, &ShutdownTrace::OnShutdown));

    PDL_Quit();
    // The EGL surface lives on SDL's X connection: it goes first, and the GL
    // seam falls back to its null table, so nothing after this reaches GL.
    delete context;
    SDL_Quit();
    ShutdownGame();
    AppEvents::Shutdown().Raise();
    AppEvents::Shutdown().Unsubscribe(&shutdownTrace);
    return 0;
}
