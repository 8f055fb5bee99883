#include "game/audio/GameMusic.h"

#include "engine/audio/Music.h"
#include "engine/audio/ParamFactor.h"
#include "engine/core/FrameEvents.h"
#include "game/scores/GamePrefs.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>

class GameMusic::GameMusicHelper
{
public:
    void OnUpdate(float dt) { GameMusic::Update(dt); }
    void OnSoundSwitchedOn() { GameMusic::Restart(); }
};

namespace
{

const char* const kTrackNames[] = {"Menu", "InGame", "Tutorial", "Win"};
const int kTrackCount = 4;

class ModulePlayer : public GameMusic::IMusicPlayer
{
public:
    int Play(std::string const& name, int queueMode, int playMode, float first, float second) override
    {
        return Vexel::Audio::Music::Play(name, queueMode, playMode, first, second);
    }
    int GetTrackState(int id) override { return Vexel::Audio::Music::GetTrackState(id); }
    void StopCurrent(bool flag, float fade) override { Vexel::Audio::Music::StopCurrent(flag, fade); }
};

struct State
{
    // Its value is the fade level.
    Vexel::Audio::ParamFactor volumeFactor{1.0f};
    float fadeRate = 0.0f;
    int32_t currentTrack = -1;
    bool currentRepeat = false;
    int32_t musicId = -1;
    float pendingFadeIn = 0.33f;
    int32_t pendingTrack = -1;
    bool pendingRepeat = false;
    bool started = false;
    GameMusic::GameMusicHelper helper;
    ModulePlayer modulePlayer;
    GameMusic::IMusicPlayer* player = nullptr;
};

State& S()
{
    static State state;
    return state;
}

GameMusic::IMusicPlayer& Player()
{
    return S().player ? *S().player : S().modulePlayer;
}

float Clamp01(float v)
{
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

void AddToLevel(float amount)
{
    Vexel::Audio::ParamFactor& level = S().volumeFactor;
    level.SetValue(Clamp01(level.GetValue() + amount));
}

// Once: the fade level joins the music volume and the fader runs every frame.
void FirstUse()
{
    State& s = S();
    if (s.started)
        return;
    s.started = true;
    s.volumeFactor.SetValue(0.0f);
    Vexel::Audio::Music::GetVolumeFactors().Add(&s.volumeFactor);
    Vexel::FrameEvents::Updating.Subscribe(
        Vexel::Action<float>(&s.helper, &GameMusic::GameMusicHelper::OnUpdate));
    GamePrefs::SoundSwitchedOn().Subscribe(
        Vexel::Action<>(&s.helper, &GameMusic::GameMusicHelper::OnSoundSwitchedOn));
}

void StartCurrent()
{
    State& s = S();
    s.musicId = Player().Play(GameMusic::TrackName(s.currentTrack), Vexel::Audio::MusicQueueMode::Replace,
                              s.currentRepeat ? Vexel::Audio::MusicPlayMode::Repeat
                                              : Vexel::Audio::MusicPlayMode::OnceThenNext,
                              1.0f, 0.0f);
}

template <class T> void WriteRaw(std::ostream& out, T value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.write(reinterpret_cast<const char*>(bytes), sizeof(T));
}

// Leaves the value as it was when the stream runs short.
template <class T> void ReadRaw(std::istream& in, T& value)
{
    unsigned char bytes[sizeof(T)];
    if (in.read(reinterpret_cast<char*>(bytes), sizeof(T)))
        std::memcpy(&value, bytes, sizeof(T));
}

} // namespace

float GameMusic::FadeRate(float seconds)
{
    if (!(seconds > 0.001f)) // also for NaN
        return 1000.0f;
    return 1.0f / (seconds < 100.0f ? seconds : 100.0f);
}

std::string GameMusic::TrackName(int track)
{
    int index = GamePrefs::GetMusicSet() * kTrackCount + track;
    return index >= 0 && index < kTrackCount ? kTrackNames[index] : "";
}

void GameMusic::Play(int track, bool repeat, float fadeOutSeconds, float fadeInSeconds)
{
    FirstUse();
    State& s = S();
    if (track == s.currentTrack)
    {
        s.pendingTrack = -1;
        s.currentRepeat = repeat;
        s.fadeRate = FadeRate(fadeInSeconds);
    }
    else
    {
        s.pendingFadeIn = fadeInSeconds;
        s.pendingTrack = track;
        s.pendingRepeat = repeat;
        s.fadeRate = -FadeRate(fadeOutSeconds);
    }
    Update(0.0f);
}

void GameMusic::Restart()
{
    State& s = S();
    if (s.currentTrack < 0)
        return;
    Player().StopCurrent(false, 1.0f);
    StartCurrent();
}

void GameMusic::Update(float dt)
{
    State& s = S();
    GamePrefs::RecheckOtherMusic();
    if (dt <= 0.005f)
        dt = 0.005f;
    // Half the step before the switch test and half after it.
    if (Player().GetTrackState(s.musicId) == Vexel::Audio::MusicTrackState::Playing)
        AddToLevel(s.fadeRate * dt * 0.5f);
    float level = s.volumeFactor.GetValue();
    if (s.currentTrack == -1 || (level <= 0.0f && s.fadeRate < 0.0f) ||
        Player().GetTrackState(s.musicId) == Vexel::Audio::MusicTrackState::Absent)
    {
        s.currentTrack = -1;
        s.volumeFactor.SetValue(0.0f);
        if (s.pendingTrack >= 0 && s.pendingTrack < kTrackCount)
        {
            s.currentTrack = s.pendingTrack;
            s.pendingTrack = -1;
            s.currentRepeat = s.pendingRepeat;
            s.pendingRepeat = false;
            s.fadeRate = FadeRate(s.pendingFadeIn);
            if (s.fadeRate > 100.0f)
                s.volumeFactor.SetValue(1.0f);
            StartCurrent();
        }
    }
    if (Player().GetTrackState(s.musicId) == Vexel::Audio::MusicTrackState::Playing)
        AddToLevel(s.fadeRate * dt * 0.5f);
}

void GameMusic::Save(std::ostream& stream)
{
    State const& s = S();
    WriteRaw<float>(stream, s.volumeFactor.GetValue());
    WriteRaw<float>(stream, s.fadeRate);
    WriteRaw<int32_t>(stream, s.currentTrack);
    WriteRaw<uint8_t>(stream, s.currentRepeat ? 1 : 0);
    WriteRaw<float>(stream, s.pendingFadeIn);
    WriteRaw<int32_t>(stream, s.pendingTrack);
    WriteRaw<uint8_t>(stream, s.pendingRepeat ? 1 : 0);
}

void GameMusic::Load(std::istream& stream)
{
    FirstUse();
    State& s = S();
    if (s.currentTrack >= 0)
        Player().StopCurrent(false, 1.0f);
    // A short stream keeps what could be read; the rest means "no music".
    float level = 0.0f, rate = 0.0f, fadeIn = 0.33f;
    int32_t current = -1, pending = -1;
    uint8_t currentRepeat = 0, pendingRepeat = 0;
    ReadRaw(stream, level);
    ReadRaw(stream, rate);
    ReadRaw(stream, current);
    ReadRaw(stream, currentRepeat);
    s.musicId = -1;
    ReadRaw(stream, fadeIn);
    ReadRaw(stream, pending);
    ReadRaw(stream, pendingRepeat);
    // Damaged numbers must not poison the music volume.
    s.volumeFactor.SetValue(std::isfinite(level) ? Clamp01(level) : 0.0f);
    s.fadeRate = std::isfinite(rate) ? rate : 0.0f;
    s.currentTrack = current >= -1 && current < kTrackCount ? current : -1;
    s.currentRepeat = currentRepeat != 0;
    s.pendingFadeIn = fadeIn;
    s.pendingTrack = pending;
    s.pendingRepeat = pendingRepeat != 0;
    if (s.currentTrack >= 0)
        StartCurrent();
}

float GameMusic::GetFadeLevel()
{
    return S().volumeFactor.GetValue();
}
float GameMusic::GetFadeRate()
{
    return S().fadeRate;
}
int GameMusic::GetCurrentTrack()
{
    return S().currentTrack;
}
int GameMusic::GetPendingTrack()
{
    return S().pendingTrack;
}
int GameMusic::GetMusicId()
{
    return S().musicId;
}

GameMusic::IMusicPlayer* GameMusic::SetPlayer(IMusicPlayer* player)
{
    IMusicPlayer* previous = S().player;
    S().player = player;
    return previous;
}

void GameMusic::Reset()
{
    State& s = S();
    s.volumeFactor.SetValue(s.started ? 0.0f : 1.0f);
    s.fadeRate = 0.0f;
    s.currentTrack = -1;
    s.currentRepeat = false;
    s.musicId = -1;
    s.pendingFadeIn = 0.33f;
    s.pendingTrack = -1;
    s.pendingRepeat = false;
}
