#include "engine/audio/Mixer.h"

#include "engine/audio/BGMusic.h"
#include "engine/audio/SingleSoundEffect.h"
#include "engine/audio/SoundEffectInstance.h"
#include "engine/audio/SoundEffectObject.h"
#include "engine/audio/WavData.h"
#include "engine/core/Platform.h"

#include <atomic>

namespace Vexel
{
namespace Audio
{
namespace Mixer
{

namespace
{
SoundEffectObject* manager = nullptr;
// The command thread reads the master volume.
std::atomic<float> masterVolume{1.0f};
std::atomic<float> secondEffectsVolume{1.0f};
std::atomic<float> effectsGroupVolume{1.0f};

void RecomputeGains()
{
    if (manager)
        manager->ForEachInstance([](SoundEffectInstance* instance) { instance->UpdateGain(); });
}

SoundEffectInstance* Find(int id)
{
    return manager ? manager->FindInstance(id) : nullptr;
}
} // namespace

bool CreateManager()
{
    DestroyManager();
    manager = SoundEffectObject::Create();
    return manager != nullptr;
}

void DestroyManager()
{
    SoundEffectObject* old = manager;
    manager = nullptr;
    delete old;
}

bool HasManager()
{
    return manager != nullptr;
}

void SetEffectsGroupVolume(float volume)
{
    effectsGroupVolume = volume;
    RecomputeGains();
}

float GetEffectsGroupVolume()
{
    return effectsGroupVolume;
}

void SetMasterVolume(float volume)
{
    masterVolume = volume;
    BGMusicApplyVolume();
    RecomputeGains();
}

float GetMasterVolume()
{
    return masterVolume;
}

void SetSecondEffectsVolume(float volume)
{
    secondEffectsVolume = volume;
    RecomputeGains();
}

float GetSecondEffectsVolume()
{
    return secondEffectsVolume;
}

int LoadEffect(std::string const& name, int* ids, int count, bool loop)
{
    if (count < 0)
        count = 0;
    for (int i = 0; i < count; ++i)
        ids[i] = -1;
    if (!manager && !CreateManager())
        return -1;
    WavData* data = WavData::Load(Platform::AppendExtension(name, "wav"));
    if (!data)
        return -1;
    SingleSoundEffect* effect = new SingleSoundEffect(data, count, loop, ids);
    if (effect->IsEmpty())
    {
        delete effect;
        return count == 0 ? 0 : -1;
    }
    manager->Add(effect);
    return 0;
}

int LoadEffect(std::string const& name, int* id)
{
    return LoadEffect(name, id, 1, false);
}

void Unload(int id)
{
    if (manager)
        manager->Unload(id);
}

bool Play(int id)
{
    SoundEffectInstance* instance = Find(id);
    return instance && instance->Play();
}

void Stop(int id)
{
    if (SoundEffectInstance* instance = Find(id))
        instance->Stop();
}

bool IsStopped(int id)
{
    SoundEffectInstance* instance = Find(id);
    return !instance || !instance->IsPlaying();
}

bool IsPlaying(int id)
{
    SoundEffectInstance* instance = Find(id);
    return instance && instance->IsPlaying();
}

void SetPitch(int id, float pitch)
{
    if (SoundEffectInstance* instance = Find(id))
        instance->SetPitch(pitch);
}

void SetVolume(int id, float volume)
{
    if (SoundEffectInstance* instance = Find(id))
        instance->SetVolume(volume);
}

int GetStep(int id)
{
    SoundEffectInstance* instance = Find(id);
    return instance ? instance->GetStep() : -1;
}

int GetGain(int id)
{
    SoundEffectInstance* instance = Find(id);
    return instance ? instance->GetGain() : -1;
}

int SetListenerPosition(float, float, float)
{
    return 0;
}

int SetEffectPosition(int, float, float, float)
{
    return 0;
}

int SetDistanceFactor(float)
{
    return 0;
}

void CleanUpFinished()
{
    if (manager)
        manager->OnUpdate(0.0f);
}

} // namespace Mixer
} // namespace Audio
} // namespace Vexel
