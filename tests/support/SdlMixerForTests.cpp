// Compiled into every test program: they play through the real mixer, as the
// game does (SDL's dummy or disk driver), so the SDL_mixer back end is
// installed before main. Never destroyed: the music thread may still reach
// it during exit.
#include "engine/audio/sdl/SdlMixerBackend.h"

namespace
{
struct InstallSdlMixer
{
    InstallSdlMixer() { Vexel::Audio::SetBackend(new Vexel::Audio::SdlMixerBackend()); }
};

InstallSdlMixer install;
} // namespace
