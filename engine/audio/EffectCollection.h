// A group of effects under keys, with a cap on the live instances of all
// members together, a per-member limit, and volume and pitch factor sets
// that scale every play through the collection. Members are not owned: an
// effect must leave the collection (Remove) before it is destroyed. Main
// thread only.
#pragma once

#include "engine/audio/ParamFactor.h"

#include <climits>
#include <map>

namespace Vexel
{
namespace Audio
{

class Effect;

class EffectCollection
{
public:
    explicit EffectCollection(int cap = INT_MAX) : cap(cap) {}
    EffectCollection(const EffectCollection&) = delete;
    EffectCollection& operator=(const EffectCollection&) = delete;

    // The smallest unused key from 0. An effect that is already a member
    // keeps its key and takes the new limit. Null gives -1.
    int Add(Effect* effect, int limit);
    // Puts effect under key, replacing the old member there (and moving the
    // effect away from any other key it had). A null effect removes the key.
    void Set(int key, Effect* effect, int limit);
    void Remove(int key);
    void Remove(Effect* effect);

    Effect* Get(int key) const;
    int GetKey(Effect* effect) const; // -1 for a non-member
    int GetMemberCount() const { return int(members.size()); }

    // The sum of the members' playing counts.
    int TotalInstances() const;

    // -1 for an unknown key or non-member. A member below its limit while
    // the collection is below its cap plays with volume x the volume factors'
    // product and pitch x the pitch factors' product; otherwise the member's
    // LimitReached is raised and the result is -1.
    int Play(int key, float volume, float pitch);
    int Play(Effect* effect, float volume, float pitch);
    // Stops that handle of the member (raising its Stopped).
    void Stop(int key, int handle);
    void Stop(Effect* effect, int handle);

    int GetCap() const { return cap; }
    void SetCap(int newCap) { cap = newCap; }
    // Stored for the owner; plays do not use them.
    float GetVolume() const { return volume; }
    void SetVolume(float value) { volume = value; }
    float GetPitch() const { return pitch; }
    void SetPitch(float value) { pitch = value; }

    ParamFactorSet& GetVolumeFactors() { return volumeFactors; }
    ParamFactorSet& GetPitchFactors() { return pitchFactors; }

private:
    struct Member
    {
        Effect* effect;
        int limit;
    };

    std::map<int, Member> members;
    std::map<Effect*, int> keys;
    int cap;
    float volume = 1.0f;
    float pitch = 1.0f;
    ParamFactorSet volumeFactors;
    ParamFactorSet pitchFactors;
};

} // namespace Audio
} // namespace Vexel
