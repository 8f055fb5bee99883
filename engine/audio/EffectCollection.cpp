#include "engine/audio/EffectCollection.h"

#include "engine/audio/Effect.h"

namespace Vexel
{
namespace Audio
{

int EffectCollection::Add(Effect* effect, int limit)
{
    if (!effect)
        return -1;
    auto known = keys.find(effect);
    if (known != keys.end())
    {
        members[known->second].limit = limit;
        return known->second;
    }
    int key = 0;
    while (members.count(key) != 0)
        ++key;
    members[key] = Member{effect, limit};
    keys[effect] = key;
    return key;
}

void EffectCollection::Set(int key, Effect* effect, int limit)
{
    Remove(key);
    if (!effect)
        return;
    Remove(effect);
    members[key] = Member{effect, limit};
    keys[effect] = key;
}

void EffectCollection::Remove(int key)
{
    auto found = members.find(key);
    if (found == members.end())
        return;
    keys.erase(found->second.effect);
    members.erase(found);
}

void EffectCollection::Remove(Effect* effect)
{
    auto found = keys.find(effect);
    if (found == keys.end())
        return;
    members.erase(found->second);
    keys.erase(found);
}

Effect* EffectCollection::Get(int key) const
{
    auto found = members.find(key);
    return found == members.end() ? nullptr : found->second.effect;
}

int EffectCollection::GetKey(Effect* effect) const
{
    auto found = keys.find(effect);
    return found == keys.end() ? -1 : found->second;
}

int EffectCollection::TotalInstances() const
{
    int total = 0;
    for (auto const& entry : members)
        total += entry.second.effect->GetPlayingCount();
    return total;
}

int EffectCollection::Play(int key, float volume, float pitch)
{
    auto found = members.find(key);
    if (found == members.end())
        return -1;
    Member const& member = found->second;
    if (member.effect->GetPlayingCount() < member.limit && TotalInstances() < cap)
        return member.effect->Play(volume * volumeFactors.GetProduct(), pitch * pitchFactors.GetProduct());
    member.effect->LimitReached.Raise(member.effect);
    return -1;
}

int EffectCollection::Play(Effect* effect, float volume, float pitch)
{
    const int key = GetKey(effect);
    return key == -1 ? -1 : Play(key, volume, pitch);
}

void EffectCollection::Stop(int key, int handle)
{
    if (Effect* effect = Get(key))
        effect->Stop(handle);
}

void EffectCollection::Stop(Effect* effect, int handle)
{
    if (GetKey(effect) != -1)
        effect->Stop(handle);
}

} // namespace Audio
} // namespace Vexel
