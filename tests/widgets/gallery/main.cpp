// The widget gallery: a test program that brings the window up exactly as the
// game does (SDL, the platform library, the GL context, the UI manager, the
// shell's event loop and frame step) and shows the gallery screen instead of
// the game. The shell's test seams (app/ShellSession.h) work here too; the
// trace adds the gallery's "gallery check N" and "gallery slider N".
#include "app/App.h"
#include "app/EventLoop.h"
#include "app/ShellSession.h"
#include "engine/core/Log.h"
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Platform.h"
#include "engine/display/GLContext.h"
#include "engine/display/SdlSession.h"
#include "engine/platform/PlatformLibrary.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "tests/widgets/gallery/GalleryScreen.h"

#include <SDL.h>

using namespace Vexel;

namespace
{

// As the game: no SDL timer thread.
const Uint32 kSdlSubsystems = SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
const char* const kWindowTitle = "Cobalt Keep Widgets";

} // namespace

int main(int, char**)
{
    App::ShellSession session;
    if (!session.ReadSeams("gallery"))
        return 1;

    Platform::SdlSession sdl;
    if (!sdl.Start(kSdlSubsystems))
    {
        Vexel::Log::Error("gallery", "Video initialization failed: %s", SDL_GetError());
        sdl.Quit();
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

    Platform::GLContext* context =
        App::ShellSession::OpenWindow(kWindowTitle, metrics.horizontalPixels, metrics.verticalPixels);
    if (!context)
    {
        Vexel::Log::Error("gallery", "Video mode setting failed: %s", SDL_GetError());
        sdl.Quit();
        return 1;
    }
    Vexel::Log::Verbose("gallery", "window %d x %d, %s", context->GetWidth(), context->GetHeight(), context->GetVersion());
    App::ShellSession::SetFixedGLState();

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
    Vexel::Log::Verbose("gallery", "game started");

    session.RunEventLoop(events, input, context);

    PDL_Quit();
    delete context;
    sdl.Quit();
    UI::UIManager::DetachElement(gallery);
    delete gallery;
    ShutdownUIHelper();
    AppEvents::Shutdown().Raise();
    Vexel::Log::Verbose("gallery", "gallery closed");
    return 0;
}
