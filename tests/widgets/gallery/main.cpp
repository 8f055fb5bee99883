// The widget gallery: a test program that brings the window up exactly as the
// game does (SDL, the platform library, the GL context, the UI manager, the
// shell's event loop and frame step) and shows the gallery screen instead of
// the game. The shell's test seams work here too:
//   COBALT_KEEP_EVENT_SCRIPT=file   scripted events
//   COBALT_KEEP_FIXED_STEP=1        every pass of the loop is one frame tick
//   COBALT_KEEP_SHOT=frame:path.png[,...]   screenshots
//   COBALT_KEEP_TRACE=1             progress lines on stderr, with the
//                                   gallery's "gallery check N" and
//                                   "gallery slider N"
#include "app/App.h"
#include "app/EventLoop.h"
#include "app/EventScript.h"
#include "app/FrameCapture.h"
#include "app/PassClock.h"
#include "app/SdlEventQueue.h"
#include "app/ShellTrace.h"
#include "app/WindowHost.h"
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Platform.h"
#include "engine/graphics/GL.h"
#include "engine/platform/GLContext.h"
#include "engine/platform/PlatformEvents.h"
#include "engine/platform/PlatformLibrary.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "tests/widgets/gallery/GalleryScreen.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Vexel;

namespace
{

const Uint32 kSdlSubsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
const char* const kWindowTitle = "Cobalt Keep Widgets";

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

bool ReadSeams(Seams& seams)
{
    std::string error;
    if (IsSet("COBALT_KEEP_EVENT_SCRIPT"))
    {
        const char* path = std::getenv("COBALT_KEEP_EVENT_SCRIPT");
        if (!seams.script.Load(path, &error))
        {
            std::fprintf(stderr, "gallery: event script \"%s\": %s\n", path, error.c_str());
            return false;
        }
        seams.hasScript = true;
    }
    if (IsSet("COBALT_KEEP_SHOT") && !seams.capture.Parse(std::getenv("COBALT_KEEP_SHOT"), &error))
    {
        std::fprintf(stderr, "gallery: COBALT_KEEP_SHOT: %s\n", error.c_str());
        return false;
    }
    seams.fixedStep =
        IsSet("COBALT_KEEP_FIXED_STEP") && std::strcmp(std::getenv("COBALT_KEEP_FIXED_STEP"), "1") == 0;
    return true;
}

// The game's fixed GL state.
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
    GL::ColorMask(1, 1, 1, 0);
}

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
        SDL_Quit();
        return 1;
    }
    PDL_Init(0);

    // The game's settings: portrait, atlases asked for as ".dat" read as ".png".
    AppSettings* settings = GetAppSettings();
    settings->orientation = 1;
    settings->effectVoiceCount = 8;
    settings->extensionMap[".dat"] = ".png";

    PDL_ScreenMetrics metrics{};
    PDL_GetScreenMetrics(&metrics);
    Platform::SetScreenMetrics(metrics.horizontalPixels, metrics.verticalPixels,
                               Vector2(float(metrics.horizontalDPI), float(metrics.verticalDPI)));

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
        SDL_Quit();
        return 1;
    }
    App::Trace("window %d x %d, %s", context->GetWidth(), context->GetHeight(), context->GetVersion());
    SetFixedGLState();

    AppEvents::Startup().Raise();

    UI::Internal::Events* events = nullptr;
    UI::Internal::Input* input = nullptr;
    UI::UIManager::Initialize(settings->orientation, settings->uiFlag, Color(0, 0, 0, 255), false, false,
                              settings->effectVoiceCount, &events, &input);
    InitUIHelper();
    GalleryScreen* gallery = new GalleryScreen();
    UI::UIManager::AttachElement(gallery, 0);
    gallery->HoldButtons();
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

    PDL_Quit();
    delete context;
    SDL_Quit();
    UI::UIManager::DetachElement(gallery);
    delete gallery;
    ShutdownUIHelper();
    AppEvents::Shutdown().Raise();
    App::Trace("gallery closed");
    return 0;
}
