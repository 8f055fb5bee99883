#include "game/scores/GamePrefs.h"

namespace GamePrefs
{

void RecheckOtherMusic() {}

int32_t GetMusicSet()
{
    return 0;
}

Vexel::Event<>& SoundSwitchedOn()
{
    static Vexel::Event<> event;
    return event;
}

} // namespace GamePrefs
