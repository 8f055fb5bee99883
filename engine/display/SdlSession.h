// SDL brought up the way this desktop needs it, for the program's life:
// - X11 as the video driver unless SDL_VIDEODRIVER names another
//   (PrepareVideoDriver);
// - one X connection of our own, opened before SDL's and kept until Quit. A
//   bare X server (Xvfb without -noreset) resets when its last client
//   leaves, and SDL's X11 driver opens a probe connection and closes it
//   before it opens its own: the reset in between refused one start in
//   seven. With our connection open the server never sees its last client
//   go. A first connection refused while the server is still resetting from
//   an earlier client is tried again for a short while;
// - no sound device: ALSA's own error lines during start-up are kept off
//   stderr, one log line says what was missing, and the audio subsystem
//   falls back to SDL's silent dummy driver so that sound code runs as it
//   would with a device.
// Main thread only.
#pragma once

namespace Vexel
{
namespace Platform
{

class SdlSession
{
public:
    SdlSession();
    // Quits SDL and closes the X connection if Quit was not called.
    ~SdlSession();
    SdlSession(SdlSession const&) = delete;
    SdlSession& operator=(SdlSession const&) = delete;

    // SDL_Init with these SDL_INIT_* flags and the preparations above; false
    // (SDL_GetError says why) when SDL_Init failed.
    bool Start(unsigned sdlFlags);
    // SDL_Quit (also after a failed Start), then our X connection goes.
    // Safe to call twice.
    void Quit();

    // Whether our own X connection is open.
    bool HoldsDisplay() const;

    class Impl;

private:
    Impl* impl;
};

} // namespace Platform
} // namespace Vexel
