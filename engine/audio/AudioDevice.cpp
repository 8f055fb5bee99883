#include "engine/audio/AudioDevice.h"

#include "engine/core/AppSettings.h"
#include "engine/core/Log.h"
#include "engine/core/Mutex.h"

#include <SDL_mixer.h>

#include <atomic>

namespace Vexel
{
namespace Audio
{

static_assert(AudioDevice::kFormat == AUDIO_S16SYS, "signed 16-bit samples in the machine's order");

namespace
{
struct DeviceState
{
    Threading::Mutex mutex;
    int references = 0;
    std::atomic<bool> failed{false};
    std::atomic<int> outputRate{0};
};

// Never destroyed: the mixer and command threads may still ask during exit.
DeviceState& GetState()
{
    static DeviceState* state = new DeviceState();
    return *state;
}
} // namespace

bool AudioDevice::Acquire()
{
    DeviceState& state = GetState();
    Threading::ScopedLock<Threading::Mutex> lock(state.mutex);
    if (state.references > 0)
    {
        ++state.references;
        return true;
    }
    if (state.failed)
        return false;
    const int rate = GetAppSettings()->audioSampleRate;
    if (Mix_OpenAudio(rate, kFormat, kChannels, kChunkFrames) != 0)
    {
        state.failed = true;
        Log::Error("audio", "SDL_mixer error: %s (no sound device: the game runs silently)", Mix_GetError());
        return false;
    }
    Mix_AllocateChannels(kMixerChannels);
    int openedRate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&openedRate, &format, &channels) == 0 || openedRate <= 0)
        openedRate = rate;
    state.outputRate = openedRate;
    state.references = 1;
    return true;
}

void AudioDevice::Release()
{
    DeviceState& state = GetState();
    Threading::ScopedLock<Threading::Mutex> lock(state.mutex);
    if (state.references <= 0)
        return;
    if (state.references == 1)
    {
        Mix_CloseAudio();
        state.outputRate = 0;
    }
    --state.references;
}

int AudioDevice::GetReferenceCount()
{
    DeviceState& state = GetState();
    Threading::ScopedLock<Threading::Mutex> lock(state.mutex);
    return state.references;
}

bool AudioDevice::HasFailed()
{
    return GetState().failed;
}

int AudioDevice::GetOutputRate()
{
    const int rate = GetState().outputRate;
    return rate > 0 ? rate : GetAppSettings()->audioSampleRate;
}

} // namespace Audio
} // namespace Vexel
