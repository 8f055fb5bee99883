#include "engine/audio/SoundEffects.h"

#include "engine/audio/EffectImpl.h"
#include "engine/audio/Mixer.h"
#include "engine/core/Delegate.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Platform.h"

#include <vector>

namespace Vexel
{
namespace Audio
{

namespace
{
// The target of the frame subscription.
class EffectsFrameHandler
{
public:
    // The refresh, then the mixer's cleanup of finished instances: their
    // voices return to the pool at the next refresh.
    void OnFrame(float dt)
    {
        SoundEffects::Refresh(dt);
        Mixer::CleanUpFinished();
    }
};

EffectsFrameHandler& GetFrameHandler()
{
    static EffectsFrameHandler handler;
    return handler;
}

void Deactivate()
{
    EffectVoicePool& pool = GetVoicePool();
    // Unloading takes an effect out of the set.
    std::vector<EffectImpl*> loaded(pool.loadedEffects.begin(), pool.loadedEffects.end());
    for (EffectImpl* effect : loaded)
        effect->Unload();
    Mixer::DestroyManager();
    pool.active = false;
}
} // namespace

void SoundEffects::Initialize(int voiceCount, bool enabled)
{
    EffectVoicePool& pool = GetVoicePool();
    if (pool.initialised)
        return;
    pool.initialised = true;
    pool.enabled = enabled;
    Refresh(0.0f);
    pool.voiceCount = voiceCount;
    pool.freeVoices = voiceCount;
    FrameEvents::Updating.Subscribe(Action<float>(&GetFrameHandler(), &EffectsFrameHandler::OnFrame));
}

bool SoundEffects::IsInitialized()
{
    return GetVoicePool().initialised;
}

bool SoundEffects::IsEnabled()
{
    return GetVoicePool().enabled;
}

int SoundEffects::GetVoiceCount()
{
    return GetVoicePool().voiceCount;
}

int SoundEffects::GetFreeVoiceCount()
{
    return GetVoicePool().freeVoices;
}

bool SoundEffects::IsActive()
{
    return GetVoicePool().active;
}

void SoundEffects::SetEnabled(bool enabled, bool override)
{
    EffectVoicePool& pool = GetVoicePool();
    pool.enabled = enabled;
    pool.override = override;
    Refresh(0.0f);
}

void SoundEffects::SetVolume(float volume)
{
    GetVoicePool().volume = volume;
}

float SoundEffects::GetVolume()
{
    return GetVoicePool().volume;
}

void SoundEffects::Refresh(float)
{
    EffectVoicePool& pool = GetVoicePool();
    if (!pool.initialised)
        return;
    if (!pool.enabled && pool.active)
        Deactivate();
    else if (pool.enabled && !pool.active && !pool.shutDown &&
             (!Platform::IsOtherMusicPlaying() || pool.override))
        pool.active = Mixer::CreateManager();
    if (!pool.active)
        return;
    Mixer::SetEffectsGroupVolume(pool.volume);
    std::vector<EffectImpl*> loaded(pool.loadedEffects.begin(), pool.loadedEffects.end());
    for (EffectImpl* effect : loaded)
        effect->ReleaseFinished();
}

void SoundEffects::Shutdown()
{
    EffectVoicePool& pool = GetVoicePool();
    pool.shutDown = true;
    if (pool.active)
        Deactivate();
    Mixer::DestroyManager();
    FrameEvents::Updating.Unsubscribe(&GetFrameHandler());
}

} // namespace Audio
} // namespace Vexel
