// The sound manager: every loaded effect by each of its instance ids. It
// holds an audio device reference while it lives. Its cleanup empties the
// finished list; the effects layer runs it in every update phase, right
// after its own refresh. Main thread only.
#pragma once

#include "engine/audio/SingleSoundEffect.h"

#include <map>

namespace Vexel
{
namespace Audio
{

class SoundEffectInstance;

class SoundEffectObject
{
public:
    // Call Create instead: the device reference may fail.
    static SoundEffectObject* Create();
    // Stops and deletes every effect and releases the device reference.
    ~SoundEffectObject();
    SoundEffectObject(const SoundEffectObject&) = delete;
    SoundEffectObject& operator=(const SoundEffectObject&) = delete;

    // Takes the effect and maps each of its instances to it.
    void Add(SingleSoundEffect* effect);
    SoundEffectInstance* FindInstance(int id) const;
    // Stops and deletes the instance; the effect goes with its last one.
    void Unload(int id);
    // Applies fn to every instance.
    template <class F> void ForEachInstance(F fn) const
    {
        for (auto const& entry : effects)
            if (SoundEffectInstance* instance = entry.second->Find(entry.first))
                fn(instance);
    }
    int GetEffectCount() const;

    // The per-frame cleanup: stops every finished instance.
    void OnUpdate(float dt);

private:
    SoundEffectObject() = default;

    std::map<int, SingleSoundEffect*> effects;
};

} // namespace Audio
} // namespace Vexel
