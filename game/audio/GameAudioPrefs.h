// The player's sound options applied to the audio modules: the music and
// effects volumes and the sound switch follow the preferences' change events
// from Follow on. The game follows them from start-up, before the
// preferences are first read.
//
// Main thread only.
#pragma once

namespace GameAudioPrefs
{

// Subscribes once; later calls do nothing.
void Follow();
// Unsubscribes (for tests).
void Stop();

} // namespace GameAudioPrefs
