#include "engine/audio/AudioDevice.h"

#include "engine/audio/AudioBackend.h"
#include "engine/core/AppSettings.h"
#include "engine/core/Log.h"
#include "engine/core/Mutex.h"

#include <atomic>

namespace Vexel
{
namespace Audio
{

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
    AudioBackend& backend = GetBackend();
    int openedRate = rate;
    if (!backend.OpenDevice(rate, kFormat, kChannels, kChunkFrames, kMixerChannels, &openedRate))
    {
        state.failed = true;
        Log::Error("audio", "%s (no sound device: the game runs silently)", backend.GetError().c_str());
        return false;
    }
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
        GetBackend().CloseDevice();
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
