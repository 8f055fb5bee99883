#include "engine/audio/SingleSoundEffect.h"

#include "engine/audio/SoundEffectInstance.h"
#include "engine/audio/WavData.h"

#include <atomic>

namespace Vexel
{
namespace Audio
{

SingleSoundEffect::SingleSoundEffect(WavData* data, int count, bool loop, int* ids) : data(data)
{
    for (int i = 0; i < count; ++i)
    {
        const int id = NextInstanceId();
        instances[id] = new SoundEffectInstance(id, data, loop);
        if (ids)
            ids[i] = id;
    }
}

SingleSoundEffect::~SingleSoundEffect()
{
    for (auto const& entry : instances)
        delete entry.second;
    instances.clear();
    delete data;
}

SoundEffectInstance* SingleSoundEffect::Find(int id) const
{
    auto found = instances.find(id);
    return found == instances.end() ? nullptr : found->second;
}

bool SingleSoundEffect::Remove(int id)
{
    auto found = instances.find(id);
    if (found == instances.end())
        return false;
    delete found->second;
    instances.erase(found);
    return true;
}

int SingleSoundEffect::NextInstanceId()
{
    static std::atomic<int> counter{0};
    int id = ++counter;
    // -1 means "not loaded" to the callers; skip it and 0 should the counter
    // ever wrap.
    while (id <= 0)
        id = ++counter;
    return id;
}

} // namespace Audio
} // namespace Vexel
