#include "engine/display/SdlSession.h"

#include "engine/core/Log.h"
#include "engine/display/PlatformEvents.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace Vexel
{
namespace Platform
{

namespace
{
// A resetting X server refuses connections for a moment; a display that
// does not exist at all is given up on after this long.
const int kConnectAttempts = 40;
const int kConnectRetryMilliseconds = 50;

bool IsEmpty(const char* value)
{
    return value == nullptr || *value == '\0';
}

bool UsesX11()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return IsEmpty(driver) || std::strcmp(driver, "x11") == 0;
}

// ALSA's error handler is a plain C callback without a context pointer: it
// writes to the session that is starting SDL, if any (main thread only).
std::string* alsaFirstError = nullptr;

void KeepFirstAlsaError(const char*, int, const char*, int, const char* format, ...)
{
    if (!alsaFirstError || !alsaFirstError->empty() || !format)
        return;
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    *alsaFirstError = text;
}
} // namespace

class SdlSession::Impl
{
public:
    Display* display = nullptr; // our own X connection, kept until Quit
    bool sdlInitCalled = false; // SDL_Quit is due, whether SDL_Init succeeded or not

    void HoldDisplay()
    {
        for (int attempt = 1; attempt <= kConnectAttempts; ++attempt)
        {
            display = XOpenDisplay(nullptr);
            if (display)
            {
                if (attempt > 1)
                    Log::Verbose("display", "X server answered at attempt %d", attempt);
                return;
            }
            SDL_Delay(kConnectRetryMilliseconds);
        }
    }

    // Without a sound device SDL keeps no audio driver: say so once and let
    // sound run on the silent dummy driver.
    void FallBackToSilentAudio(std::string const& alsaError)
    {
        char name[32];
        if (SDL_AudioDriverName(name, int(sizeof name)) != nullptr)
            return;
        const std::string reason = !alsaError.empty() ? "ALSA: " + alsaError : std::string(SDL_GetError());
        Log::Warning("audio", "no sound device (%s); the game plays silently", reason.c_str());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
            Log::Warning("audio", "the silent audio driver did not start either: %s", SDL_GetError());
    }
};

SdlSession::SdlSession() : impl(new Impl()) {}

SdlSession::~SdlSession()
{
    Quit();
    delete impl;
}

bool SdlSession::Start(unsigned sdlFlags)
{
    PrepareVideoDriver();
    if ((sdlFlags & SDL_INIT_VIDEO) && UsesX11() && !IsEmpty(std::getenv("DISPLAY")) && !impl->display)
        impl->HoldDisplay();

    std::string alsaError;
    alsaFirstError = &alsaError;
    snd_lib_error_set_handler(&KeepFirstAlsaError);
    const bool started = SDL_Init(Uint32(sdlFlags)) == 0;
    if (started && (sdlFlags & SDL_INIT_AUDIO))
        impl->FallBackToSilentAudio(alsaError);
    // ALSA speaks for itself again once a device is in use.
    snd_lib_error_set_handler(nullptr);
    alsaFirstError = nullptr;

    impl->sdlInitCalled = true;
    return started;
}

void SdlSession::Quit()
{
    if (impl->sdlInitCalled)
    {
        SDL_Quit();
        impl->sdlInitCalled = false;
    }
    if (impl->display)
    {
        XCloseDisplay(impl->display);
        impl->display = nullptr;
    }
}

bool SdlSession::HoldsDisplay() const
{
    return impl->display != nullptr;
}

} // namespace Platform
} // namespace Vexel
