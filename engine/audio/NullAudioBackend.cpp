#include "engine/audio/NullAudioBackend.h"

namespace Vexel
{
namespace Audio
{

namespace
{
// What the null back end hands out as carriers and music: never read.
char token;
} // namespace

bool NullAudioBackend::OpenDevice(int rate, int, int, int, int, int* openedRate)
{
    *openedRate = rate;
    return true;
}

void* NullAudioBackend::LoadCarrier(uint8_t*, uint32_t)
{
    return &token;
}

void* NullAudioBackend::LoadMusic(std::string const&)
{
    return &token;
}

bool NullAudioBackend::PlayMusic(void*, int)
{
    musicPlaying = true;
    return true;
}

} // namespace Audio
} // namespace Vexel
