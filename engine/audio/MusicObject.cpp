#include "engine/audio/MusicObject.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/Mixer.h"
#include "engine/core/File.h"
#include "engine/core/Log.h"

#include <SDL_mixer.h>

#include <atomic>

namespace Vexel
{
namespace Audio
{

namespace
{
std::atomic<int> loopsState{MusicObject::kNoMusic};
} // namespace

MusicObject* MusicObject::Create()
{
    if (!AudioDevice::Acquire())
        return nullptr;
    return new MusicObject();
}

MusicObject::~MusicObject()
{
    if (music)
        Mix_FreeMusic(music);
    loopsState = kNoMusic;
    AudioDevice::Release();
}

int MusicObject::Load(std::string const& fileName, int newLoops)
{
    loops = newLoops;
    if (Mix_PlayingMusic())
        Mix_PauseMusic();
    if (music)
    {
        Mix_FreeMusic(music);
        music = nullptr;
    }
    music = Mix_LoadMUS(IO::File::ResolveForRead(fileName).c_str());
    if (!music)
    {
        Log::Error("audio", "SDL_mixer error: %s (loading \"%s\")", SDL_GetError(), fileName.c_str());
        return -1;
    }
    return 0;
}

int MusicObject::Play()
{
    // A failed load was reported already.
    if (!music)
        return -1;
    if (Mix_PlayMusic(music, -1) != 0)
    {
        Log::Error("audio", "SDL_mixer error: %s", SDL_GetError());
        return -1;
    }
    loopsState = loops;
    return 0;
}

int MusicObject::PlayOnce(bool play)
{
    if (!play)
    {
        if (music)
            Mix_PauseMusic();
        loopsState = kNoMusic;
        return 0;
    }
    if (!music)
    {
        loopsState = kNoMusic;
        return -1;
    }
    if (Mix_PlayMusic(music, 1) != 0)
    {
        Log::Error("audio", "SDL_mixer error: %s", SDL_GetError());
        loopsState = kNoMusic;
        return -1;
    }
    // This music is now the one last started: a track played once must
    // count as playing for as long as it plays.
    loopsState = loops;
    return 0;
}

void MusicObject::SetVolume(float newVolume)
{
    volume = newVolume;
    const float scaled = volume * 128.0f * Mixer::GetMasterVolume();
    int level = 0;
    if (scaled >= 128.0f)
        level = 128;
    else if (scaled > 0.0f)
        level = int(scaled);
    Mix_VolumeMusic(level);
}

void MusicObject::ApplyVolume()
{
    SetVolume(volume);
}

bool MusicObject::IsPlaying() const
{
    return Mix_PlayingMusic() != 0;
}

int MusicObject::GetLoopsState()
{
    return loopsState;
}

void MusicObject::SetLoopsState(int value)
{
    loopsState = value;
}

} // namespace Audio
} // namespace Vexel
