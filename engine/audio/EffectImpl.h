// The state of an Effect and the shared pool of voices, for the effects
// layer's own files (Effect.cpp, SoundEffects.cpp). Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace Vexel
{
namespace Audio
{

class Effect;
class EffectImpl;

// A playing instance's handle: the small id callers see and the full play
// counter that orders instances by age.
struct VoiceHandle
{
    int smallId = -1;
    uint64_t counter = 0;
};

// The module state every effect shares.
struct EffectVoicePool
{
    static const int kHandleModulus = 100000;

    bool initialised = false;
    bool enabled = true;
    bool override = false;
    bool active = false; // the mixer's sound manager exists for this layer
    bool shutDown = false;
    int voiceCount = 8;
    int freeVoices = 8;
    float volume = 1.0f;
    std::set<EffectImpl*> loadedEffects;
    // Ascending priority -> playing back-end instance id -> its effect.
    std::map<int, std::map<int, EffectImpl*>> priorities;
    uint64_t playCounter = 0;
};

EffectVoicePool& GetVoicePool();

class EffectImpl
{
public:
    EffectImpl(Effect* owner, std::string const& name, int instanceCount, float volumeFactor, int priority,
               bool loop, int stealPolicy);

    int Play(float volume, float pitch);
    // Stops the playing instance; with notify the owner's Stopped is raised.
    void StopInstance(int instanceId, bool notify);
    void StopAll(bool notify);
    // Loads the file unless loaded; false when it cannot be played.
    bool Load();
    // Stops every instance (raising Stopped) and gives the back-end
    // instances up; the next play loads again.
    void Unload();
    // Stops (raising Stopped) the instances the mixer has finished.
    void ReleaseFinished();

    int FindInstance(int handle) const; // -1 when not playing

    Effect* owner;
    std::string names[3]; // the second is the effect's name
    bool loop;
    bool loaded = false;
    bool loadFailed = false;
    std::set<int> freeInstances;
    std::map<int, VoiceHandle> playing;   // instance id -> handle
    std::map<int, int> instancesByHandle; // small id -> instance id
    std::vector<int> instanceIds;         // every back-end id while loaded
    int instanceCount;
    int priority;
    float volumeFactor;
    int stealPolicy;
};

} // namespace Audio
} // namespace Vexel
