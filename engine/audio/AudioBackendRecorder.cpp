#include "engine/audio/AudioBackendRecorder.h"

namespace Vexel
{
namespace Audio
{

std::vector<std::string> AudioBackendRecorder::GetCalls()
{
    Threading::ScopedLock<Threading::Mutex> lock(mutex);
    return calls;
}

void AudioBackendRecorder::Clear()
{
    Threading::ScopedLock<Threading::Mutex> lock(mutex);
    calls.clear();
}

void AudioBackendRecorder::Record(std::string const& call)
{
    Threading::ScopedLock<Threading::Mutex> lock(mutex);
    calls.push_back(call);
}

bool AudioBackendRecorder::OpenDevice(int rate, int format, int channels, int chunkFrames, int mixerChannels,
                                      int* openedRate)
{
    Record("OpenDevice " + std::to_string(rate) + " " + std::to_string(format) + " " + std::to_string(channels) +
           " " + std::to_string(chunkFrames) + " " + std::to_string(mixerChannels));
    return NullAudioBackend::OpenDevice(rate, format, channels, chunkFrames, mixerChannels, openedRate);
}

void AudioBackendRecorder::CloseDevice()
{
    Record("CloseDevice");
}

void* AudioBackendRecorder::LoadCarrier(uint8_t* samples, uint32_t bytes)
{
    Record("LoadCarrier " + std::to_string(bytes));
    return NullAudioBackend::LoadCarrier(samples, bytes);
}

void AudioBackendRecorder::FreeCarrier(void*)
{
    Record("FreeCarrier");
}

int AudioBackendRecorder::PlayLooped(void* carrier)
{
    Record("PlayLooped");
    return NullAudioBackend::PlayLooped(carrier);
}

void AudioBackendRecorder::HaltChannel(int channel)
{
    Record("HaltChannel " + std::to_string(channel));
}

void* AudioBackendRecorder::LoadMusic(std::string const& path)
{
    Record("LoadMusic " + path);
    return NullAudioBackend::LoadMusic(path);
}

void AudioBackendRecorder::FreeMusic(void*)
{
    Record("FreeMusic");
}

bool AudioBackendRecorder::PlayMusic(void* music, int loops)
{
    Record("PlayMusic " + std::to_string(loops));
    return NullAudioBackend::PlayMusic(music, loops);
}

void AudioBackendRecorder::PauseMusic()
{
    Record("PauseMusic");
    NullAudioBackend::PauseMusic();
}

void AudioBackendRecorder::SetMusicVolume(int level)
{
    Record("SetMusicVolume " + std::to_string(level));
}

} // namespace Audio
} // namespace Vexel
