// One named sound effect (the WAV file name + ".wav") with a fixed number of
// instances that may sound at once. All effects share the pool of mixer
// voices that SoundEffects::Initialize sizes (8 in the game): when every
// voice is busy, a play may steal the voice of a playing effect of lower
// priority, and an effect of steal policy RestartOldest restarts its own
// oldest instance when all of its instances play.
//
// Play returns a handle: the small id (the process-wide play counter mod
// 100000, so ids repeat after 100000 plays), or -1 when nothing plays. The
// full 64-bit counter stays inside and decides which instance is "oldest".
// The file is loaded at the first play; switching the effects layer off
// unloads it and the next play loads it again.
//
// Main thread only; the mixer thread is reached through the back end.
#pragma once

#include "engine/core/Event.h"

#include <string>

namespace Vexel
{
namespace Audio
{

class EffectImpl;

struct StealPolicy
{
    enum Enum
    {
        RestartOldest = 0, // all instances playing: stop the oldest and play again
        NeverOwn = 1,      // never steal from itself
        NoStealing = 2,    // never steal at all
    };
};

class Effect
{
public:
    // loop: the effect loops and each instance gets a back-end sound of its
    // own; otherwise the instances share one. stealPolicy: StealPolicy::Enum.
    Effect(std::string const& name, int instanceCount, float volumeFactor, int priority, bool loop,
           int stealPolicy);
    // Stops and unloads every instance (raising no events).
    virtual ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // The handle of the new instance, or -1: the layer is inactive, the file
    // could not be loaded or no voice could be had (LimitReached is raised).
    // The back end gets volume x the volume factor.
    int Play(float volume, float pitch);
    // Stops the instance of that handle (raising Stopped); others are ignored.
    void Stop(int handle);
    bool IsPlaying(int handle) const;
    void SetVolume(int handle, float volume);
    void SetPitch(int handle, float pitch);

    int GetInstanceCount() const;
    int GetPlayingCount() const;
    std::string const& GetName() const;
    int GetPriority() const;
    bool IsLooping() const;
    int GetStealPolicy() const;
    float GetVolumeFactor() const;

    // Each carries the handle of the instance concerned.
    Event<int> Started;
    Event<int> Stopped;
    Event<int> Stolen;
    // A play found no voice.
    Event<Effect*> LimitReached;

    EffectImpl* GetImpl() const { return impl; }

private:
    EffectImpl* impl;
};

} // namespace Audio
} // namespace Vexel
