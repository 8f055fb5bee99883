#include "engine/audio/Effect.h"

#include "engine/audio/EffectImpl.h"
#include "engine/audio/Mixer.h"

namespace Vexel
{
namespace Audio
{

EffectVoicePool& GetVoicePool()
{
    static EffectVoicePool pool;
    return pool;
}

EffectImpl::EffectImpl(Effect* owner, std::string const& name, int instanceCount, float volumeFactor,
                       int priority, bool loop, int stealPolicy)
    : owner(owner), loop(loop), instanceCount(instanceCount < 0 ? 0 : instanceCount), priority(priority),
      volumeFactor(volumeFactor), stealPolicy(stealPolicy)
{
    names[1] = name;
}

bool EffectImpl::Load()
{
    if (loaded)
        return !loadFailed;
    loaded = true;
    loadFailed = false;
    std::vector<int> ids(size_t(instanceCount), -1);
    if (instanceCount > 0)
    {
        if (loop)
        {
            // One back-end sound each, so that every instance loops alone.
            for (int i = 0; i < instanceCount; ++i)
                if (Mixer::LoadEffect(names[1], &ids[size_t(i)], 1, true) != 0)
                    break;
        }
        else
        {
            Mixer::LoadEffect(names[1], ids.data(), instanceCount, false);
        }
    }
    for (int id : ids)
    {
        if (id == -1)
            continue;
        instanceIds.push_back(id);
        freeInstances.insert(id);
    }
    // A missing or rejected file was reported by the loader; do not read it
    // again at every play.
    loadFailed = instanceIds.empty() && instanceCount > 0;
    GetVoicePool().loadedEffects.insert(this);
    return !loadFailed;
}

void EffectImpl::Unload()
{
    StopAll(true);
    for (int id : instanceIds)
        Mixer::Unload(id);
    instanceIds.clear();
    freeInstances.clear();
    loaded = false;
    loadFailed = false;
    GetVoicePool().loadedEffects.erase(this);
}

int EffectImpl::FindInstance(int handle) const
{
    auto found = instancesByHandle.find(handle);
    return found == instancesByHandle.end() ? -1 : found->second;
}

void EffectImpl::StopInstance(int instanceId, bool notify)
{
    EffectVoicePool& pool = GetVoicePool();
    auto found = playing.find(instanceId);
    if (!pool.initialised || found == playing.end())
        return;
    const VoiceHandle handle = found->second;
    playing.erase(found);
    auto byHandle = instancesByHandle.find(handle.smallId);
    if (byHandle != instancesByHandle.end() && byHandle->second == instanceId)
        instancesByHandle.erase(byHandle);
    freeInstances.insert(instanceId);
    ++pool.freeVoices;
    auto entry = pool.priorities.find(priority);
    if (entry != pool.priorities.end())
    {
        entry->second.erase(instanceId);
        if (entry->second.empty())
            pool.priorities.erase(entry);
    }
    Mixer::Stop(instanceId);
    if (notify)
        owner->Stopped.Raise(handle.smallId);
}

void EffectImpl::StopAll(bool notify)
{
    while (!playing.empty())
    {
        const int before = int(playing.size());
        StopInstance(playing.begin()->first, notify);
        // Before Initialize nothing plays, but never spin.
        if (int(playing.size()) == before)
            break;
    }
}

void EffectImpl::ReleaseFinished()
{
    std::vector<int> finished;
    for (auto const& entry : playing)
        if (!Mixer::IsPlaying(entry.first))
            finished.push_back(entry.first);
    for (int id : finished)
        StopInstance(id, true);
}

int EffectImpl::Play(float volume, float pitch)
{
    EffectVoicePool& pool = GetVoicePool();
    if (!pool.initialised || !pool.active)
    {
        StopAll(true);
        return -1;
    }
    if (!Load())
        return -1;

    struct Stolen
    {
        EffectImpl* effect;
        int smallId;
    };
    Stolen stolen{nullptr, -1};
    if (stealPolicy != StealPolicy::NoStealing)
    {
        if (pool.freeVoices <= 0 && !freeInstances.empty() && !pool.priorities.empty())
        {
            auto lowest = pool.priorities.begin();
            if (lowest->first < priority && !lowest->second.empty())
            {
                const int victimId = lowest->second.begin()->first;
                EffectImpl* victim = lowest->second.begin()->second;
                stolen = Stolen{victim, victim->playing[victimId].smallId};
                victim->StopInstance(victimId, false);
            }
        }
        if (freeInstances.empty() && stealPolicy == StealPolicy::RestartOldest && !playing.empty())
        {
            auto oldest = playing.begin();
            for (auto it = playing.begin(); it != playing.end(); ++it)
                if (it->second.counter < oldest->second.counter)
                    oldest = it;
            stolen = Stolen{this, oldest->second.smallId};
            StopInstance(oldest->first, false);
        }
    }

    int result = -1;
    if (pool.freeVoices > 0 && !freeInstances.empty())
    {
        const int instanceId = *freeInstances.begin();
        VoiceHandle handle;
        handle.counter = pool.playCounter++;
        handle.smallId = int(handle.counter % EffectVoicePool::kHandleModulus);
        // After 100000 plays a looping instance may still hold this small id.
        auto clash = instancesByHandle.find(handle.smallId);
        if (clash != instancesByHandle.end())
            StopInstance(clash->second, true);

        freeInstances.erase(freeInstances.begin());
        playing[instanceId] = handle;
        instancesByHandle[handle.smallId] = instanceId;
        --pool.freeVoices;
        pool.priorities[priority][instanceId] = this;
        // Pitch and volume first: the mixer thread may mix the first chunk
        // as soon as the play returns.
        Mixer::SetPitch(instanceId, pitch);
        Mixer::SetVolume(instanceId, volume * volumeFactor);
        if (Mixer::Play(instanceId))
            result = handle.smallId;
        else
            StopInstance(instanceId, false);
    }

    if (result != -1)
        owner->Started.Raise(result);
    if (stolen.effect)
    {
        stolen.effect->owner->Stopped.Raise(stolen.smallId);
        stolen.effect->owner->Stolen.Raise(stolen.smallId);
    }
    if (result == -1)
        owner->LimitReached.Raise(owner);
    return result;
}

Effect::Effect(std::string const& name, int instanceCount, float volumeFactor, int priority, bool loop,
               int stealPolicy)
    : impl(new EffectImpl(this, name, instanceCount, volumeFactor, priority, loop, stealPolicy))
{
}

Effect::~Effect()
{
    impl->StopAll(false);
    for (int id : impl->instanceIds)
        Mixer::Unload(id);
    GetVoicePool().loadedEffects.erase(impl);
    delete impl;
}

int Effect::Play(float volume, float pitch)
{
    return impl->Play(volume, pitch);
}

void Effect::Stop(int handle)
{
    const int instanceId = impl->FindInstance(handle);
    if (instanceId != -1)
        impl->StopInstance(instanceId, true);
}

bool Effect::IsPlaying(int handle) const
{
    return impl->FindInstance(handle) != -1;
}

void Effect::SetVolume(int handle, float volume)
{
    const int instanceId = impl->FindInstance(handle);
    if (instanceId != -1)
        Mixer::SetVolume(instanceId, volume * impl->volumeFactor);
}

void Effect::SetPitch(int handle, float pitch)
{
    const int instanceId = impl->FindInstance(handle);
    if (instanceId != -1)
        Mixer::SetPitch(instanceId, pitch);
}

int Effect::GetInstanceCount() const
{
    return impl->instanceCount;
}

int Effect::GetPlayingCount() const
{
    return int(impl->playing.size());
}

std::string const& Effect::GetName() const
{
    return impl->names[1];
}

int Effect::GetPriority() const
{
    return impl->priority;
}

bool Effect::IsLooping() const
{
    return impl->loop;
}

int Effect::GetStealPolicy() const
{
    return impl->stealPolicy;
}

float Effect::GetVolumeFactor() const
{
    return impl->volumeFactor;
}

} // namespace Audio
} // namespace Vexel
