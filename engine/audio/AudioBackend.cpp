#include "engine/audio/AudioBackend.h"

#include "engine/audio/NullAudioBackend.h"

#include <atomic>

namespace Vexel
{
namespace Audio
{

namespace
{
// Never destroyed: the music thread may still ask during exit.
AudioBackend& Null()
{
    static AudioBackend* null = new NullAudioBackend();
    return *null;
}

std::atomic<AudioBackend*> installed{nullptr};
} // namespace

void SetBackend(AudioBackend* backend)
{
    installed = backend;
}

AudioBackend& GetBackend()
{
    AudioBackend* backend = installed;
    return backend != nullptr ? *backend : Null();
}

} // namespace Audio
} // namespace Vexel
