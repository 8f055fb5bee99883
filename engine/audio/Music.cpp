#include "engine/audio/Music.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/BGMusic.h"
#include "engine/audio/ParamFactor.h"
#include "engine/core/Delegate.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Platform.h"

#include <deque>

namespace Vexel
{
namespace Audio
{

namespace
{
const int kIdModulus = 1000000000;

struct Track
{
    std::string name;
    float floats[4];
    int playMode;
    bool started = false;
    bool wasStarted = false;
    bool paused = false;
    int id;
};

class MusicModule
{
public:
    ~MusicModule()
    {
        for (Track* track : queue)
            delete track;
    }

    void OnFrame(float dt) { Music::Refresh(dt); }

    bool initialised = false;
    bool enabled = true;
    bool override = false;
    bool active = false;
    bool holdsDevice = false;
    bool shutDown = false;
    float volume = 1.0f;
    ParamFactorSet factors;
    std::deque<Track*> queue;
    int idCounter = 0;
    Event<std::string const&> started;
    Event<std::string const&> stopped;
    Event<std::string const&> restartedOnce;
    Event<std::string const&> restartedLooped;
};

MusicModule& GetModule()
{
    static MusicModule module;
    return module;
}

Track* MakeTrack(std::string const& name, int playMode, float first, float second)
{
    MusicModule& module = GetModule();
    module.idCounter = (module.idCounter + 1) % kIdModulus;
    Track* track = new Track();
    track->name = name;
    track->floats[0] = first;
    track->floats[1] = second;
    track->floats[2] = 1e9f;
    track->floats[3] = 0.0f;
    track->playMode = playMode;
    track->id = module.idCounter;
    return track;
}

Track* Current()
{
    MusicModule& module = GetModule();
    return module.queue.empty() ? nullptr : module.queue.front();
}

void StartTrack(Track* track)
{
    MusicModule& module = GetModule();
    if (track->started || !module.active)
        return;
    BGMusicLoad(Platform::AppendExtension(track->name, "mp3"), track->id);
    track->started = true;
    track->wasStarted = true;
    track->paused = false;
    BGMusicPlayLooped();
    if (track->playMode != MusicPlayMode::Repeat)
        BGMusicPlayOnce(true);
    module.started.Raise(track->name);
}

void StopTrack(Track* track, bool flag)
{
    if (!track->started)
        return;
    track->started = false;
    track->paused = true;
    BGMusicPlayOnce(flag);
    BGMusicStop();
    GetModule().stopped.Raise(track->name);
}

// Stops a track so that it starts again from the beginning later: an
// interrupted track resumes once the interrupting one has ended.
void StopTrackForLater(Track* track)
{
    track->wasStarted = false;
    track->paused = true;
    BGMusicPlayOnce(true);
    BGMusicStop();
    if (track->started)
    {
        track->started = false;
        GetModule().stopped.Raise(track->name);
    }
}

void ApplyVolume()
{
    MusicModule& module = GetModule();
    float volume = module.factors.GetProduct() * module.volume;
    if (!(volume > 0.0f))
        volume = 0.0f;
    else if (volume > 1.0f)
        volume = 1.0f;
    BGMusicSetVolume(volume);
}

void Activate()
{
    MusicModule& module = GetModule();
    if (module.active || module.shutDown || !module.enabled)
        return;
    if (Platform::IsOtherMusicPlaying() && !module.override)
        return;
    if (!module.holdsDevice)
    {
        // Without a device the module stays inactive (reported once).
        if (!AudioDevice::Acquire())
            return;
        module.holdsDevice = true;
    }
    BGMusicOff();
    ApplyVolume();
    module.active = true;
}

void Deactivate()
{
    MusicModule& module = GetModule();
    BGMusicPlayOnce(false);
    BGMusicStop();
    if (Track* track = Current())
        StopTrackForLater(track);
    BGMusicUnload();
    module.active = false;
    if (module.holdsDevice)
    {
        module.holdsDevice = false;
        AudioDevice::Release();
    }
}

void StopCurrentWithMode(bool flag, int playMode)
{
    MusicModule& module = GetModule();
    if (!module.initialised || module.shutDown)
        return;
    if (Track* track = Current())
    {
        track->playMode = playMode;
        StopTrack(track, flag);
    }
    Music::Refresh();
}
} // namespace

void Music::Initialize(bool enabled)
{
    MusicModule& module = GetModule();
    if (module.initialised || module.shutDown)
        return;
    module.initialised = true;
    module.enabled = enabled;
    BGMusicStart();
    FrameEvents::Animating.Subscribe(Action<float>(&module, &MusicModule::OnFrame));
}

bool Music::IsInitialized()
{
    return GetModule().initialised;
}

bool Music::IsEnabled()
{
    return GetModule().enabled;
}

bool Music::IsActive()
{
    return GetModule().active;
}

void Music::SetEnabled(bool enabled, bool override)
{
    MusicModule& module = GetModule();
    module.enabled = enabled;
    module.override = override;
    Refresh();
}

void Music::SetVolume(float volume)
{
    GetModule().volume = volume;
}

float Music::GetVolume()
{
    return GetModule().volume;
}

ParamFactorSet& Music::GetVolumeFactors()
{
    return GetModule().factors;
}

int Music::Play(std::string const& name, int queueMode, int playMode, float first, float second)
{
    MusicModule& module = GetModule();
    if (!module.initialised || module.shutDown)
        return -1;
    // Become active first, so that a play right after start-up starts.
    Activate();
    if (module.enabled && !module.active && AudioDevice::HasFailed())
        return -1;
    Track* track = MakeTrack(name, playMode, first, second);
    const int id = track->id;
    if (queueMode == MusicQueueMode::Append)
    {
        module.queue.push_back(track);
        if (module.queue.size() == 1)
            StartTrack(track);
    }
    else if (queueMode == MusicQueueMode::Interrupt)
    {
        if (Track* current = Current())
            StopTrackForLater(current);
        module.queue.push_front(track);
        StartTrack(track);
    }
    else
    {
        if (Track* current = Current())
            StopTrack(current, false);
        for (Track* old : module.queue)
            delete old;
        module.queue.clear();
        module.queue.push_back(track);
        StartTrack(track);
    }
    Refresh();
    return id;
}

int Music::GetTrackState(int id)
{
    for (Track* track : GetModule().queue)
        if (track->id == id)
            return BGMusicLoopsStateIs(id) ? MusicTrackState::Playing : MusicTrackState::Waiting;
    return MusicTrackState::Absent;
}

void Music::StopCurrent(bool flag, float)
{
    StopCurrentWithMode(flag, MusicPlayMode::Once);
}

void Music::StopCurrentAndContinue(bool flag, float)
{
    StopCurrentWithMode(flag, MusicPlayMode::OnceThenNext);
}

void Music::StopAll(bool flag, float)
{
    MusicModule& module = GetModule();
    if (!module.initialised || module.shutDown || module.queue.empty())
        return;
    Track* current = module.queue.front();
    for (size_t i = 1; i < module.queue.size(); ++i)
        delete module.queue[i];
    module.queue.clear();
    module.queue.push_back(current);
    current->playMode = MusicPlayMode::OnceThenNext;
    StopTrack(current, flag);
    Refresh();
}

int Music::Queue(std::string const& name, bool atBack, int playMode, float first, float second)
{
    MusicModule& module = GetModule();
    if (!module.initialised || module.shutDown)
        return -1;
    Track* track = MakeTrack(name, playMode, first, second);
    const int id = track->id;
    if (atBack)
        module.queue.push_back(track);
    else
        module.queue.push_front(track);
    Refresh();
    return id;
}

void Music::RestartCurrent()
{
    MusicModule& module = GetModule();
    Track* track = Current();
    if (!module.initialised || module.shutDown || !track)
        return;
    if (track->started && track->paused)
    {
        track->paused = false;
        BGMusicPlayOnce(true);
        module.restartedOnce.Raise(track->name);
    }
    Refresh();
}

void Music::StartOrRestartCurrent()
{
    MusicModule& module = GetModule();
    Track* track = Current();
    if (!module.initialised || module.shutDown || !track)
        return;
    if (!track->started && !track->wasStarted)
    {
        StartTrack(track);
    }
    else if (track->started && track->paused)
    {
        track->paused = false;
        BGMusicPlayLooped();
        module.restartedLooped.Raise(track->name);
    }
    Refresh();
}

void Music::StartOrRestartCurrent(float first)
{
    if (Track* track = Current())
        track->floats[0] = first;
    StartOrRestartCurrent();
}

int Music::GetQueueLength()
{
    return int(GetModule().queue.size());
}

void Music::Refresh(float)
{
    MusicModule& module = GetModule();
    NotifyMusicPlaying(module.initialised && module.enabled && !module.shutDown);
    if (!module.initialised || module.shutDown)
        return;
    if (!module.enabled)
    {
        if (module.active)
            Deactivate();
        return;
    }
    if (!module.active)
        Activate();
    if (!module.active)
        return;
    ApplyVolume();
    Track* track = Current();
    if (!track)
        return;
    if (track->started && !track->paused && !BGMusicIsPlaying())
        StopTrack(track, false);
    if (!track->started && track->wasStarted)
    {
        module.queue.pop_front();
        if (track->playMode == MusicPlayMode::OnceThenNext && !module.queue.empty())
            StartTrack(module.queue.front());
        delete track;
    }
}

void Music::Shutdown()
{
    MusicModule& module = GetModule();
    if (module.shutDown)
        return;
    module.shutDown = true;
    module.active = false;
    FrameEvents::Animating.Unsubscribe(&module);
    BGMusicShutdown();
    if (module.holdsDevice)
    {
        module.holdsDevice = false;
        AudioDevice::Release();
    }
}

Event<std::string const&>& Music::Started()
{
    return GetModule().started;
}

Event<std::string const&>& Music::Stopped()
{
    return GetModule().stopped;
}

Event<std::string const&>& Music::RestartedOnce()
{
    return GetModule().restartedOnce;
}

Event<std::string const&>& Music::RestartedLooped()
{
    return GetModule().restartedLooped;
}

} // namespace Audio
} // namespace Vexel
