// One loaded WAV file and the instances that play it.
#pragma once

#include <map>

namespace Vexel
{
namespace Audio
{

class SoundEffectInstance;
class WavData;

class SingleSoundEffect
{
public:
    // Takes the data; makes count instances with fresh process-wide ids
    // (written to ids).
    SingleSoundEffect(WavData* data, int count, bool loop, int* ids);
    // Deletes the remaining instances (stopping them), then the data.
    ~SingleSoundEffect();
    SingleSoundEffect(const SingleSoundEffect&) = delete;
    SingleSoundEffect& operator=(const SingleSoundEffect&) = delete;

    SoundEffectInstance* Find(int id) const;
    // Stops and deletes one instance; false when it is not here.
    bool Remove(int id);
    bool IsEmpty() const { return instances.empty(); }
    std::map<int, SoundEffectInstance*> const& GetInstances() const { return instances; }
    WavData const* GetData() const { return data; }

    // The next id of the process-wide counter (1 first).
    static int NextInstanceId();

private:
    WavData* data;
    std::map<int, SoundEffectInstance*> instances;
};

} // namespace Audio
} // namespace Vexel
