#include "game/scores/GamePrefs.h"

#include "engine/core/File.h"
#include "engine/core/Platform.h"
#include "game/scores/PrefsFile.h"
#include "game/scores/SaveWriter.h"

namespace
{
struct PrefsState
{
    PrefsRecord values;
    bool otherMusic = false; // another application played music when the defaults were applied
    bool defaultsApplied = false;
    bool soundSetWithoutFile = false;
    bool loaded = false; // the file has been read
};

PrefsState& State()
{
    static PrefsState state;
    return state;
}

void EnableAudio(bool enabled)
{
    GamePrefs::SoundSwitched().Raise(enabled, false);
}

void ApplyMusicVolume(float volume)
{
    State().values.musicVolume = volume;
    GamePrefs::MusicVolumeChanged().Raise(volume);
}

void ApplySoundVolume(float volume)
{
    State().values.effectsVolume = volume;
    GamePrefs::SoundVolumeChanged().Raise(volume);
}
} // namespace

namespace GamePrefs
{

void Load()
{
    PrefsState& state = State();
    if (state.loaded)
        return;
    if (!state.defaultsApplied)
    {
        state.defaultsApplied = true;
        state.otherMusic = Vexel::Platform::IsOtherMusicPlaying();
        ApplyMusicVolume(1.0f);
        ApplySoundVolume(1.0f);
    }
    Vexel::IO::File::RemoveLeftovers(PrefsRecord::FileName);
    int size = 0;
    uint8_t* bytes = Vexel::IO::File::ReadAllBytes(PrefsRecord::FileName, false, &size);
    if (size < 0)
    {
        // No file yet: sound follows the defaults until the first save, and
        // only the read is tried again.
        if (!state.soundSetWithoutFile)
        {
            state.soundSetWithoutFile = true;
            EnableAudio(!state.otherMusic);
        }
        return;
    }
    state.loaded = true;
    PrefsRecord read = state.values;
    const PrefsReadResult::Enum result = ReadPrefsFile(bytes, size, read);
    delete[] bytes;
    if (result != PrefsReadResult::OtherVersion)
    {
        state.values = read;
        ApplySoundVolume(read.effectsVolume);
        ApplyMusicVolume(read.musicVolume);
    }
    EnableAudio(state.values.soundEnabled && !state.otherMusic);
}

void Save()
{
    Load();
    PrefsRecord record = State().values;
    // What is on disk now matches what is in memory: no need to read it. A
    // failed save leaves that as it was; the values stay in memory and go
    // out again at the next save point.
    if (SaveWriter::SaveBytes(PrefsRecord::FileName, WritePrefsFile(record)))
        State().loaded = true;
}

std::string GetPlayerName()
{
    Load();
    return State().values.playerName;
}

void SetPlayerName(std::string const& name)
{
    Load();
    State().values.playerName = name;
}

bool GetVibration()
{
    Load();
    return State().values.vibration;
}

void SetVibration(bool on)
{
    Load();
    State().values.vibration = on;
}

bool IsSoundEnabled()
{
    Load();
    return State().values.soundEnabled && !State().otherMusic;
}

bool GetSoundEnabled()
{
    return IsSoundEnabled();
}

Vexel::Event<>& SoundSwitchedOn()
{
    static Vexel::Event<> event;
    return event;
}

Vexel::Event<bool, bool>& SoundSwitched()
{
    static Vexel::Event<bool, bool> event;
    return event;
}

Vexel::Event<float>& MusicVolumeChanged()
{
    static Vexel::Event<float> event;
    return event;
}

Vexel::Event<float>& SoundVolumeChanged()
{
    static Vexel::Event<float> event;
    return event;
}

void SetSoundEnabled(bool on)
{
    Load();
    PrefsState& state = State();
    state.otherMusic = false;
    state.values.soundEnabled = on;
    SoundSwitched().Raise(on, true);
    if (on)
        SoundSwitchedOn().Raise();
}

void RecheckOtherMusic()
{
    PrefsState& state = State();
    if (state.otherMusic && !Vexel::Platform::IsOtherMusicPlaying())
        SetSoundEnabled(state.values.soundEnabled);
}

float GetMusicVolume()
{
    Load();
    return State().values.musicVolume;
}

void SetMusicVolume(float volume)
{
    Load();
    ApplyMusicVolume(volume);
}

float GetSoundVolume()
{
    Load();
    return State().values.effectsVolume;
}

void SetSoundVolume(float volume)
{
    Load();
    ApplySoundVolume(volume);
}

bool IsTiltInUse()
{
    return GetTiltControls() && Vexel::Platform::HasTiltSensor();
}

bool GetTiltControls()
{
    Load();
    return State().values.tiltControls;
}

void SetTiltControls(bool on)
{
    Load();
    State().values.tiltControls = on;
}

bool GetTargetLocks()
{
    Load();
    return State().values.targetLocks;
}

void SetTargetLocks(bool on)
{
    Load();
    State().values.targetLocks = on;
}

bool GetTargetSweep()
{
    Load();
    return State().values.targetSweep;
}

void SetTargetSweep(bool on)
{
    Load();
    State().values.targetSweep = on;
}

int32_t GetStartingWave()
{
    Load();
    return State().values.startingWave;
}

void SetStartingWave(int32_t wave)
{
    Load();
    State().values.startingWave = wave;
}

int32_t GetMusicSet()
{
    Load();
    return 0;
}

void SetMusicSet(int32_t set)
{
    Load();
    State().values.musicSet = set;
}

bool IsFirstRunDone()
{
    Load();
    return State().values.firstRunDone;
}

bool GetFirstRunDone()
{
    return IsFirstRunDone();
}

void MarkFirstRunDone()
{
    Load();
    State().values.firstRunDone = true;
    Save();
}

Vector3 GetTiltReference()
{
    Load();
    return State().values.tiltReference;
}

void SetTiltReference(Vector3 const& reference)
{
    Load();
    State().values.tiltReference = reference;
}

bool GetSubmitOnline()
{
    Load();
    return State().values.submitOnline;
}

void SetSubmitOnline(bool on)
{
    Load();
    State().values.submitOnline = on;
}

void Unload()
{
    State() = PrefsState();
}

} // namespace GamePrefs
