// The SDL_mixer back end of the audio seam (AudioBackend.h): the game
// installs it at start-up; SDL_mixer is reached only from here.
#pragma once

#include "engine/audio/AudioBackend.h"

namespace Vexel
{
namespace Audio
{

class SdlMixerBackend : public AudioBackend
{
public:
    bool OpenDevice(int rate, int format, int channels, int chunkFrames, int mixerChannels,
                    int* openedRate) override;
    void CloseDevice() override;
    std::string GetError() override;

    void* LoadCarrier(uint8_t* samples, uint32_t bytes) override;
    void FreeCarrier(void* carrier) override;
    int PlayLooped(void* carrier) override;
    bool RegisterMix(int channel, MixCallback callback, void* user) override;
    void HaltChannel(int channel) override;

    void* LoadMusic(std::string const& path) override;
    void FreeMusic(void* music) override;
    bool PlayMusic(void* music, int loops) override;
    void PauseMusic() override;
    bool IsMusicPlaying() override;
    void SetMusicVolume(int level) override;
};

} // namespace Audio
} // namespace Vexel
