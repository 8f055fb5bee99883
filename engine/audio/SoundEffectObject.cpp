#include "engine/audio/SoundEffectObject.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/FinishedInstances.h"
#include "engine/audio/SoundEffectInstance.h"

#include <set>

namespace Vexel
{
namespace Audio
{

SoundEffectObject* SoundEffectObject::Create()
{
    if (!AudioDevice::Acquire())
        return nullptr;
    return new SoundEffectObject();
}

SoundEffectObject::~SoundEffectObject()
{
    std::set<SingleSoundEffect*> owned;
    for (auto const& entry : effects)
        owned.insert(entry.second);
    effects.clear();
    for (SingleSoundEffect* effect : owned)
        delete effect;
    AudioDevice::Release();
}

void SoundEffectObject::Add(SingleSoundEffect* effect)
{
    for (auto const& entry : effect->GetInstances())
        effects[entry.first] = effect;
}

SoundEffectInstance* SoundEffectObject::FindInstance(int id) const
{
    auto found = effects.find(id);
    return found == effects.end() ? nullptr : found->second->Find(id);
}

void SoundEffectObject::Unload(int id)
{
    auto found = effects.find(id);
    if (found == effects.end())
        return;
    SingleSoundEffect* effect = found->second;
    effects.erase(found);
    effect->Remove(id);
    if (effect->IsEmpty())
        delete effect;
}

int SoundEffectObject::GetEffectCount() const
{
    std::set<SingleSoundEffect*> distinct;
    for (auto const& entry : effects)
        distinct.insert(entry.second);
    return int(distinct.size());
}

void SoundEffectObject::OnUpdate(float)
{
    // Instances only join the list from a callback registered on their
    // channel, and only this manager's instances are registered.
    while (SoundEffectInstance* instance = FinishedInstances::TakeFirst())
        instance->Stop();
}

} // namespace Audio
} // namespace Vexel
