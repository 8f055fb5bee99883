#include "game/audio/GameSounds.h"

namespace GameSounds
{

namespace
{
IObserver* currentObserver = nullptr;
} // namespace

int Play(int id, float volume, float pitch)
{
    if (currentObserver != nullptr)
        currentObserver->OnPlay(id, volume, pitch);
    return -1;
}

void Stop(int handle)
{
    if (currentObserver != nullptr)
        currentObserver->OnStop(handle);
}

void SetVolumeAndPitch(int handle, float volume, float pitch)
{
    if (currentObserver != nullptr)
        currentObserver->OnSetVolumeAndPitch(handle, volume, pitch);
}

void PlayMenuBeep(int variant)
{
    const float pitch = variant == 0 ? 1.2f : (variant == 1 ? 0.8f : 1.0f);
    Play(8, 1.2f, pitch);
}

IObserver* SetObserver(IObserver* observer)
{
    IObserver* previous = currentObserver;
    currentObserver = observer;
    return previous;
}

} // namespace GameSounds
