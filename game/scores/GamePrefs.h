// Stand-in until the preferences land: the least of the player's options
// that the game's music needs, with their defaults (sound on, music set 0).
#pragma once

#include "engine/core/Event.h"

#include <cstdint>

namespace GamePrefs
{

// Applies the sound switch again once another application's music stopped.
// Nothing to do here: no other music is ever noted.
void RecheckOtherMusic();

// Always 0.
int32_t GetMusicSet();

// Raised when sound is switched back on, so that the game's music restarts
// its track.
Vexel::Event<>& SoundSwitchedOn();

} // namespace GamePrefs
