#include "game/audio/GameSounds.h"

#include "engine/audio/Effect.h"
#include "engine/core/Random.h"
#include "game/audio/GameSoundTable.h"

namespace
{

const GameSoundEntry kSounds[GameSoundTable::kCount] = {
    {4, 1.21f, 0.45f, 0.45f, 0.2f, 50, 0, 0, "explosion_rcq1"},
    {4, 0.68f, 0.38f, 0.7f, 0.2f, 60, 0, 0, "explosion_rcq2"},
    {3, 0.8f, 0.4f, 0.9f, 0.1f, 70, 0, 0, "explosion_rcq5"},
    {3, 0.8f, 0.4f, 0.68f, 0.18f, 80, 0, 0, "explosion_rcq4"},
    {3, 0.52f, 0.38f, 0.52f, 0.24f, 10, 0, 0, "explosion_rcq0"},
    {2, 1.0f, 0.0f, 1.0f, 0.0f, 110, 1, 0, "beam_charge"},
    {1, 0.9f, 0.15f, 0.95f, 0.0f, 120, 0, 0, "beam_fire__81103__Pellwick__Blast_Revisited"},
    {1, 1.0f, 0.0f, 1.0f, 0.0f, 130, 1, 0, "laserfire"},
    {2, 1.0f, 0.0f, 1.0f, 0.0f, 100, 0, 0, "sfx_menubeep"},
};

// Created at their first play and kept until exit.
Vexel::Audio::Effect* effects[GameSoundTable::kCount] = {};

GameSounds::IObserver* observer = nullptr;

// The sound set's own generator, used only for the jitter.
Vexel::Random& JitterRandom()
{
    static Vexel::Random random(1, 123184);
    return random;
}

} // namespace

namespace GameSoundTable
{

GameSoundEntry const* Entry(int id)
{
    return id >= 0 && id < kCount ? &kSounds[id] : nullptr;
}

void Jitter(GameSoundEntry const& entry, Vexel::Random& random, float volume, float pitch, float& outVolume,
            float& outPitch)
{
    outVolume = (entry.volumeBase + random.NextFloat(0.0f, entry.volumeJitter)) * volume;
    outPitch = (entry.pitchBase + random.NextFloat(0.0f, entry.pitchJitter)) * pitch;
}

Vexel::Audio::Effect* CreatedEffect(int id)
{
    return Entry(id) ? effects[id] : nullptr;
}

} // namespace GameSoundTable

namespace GameSounds
{

int Play(int id, float volume, float pitch)
{
    if (observer)
        observer->OnPlay(id, volume, pitch);
    GameSoundEntry const* entry = GameSoundTable::Entry(id);
    if (!entry)
        return -1;
    if (!effects[id])
        effects[id] = new Vexel::Audio::Effect(entry->asset, entry->instances, 1.0f, entry->priority,
                                               entry->perInstanceSounds != 0, entry->mode);
    float v, p;
    GameSoundTable::Jitter(*entry, JitterRandom(), volume, pitch, v, p);
    return effects[id]->Play(v, p);
}

void Stop(int handle)
{
    if (observer)
        observer->OnStop(handle);
    for (Vexel::Audio::Effect* effect : effects)
        if (effect)
            effect->Stop(handle);
}

void SetVolumeAndPitch(int handle, float volume, float pitch)
{
    if (observer)
        observer->OnSetVolumeAndPitch(handle, volume, pitch);
    for (Vexel::Audio::Effect* effect : effects)
        if (effect)
        {
            effect->SetVolume(handle, volume);
            effect->SetPitch(handle, pitch);
        }
}

void PlayMenuBeep(int variant)
{
    float pitch = variant == 0 ? 1.2f : (variant == 1 ? 0.8f : 1.0f);
    Play(8, 1.2f, pitch);
}

IObserver* SetObserver(IObserver* newObserver)
{
    IObserver* previous = observer;
    observer = newObserver;
    return previous;
}

} // namespace GameSounds
