// The recording back end of the audio seam: the null back end (a device
// that opens, voices that get no channel, silent music) that also logs every
// call with its arguments, for unit tests of engine audio without a mixer.
// Any thread; the log has its own mutex.
#pragma once

#include "engine/audio/NullAudioBackend.h"
#include "engine/core/Mutex.h"

#include <string>
#include <vector>

namespace Vexel
{
namespace Audio
{

class AudioBackendRecorder : public NullAudioBackend
{
public:
    // The calls so far, one line each ("OpenDevice 44100 32784 2 1024 32").
    std::vector<std::string> GetCalls();
    void Clear();

    bool OpenDevice(int rate, int format, int channels, int chunkFrames, int mixerChannels,
                    int* openedRate) override;
    void CloseDevice() override;
    void* LoadCarrier(uint8_t* samples, uint32_t bytes) override;
    void FreeCarrier(void* carrier) override;
    int PlayLooped(void* carrier) override;
    void HaltChannel(int channel) override;
    void* LoadMusic(std::string const& path) override;
    void FreeMusic(void* music) override;
    bool PlayMusic(void* music, int loops) override;
    void PauseMusic() override;
    void SetMusicVolume(int level) override;

private:
    void Record(std::string const& call);

    Threading::Mutex mutex;
    std::vector<std::string> calls;
};

} // namespace Audio
} // namespace Vexel
