#include "engine/audio/sdl/SdlMixerBackend.h"

#include "engine/audio/AudioDevice.h"

#include <SDL_mixer.h>

namespace Vexel
{
namespace Audio
{

static_assert(AudioDevice::kFormat == AUDIO_S16SYS, "signed 16-bit samples in the machine's order");

bool SdlMixerBackend::OpenDevice(int rate, int format, int channels, int chunkFrames, int mixerChannels,
                                 int* openedRate)
{
    if (Mix_OpenAudio(rate, Uint16(format), channels, chunkFrames) != 0)
        return false;
    Mix_AllocateChannels(mixerChannels);
    int opened = 0;
    Uint16 openedFormat = 0;
    int openedChannels = 0;
    if (Mix_QuerySpec(&opened, &openedFormat, &openedChannels) == 0 || opened <= 0)
        opened = rate;
    *openedRate = opened;
    return true;
}

void SdlMixerBackend::CloseDevice()
{
    Mix_CloseAudio();
}

std::string SdlMixerBackend::GetError()
{
    return std::string("SDL_mixer error: ") + Mix_GetError();
}

void* SdlMixerBackend::LoadCarrier(uint8_t* samples, uint32_t bytes)
{
    return Mix_QuickLoad_RAW(samples, bytes);
}

void SdlMixerBackend::FreeCarrier(void* carrier)
{
    Mix_FreeChunk(static_cast<Mix_Chunk*>(carrier));
}

int SdlMixerBackend::PlayLooped(void* carrier)
{
    return Mix_PlayChannelTimed(-1, static_cast<Mix_Chunk*>(carrier), -1, -1);
}

bool SdlMixerBackend::RegisterMix(int channel, MixCallback callback, void* user)
{
    return Mix_RegisterEffect(channel, callback, nullptr, user) != 0;
}

void SdlMixerBackend::HaltChannel(int channel)
{
    // SDL_mixer drops the channel's effects on a halt. (Unregistering
    // afterwards would only fail and write SDL's error text, which all our
    // threads share.)
    Mix_HaltChannel(channel);
}

void* SdlMixerBackend::LoadMusic(std::string const& path)
{
    return Mix_LoadMUS(path.c_str());
}

void SdlMixerBackend::FreeMusic(void* music)
{
    Mix_FreeMusic(static_cast<Mix_Music*>(music));
}

bool SdlMixerBackend::PlayMusic(void* music, int loops)
{
    return Mix_PlayMusic(static_cast<Mix_Music*>(music), loops) == 0;
}

void SdlMixerBackend::PauseMusic()
{
    Mix_PauseMusic();
}

bool SdlMixerBackend::IsMusicPlaying()
{
    return Mix_PlayingMusic() != 0;
}

void SdlMixerBackend::SetMusicVolume(int level)
{
    Mix_VolumeMusic(level);
}

} // namespace Audio
} // namespace Vexel
