// The rows behind GameSounds: which WAV each id loads, how many instances
// may sound at once, its voice priority and how much its volume and pitch
// vary. Kept apart so that tests can check the table and the jitter.
#pragma once

#include <cstdint>

namespace Vexel
{
class Random;
namespace Audio
{
class Effect;
}
} // namespace Vexel

struct GameSoundEntry
{
    int32_t instances;
    float pitchBase;
    float pitchJitter;
    float volumeBase;
    float volumeJitter;
    int32_t priority;
    // 1: the effect loops, one back-end sound per instance.
    uint8_t perInstanceSounds;
    // The effect's steal policy (0 everywhere: restart its own oldest).
    int32_t mode;
    const char* asset;
};

namespace GameSoundTable
{

const int kCount = 9;

// The row of an id, or null outside 0..kCount-1.
GameSoundEntry const* Entry(int id);

// The volume and pitch one play sounds at: (base + jitter drawn in [0,
// jitter)) x the caller's value, the volume drawn first.
void Jitter(GameSoundEntry const& entry, Vexel::Random& random, float volume, float pitch, float& outVolume,
            float& outPitch);

// The effect of an id once it has been played, else null.
Vexel::Audio::Effect* CreatedEffect(int id);

} // namespace GameSoundTable
