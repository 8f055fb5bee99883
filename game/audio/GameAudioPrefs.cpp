#include "game/audio/GameAudioPrefs.h"

#include "engine/audio/Music.h"
#include "engine/audio/SoundEffects.h"
#include "engine/core/Delegate.h"
#include "game/scores/GamePrefs.h"

namespace
{
// The events' handlers are members of an object of their own.
class PrefsFollower
{
public:
    void OnSoundSwitched(bool on, bool override)
    {
        Vexel::Audio::Music::SetEnabled(on, override);
        Vexel::Audio::SoundEffects::SetEnabled(on, override);
    }

    void OnMusicVolume(float volume) { Vexel::Audio::Music::SetVolume(volume); }

    void OnSoundVolume(float volume) { Vexel::Audio::SoundEffects::SetVolume(volume); }

    bool following = false;
};

PrefsFollower follower;
} // namespace

namespace GameAudioPrefs
{

void Follow()
{
    if (follower.following)
        return;
    follower.following = true;
    GamePrefs::SoundSwitched().Subscribe(Vexel::Action<bool, bool>(&follower, &PrefsFollower::OnSoundSwitched));
    GamePrefs::MusicVolumeChanged().Subscribe(Vexel::Action<float>(&follower, &PrefsFollower::OnMusicVolume));
    GamePrefs::SoundVolumeChanged().Subscribe(Vexel::Action<float>(&follower, &PrefsFollower::OnSoundVolume));
}

void Stop()
{
    follower.following = false;
    GamePrefs::SoundSwitched().Unsubscribe(&follower);
    GamePrefs::MusicVolumeChanged().Unsubscribe(&follower);
    GamePrefs::SoundVolumeChanged().Unsubscribe(&follower);
}

} // namespace GameAudioPrefs
