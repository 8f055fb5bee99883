// The player's options for the whole program, kept in "quellar_prefs.prf" in
// the save folder. File-static values behind free functions: every accessor
// but RecheckOtherMusic first makes sure the file has been read, so the first
// use anywhere loads the preferences. The music and effects volumes and the
// sound switch reach the audio through the change events below, which game
// audio follows (GameAudioPrefs); the preferences know no audio. The setters never save: Save runs at the first start
// (MarkFirstRunDone), after calibration, after name entry and on Pause.
//
// Main thread only.
#pragma once

#include "engine/core/Event.h"
#include "engine/core/Vector3.h"

#include <cstdint>
#include <string>

namespace GamePrefs
{

// Reads the file once it exists. Without a file the defaults (both volumes
// 1.0, sound on unless another application plays music) are applied once, and
// later calls only try the file again: changes made meanwhile are kept.
void Load();
// Writes every value (version 19) through a temporary file renamed over the
// old one; a failed write keeps the old file.
void Save();

std::string GetPlayerName();
void SetPlayerName(std::string const& name);

bool GetVibration();
void SetVibration(bool on);

// Sound is on when switched on and no other application plays music.
bool IsSoundEnabled();
bool GetSoundEnabled(); // the same as IsSoundEnabled
// Switches music and effects, letting them start even while another
// application plays music; switching on also raises SoundSwitchedOn.
void SetSoundEnabled(bool on);
// Raised by SetSoundEnabled(true) so that the game's music restarts its track.
Vexel::Event<>& SoundSwitchedOn();
// Raised whenever sound is switched: by the defaults or the file (on, false)
// and by SetSoundEnabled (on, true: the player's choice overrides).
Vexel::Event<bool, bool>& SoundSwitched();
// Raised with the new volume whenever one is applied: at load and by the
// setters.
Vexel::Event<float>& MusicVolumeChanged();
Vexel::Event<float>& SoundVolumeChanged();
// Applies the sound switch again once the other application's music stopped.
void RecheckOtherMusic();

float GetMusicVolume();
void SetMusicVolume(float volume);
float GetSoundVolume();
void SetSoundVolume(float volume);

bool GetTiltControls();
void SetTiltControls(bool on);
// Tilt controls switched on and a sensor to read them from. Without a
// sensor the game plays as if they were off; the preference stays as saved.
bool IsTiltInUse();
bool GetTargetLocks();
void SetTargetLocks(bool on);
bool GetTargetSweep();
void SetTargetSweep(bool on);

int32_t GetStartingWave();
void SetStartingWave(int32_t wave);

// Always 0: the stored value is saved but never used.
int32_t GetMusicSet();
void SetMusicSet(int32_t set);

bool IsFirstRunDone();
bool GetFirstRunDone(); // the same as IsFirstRunDone
// Sets the flag and saves at once.
void MarkFirstRunDone();

Vector3 GetTiltReference();
void SetTiltReference(Vector3 const& reference);

bool GetSubmitOnline();
void SetSubmitOnline(bool on);

// Forgets what was read and goes back to the program-start defaults, so the
// next accessor reads the file again. For tests.
void Unload();

} // namespace GamePrefs
