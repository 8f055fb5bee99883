// Compiled into every test program: they play through the real mixer, as the
// game does (SDL's dummy or disk driver), so the SDL_mixer back end is
// installed before main. Never destroyed: the music thread may still reach
// it during exit. The pointer stays here too, so that a test which installs
// a back end of its own does not leave this one unreachable (a leak to
// LeakSanitizer).
#include "engine/audio/sdl/SdlMixerBackend.h"

namespace
{
Vexel::Audio::SdlMixerBackend* InstallSdlMixer()
{
    Vexel::Audio::SdlMixerBackend* backend = new Vexel::Audio::SdlMixerBackend();
    Vexel::Audio::SetBackend(backend);
    return backend;
}
} // namespace

// Outside the unnamed namespace so the compiler keeps it.
Vexel::Audio::SdlMixerBackend* gTestMixerBackend = InstallSdlMixer();
