#include "engine/audio/MusicObject.h"

#include "engine/audio/AudioBackend.h"
#include "engine/audio/AudioDevice.h"
#include "engine/audio/Mixer.h"
#include "engine/core/File.h"
#include "engine/core/Log.h"

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
        GetBackend().FreeMusic(music);
    loopsState = kNoMusic;
    AudioDevice::Release();
}

int MusicObject::Load(std::string const& fileName, int newLoops)
{
    loops = newLoops;
    AudioBackend& backend = GetBackend();
    if (backend.IsMusicPlaying())
        backend.PauseMusic();
    if (music)
    {
        backend.FreeMusic(music);
        music = nullptr;
    }
    music = backend.LoadMusic(IO::File::ResolveForRead(fileName));
    if (!music)
    {
        Log::Error("audio", "%s (loading \"%s\")", backend.GetError().c_str(), fileName.c_str());
        return -1;
    }
    return 0;
}

int MusicObject::Play()
{
    // A failed load was reported already.
    if (!music)
        return -1;
    AudioBackend& backend = GetBackend();
    if (!backend.PlayMusic(music, -1))
    {
        Log::Error("audio", "%s", backend.GetError().c_str());
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
            GetBackend().PauseMusic();
        loopsState = kNoMusic;
        return 0;
    }
    if (!music)
    {
        loopsState = kNoMusic;
        return -1;
    }
    AudioBackend& backend = GetBackend();
    if (!backend.PlayMusic(music, 1))
    {
        Log::Error("audio", "%s", backend.GetError().c_str());
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
    GetBackend().SetMusicVolume(level);
}

void MusicObject::ApplyVolume()
{
    SetVolume(volume);
}

bool MusicObject::IsPlaying() const
{
    return GetBackend().IsMusicPlaying();
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
