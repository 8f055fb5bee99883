// The back end of a process without sound: the device opens at the requested
// rate, no voice gets a channel, and music loads and "plays" silently (it
// counts as playing until paused).
#pragma once

#include "engine/audio/AudioBackend.h"

#include <atomic>

namespace Vexel
{
namespace Audio
{

class NullAudioBackend : public AudioBackend
{
public:
    bool OpenDevice(int rate, int format, int channels, int chunkFrames, int mixerChannels,
                    int* openedRate) override;
    void CloseDevice() override {}
    std::string GetError() override { return std::string(); }

    void* LoadCarrier(uint8_t* samples, uint32_t bytes) override;
    void FreeCarrier(void*) override {}
    int PlayLooped(void*) override { return -1; }
    bool RegisterMix(int, MixCallback, void*) override { return false; }
    void HaltChannel(int) override {}

    void* LoadMusic(std::string const& path) override;
    void FreeMusic(void*) override {}
    bool PlayMusic(void* music, int loops) override;
    void PauseMusic() override { musicPlaying = false; }
    bool IsMusicPlaying() override { return musicPlaying; }
    void SetMusicVolume(int) override {}

private:
    std::atomic<bool> musicPlaying{false};
};

} // namespace Audio
} // namespace Vexel
