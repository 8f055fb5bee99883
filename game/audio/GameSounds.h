// Stand-in until the game sound set lands: the nine sounds are silent (every
// play fails and returns -1), but every call reaches the observer with the
// caller's arguments, so the simulation's sound calls can be tested.
#pragma once

namespace GameSounds
{

// A play handle, or -1 when nothing plays.
int Play(int id, float volume, float pitch);
void Stop(int handle);
void SetVolumeAndPitch(int handle, float volume, float pitch);
void PlayMenuBeep(int variant);

// Sees every call with the caller's arguments, before any jitter.
class IObserver
{
public:
    virtual ~IObserver() {}
    virtual void OnPlay(int id, float volume, float pitch) = 0;
    virtual void OnStop(int handle) = 0;
    virtual void OnSetVolumeAndPitch(int handle, float volume, float pitch) = 0;
};

// Installs an observer (null for none) and returns the previous one.
IObserver* SetObserver(IObserver* observer);

} // namespace GameSounds
