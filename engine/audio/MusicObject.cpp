#include "engine/audio/MusicObject.h"

#include "engine/audio/AudioBackend.h"
#include "engine/audio/AudioDevice.h"
#include "engine/audio/Mixer.h"
#include "engine/audio/MpegAudioProbe.h"
#include "engine/core/File.h"
#include "engine/core/Log.h"
#include "engine/core/Mutex.h"

#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <set>
#include <strings.h>
#include <vector>

namespace Vexel
{
namespace Audio
{

namespace
{
std::atomic<int> loopsState{MusicObject::kNoMusic};

// Enough of an MP3 to find its first frames after a generous ID3 tag.
const size_t kProbeBytes = 256 * 1024;

// A track that fails is tried again each time it is asked for: say it once.
Threading::Mutex reportedMutex;
std::set<std::string> reported;

void ReportOnce(std::string const& fileName, std::string const& message)
{
    {
        Threading::ScopedLock<Threading::Mutex> lock(reportedMutex);
        if (!reported.insert(fileName).second)
            return;
    }
    Log::Error("audio", "%s", message.c_str());
}

bool IsMp3Name(std::string const& name)
{
    return name.size() >= 4 && strcasecmp(name.c_str() + name.size() - 4, ".mp3") == 0;
}

// Null when the file is worth handing to the mixer (a missing one is: the
// mixer says so), else what is wrong with it.
const char* CheckFile(std::string const& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return nullptr;
    if (S_ISDIR(info.st_mode))
        return "is a folder";
    if (!S_ISREG(info.st_mode))
        return "is not a regular file";
    if (info.st_size == 0)
        return "is empty";
    if (!IsMp3Name(path))
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(size_t(info.st_size) < kProbeBytes ? size_t(info.st_size) : kProbeBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!in)
        return "cannot be read";
    if (!MpegAudioProbe::HasFrames(bytes.data(), bytes.size(), bytes.size() == size_t(info.st_size)))
        return "holds no MPEG audio frame";
    return nullptr;
}
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
    const std::string path = IO::File::ResolveForRead(fileName);
    // The mixer's reader takes anything and plays silence: look first.
    if (const char* problem = CheckFile(path))
    {
        ReportOnce(fileName, "music \"" + fileName + "\" " + problem + "; playing on without it");
        return -1;
    }
    music = backend.LoadMusic(path);
    if (!music)
    {
        ReportOnce(fileName, backend.GetError() + " (loading \"" + fileName + "\")");
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
