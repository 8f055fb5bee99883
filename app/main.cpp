// Cobalt Keep: brings up SDL, the platform library and the GL context, shows
// the splash, starts the UI manager and the game, runs the event loop until
// SDL reports a quit, and shuts down in a fixed order. The test seams are
// listed in app/ShellSession.h.
#include "app/App.h"
#include "app/EventLoop.h"
#include "app/FrameCapture.h"
#include "app/HeapPolicy.h"
#include "app/ShellSession.h"
#include "engine/core/Log.h"
#include "app/Splash.h"
#include "engine/audio/Music.h"
#include "engine/audio/SoundEffects.h"
#include "engine/audio/sdl/SdlMixerBackend.h"
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Platform.h"
#include "engine/display/GLContext.h"
#include "engine/display/PlatformEvents.h"
#include "engine/display/SdlSession.h"
#include "engine/platform/PlatformLibrary.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/GameStartup.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

using namespace Vexel;

namespace
{

// Audio, video and joystick. Not SDL's timer subsystem: nothing here uses
// SDL timers (the clock is SDL_GetTicks, which needs none), and its thread
// would wake every millisecond for the program's life.
const Uint32 kSdlSubsystems = SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
static_assert(kSdlSubsystems == 0x230, "audio, video and joystick");
// The platform SDL's context major version; stock SDL 1.2 refuses it, harmlessly.
const int kContextMajorVersionAttribute = 17;
const char* const kWindowTitle = "Cobalt Keep";

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

void ExplainMissingDisplay()
{
    if (Platform::IsDisplayMissing())
        Vexel::Log::Error("shell", "the game needs an X display for its window, and DISPLAY is not set");
    else if (IsSet("DISPLAY"))
        Vexel::Log::Error("shell", "the X display \"%s\" could not be opened", std::getenv("DISPLAY"));
}

// Shows in the trace that the Shutdown event really fired, and when.
struct ShutdownTrace
{
    void OnShutdown() { Vexel::Log::Verbose("shell", "shutdown event"); }
};

} // namespace

int main(int, char**)
{
    App::SetHeapPolicy();
    // Never destroyed: the music thread may still reach it during exit.
    Audio::SetBackend(new Audio::SdlMixerBackend());
    App::ShellSession session;
    if (!session.ReadSeams("shell"))
        return 1;

    Platform::SdlSession sdl;
    if (!sdl.Start(kSdlSubsystems))
    {
        Vexel::Log::Error("shell", "Video initialization failed: %s", SDL_GetError());
        ExplainMissingDisplay();
        sdl.Quit();
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

    // The accelerometer. Without one the game plays as if tilt controls were
    // off, leaving the player's choice as saved.
    const bool sensor = session.HasTiltSensor(SDL_JoystickOpen(0) != nullptr);
    Platform::SetTiltSensorPresent(sensor);
    Vexel::Log::Verbose("shell", sensor ? "tilt sensor" : "no tilt sensor");

    Platform::GLContext* context =
        App::ShellSession::OpenWindow(kWindowTitle, metrics.horizontalPixels, metrics.verticalPixels);
    if (!context)
    {
        Vexel::Log::Error("shell", "Video mode setting failed: %s", SDL_GetError());
        ExplainMissingDisplay();
        sdl.Quit();
        return 1;
    }
    Vexel::Log::Verbose("shell", "window %d x %d, %s", context->GetWidth(), context->GetHeight(), context->GetVersion());

    App::ShellSession::SetFixedGLState();
    App::DrawSplash();
    if (session.GetCapture().CaptureFrame(App::FrameCapture::kSplashFrame, context->GetWidth(),
                                          context->GetHeight()) > 0)
        Vexel::Log::Verbose("shell", "splash saved");
    context->SwapBuffers();
    Vexel::Log::Verbose("shell", "splash shown");

    AppEvents::Startup().Raise();

    UI::Internal::Events* events = nullptr;
    UI::Internal::Input* input = nullptr;
    UI::UIManager::Initialize(settings->orientation, settings->uiFlag, settings->clearColor,
                              settings->musicEnabled, settings->soundEnabled, settings->effectVoiceCount,
                              &events, &input);
    InitializeGame();
    events->Animate(App::EventLoop::kFrameTime);
    Vexel::Log::Verbose("shell", "game started");

    session.RunEventLoop(events, input, context);

    ShutdownTrace shutdownTrace;
    if (Vexel::Log::IsVerbose())
        AppEvents::Shutdown().Subscribe(Action<>(&shutdownTrace, &ShutdownTrace::OnShutdown));

    PDL_Quit();
    // The music command thread is stopped and joined and the mixer closed
    // while SDL is still up; nothing reaches SDL_mixer after this.
    Audio::Music::Shutdown();
    Audio::SoundEffects::Shutdown();
    // The EGL surface lives on SDL's X connection: it goes first, and the GL
    // seam falls back to its null table, so nothing after this reaches GL.
    delete context;
    sdl.Quit();
    ShutdownGame();
    AppEvents::Shutdown().Raise();
    AppEvents::Shutdown().Unsubscribe(&shutdownTrace);
    return 0;
}
