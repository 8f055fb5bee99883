#include "engine/audio/BGMusic.h"

#include "engine/audio/Mixer.h"
#include "engine/audio/MusicObject.h"
#include "engine/core/AppEvents.h"
#include "engine/core/Delegate.h"
#include "engine/core/Mutex.h"
#include "engine/core/Thread.h"

#include <atomic>
#include <deque>

namespace Vexel
{
namespace Audio
{

namespace
{
const int kPollMilliseconds = 5;
const int kKeepState = -1;
} // namespace

// The command object: its queue, its thread and the music object the
// thread works on. Lock order: execution mutex, then queue mutex; callers
// take only the queue mutex, which is never held while a command runs.
class BGMusicEvents
{
public:
    BGMusicEvents() { AppEvents::Shutdown().Subscribe(Action<>(this, &BGMusicEvents::Shutdown)); }

    ~BGMusicEvents()
    {
        AppEvents::Shutdown().Unsubscribe(this);
        Shutdown();
    }

    void Start()
    {
        Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
        if (thread || shutDown)
            return;
        thread = new Threading::Thread(Action<Threading::ThreadContext const&>(this, &BGMusicEvents::Run));
        thread->Start();
    }

    void Shutdown()
    {
        Threading::Thread* stopping = nullptr;
        {
            Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
            if (shutDown)
                return;
            shutDown = true;
            queue.clear();
            stopping = thread;
            thread = nullptr;
        }
        if (stopping)
        {
            stopping->Stop();
            stopping->Join();
            delete stopping;
        }
        Threading::ScopedLock<Threading::Mutex> lock(executeMutex);
        delete music;
        music = nullptr;
        playingState = BGMusicPlayingState::None;
    }

    bool IsRunning()
    {
        Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
        return thread != nullptr;
    }

    // newState: the playing state to set, or kKeepState.
    void Queue(BGMusicRecord const& record, int newState)
    {
        Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
        if (newState != kKeepState)
            playingState = newState;
        if (shutDown)
            return;
        queue.push_back(record);
        if (IBGMusicObserver* watcher = observer.load())
            watcher->OnQueued(record);
    }

    void QueuePlayOnce(bool play)
    {
        BGMusicRecord record;
        record.command = BGMusicCommand::PlayOnce;
        record.flag = play;
        Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
        if (playingState != BGMusicPlayingState::None)
            playingState = play ? BGMusicPlayingState::Once : BGMusicPlayingState::None;
        if (shutDown)
            return;
        queue.push_back(record);
        if (IBGMusicObserver* watcher = observer.load())
            watcher->OnQueued(record);
    }

    bool WaitIdle(int timeoutMs)
    {
        for (int waited = 0;; ++waited)
        {
            {
                Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
                if (queue.empty() && !executing)
                    return true;
                if (!thread || waited >= timeoutMs)
                    return false;
            }
            Threading::Thread::Sleep(1);
        }
    }

    std::atomic<int> playingState{BGMusicPlayingState::None};
    std::atomic<IBGMusicObserver*> observer{nullptr};

private:
    void Run(Threading::ThreadContext const& context)
    {
        while (!context.IsStopRequested())
        {
            const bool wasOnce = playingState == BGMusicPlayingState::Once;
            queueMutex.Lock();
            while (!queue.empty() && !context.IsStopRequested())
            {
                BGMusicRecord record = queue.front();
                queue.pop_front();
                executing = true;
                queueMutex.Unlock();
                Execute(record);
                queueMutex.Lock();
                executing = false;
            }
            queueMutex.Unlock();
            Threading::Thread::Sleep(kPollMilliseconds);
            if (wasOnce)
                NoticeEnd();
        }
    }

    // Whether a waiting command will load, play or stop music (volumes
    // arrive every frame and decide nothing). Queue mutex held.
    bool PlayCommandWaits() const
    {
        for (BGMusicRecord const& record : queue)
            if (record.command != BGMusicCommand::SetVolume && record.command != BGMusicCommand::ApplyVolume)
                return true;
        return false;
    }

    // A play-once music that has stopped by itself is no longer playing,
    // unless the callers have queued more music work since.
    void NoticeEnd()
    {
        Threading::ScopedLock<Threading::Mutex> execution(executeMutex);
        if (music && music->IsPlaying())
            return;
        Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
        if (!PlayCommandWaits() && playingState == BGMusicPlayingState::Once)
        {
            playingState = BGMusicPlayingState::None;
            MusicObject::SetLoopsState(MusicObject::kNoMusic);
        }
    }

    void Execute(BGMusicRecord const& record)
    {
        Threading::ScopedLock<Threading::Mutex> execution(executeMutex);
        if (IBGMusicObserver* watcher = observer.load())
            watcher->OnExecuted(record);
        bool playFailed = false;
        switch (record.command)
        {
        case BGMusicCommand::Unload:
            delete music;
            music = nullptr;
            break;
        case BGMusicCommand::PlayLooped:
            if (music)
                playFailed = music->Play() != 0;
            break;
        case BGMusicCommand::Stop:
            if (music)
            {
                music->PlayOnce(false);
                delete music;
                music = nullptr;
            }
            break;
        case BGMusicCommand::ApplyVolume:
            if (music)
                music->ApplyVolume();
            break;
        case BGMusicCommand::SetVolume:
            if (music)
                music->SetVolume(record.volume);
            break;
        case BGMusicCommand::Load:
            delete music;
            music = MusicObject::Create();
            if (music)
                music->Load(record.name, record.loops);
            break;
        case BGMusicCommand::PlayOnce:
            if (music)
                playFailed = music->PlayOnce(record.flag) != 0 && record.flag;
            break;
        default:
            delete music;
            music = MusicObject::Create();
            break;
        }
        // A music that failed to start does not play: say so, so that the
        // music module moves on, unless newer commands will decide.
        if (playFailed)
        {
            Threading::ScopedLock<Threading::Mutex> lock(queueMutex);
            if (!PlayCommandWaits())
                playingState = BGMusicPlayingState::None;
        }
    }

    Threading::Mutex queueMutex;
    std::deque<BGMusicRecord> queue;
    Threading::Thread* thread = nullptr;
    bool executing = false;
    bool shutDown = false;

    Threading::Mutex executeMutex;
    MusicObject* music = nullptr;
};

namespace
{
BGMusicEvents& GetEvents()
{
    static BGMusicEvents events;
    return events;
}

void QueueCommand(int command, int newState)
{
    BGMusicRecord record;
    record.command = command;
    GetEvents().Queue(record, newState);
}
} // namespace

void BGMusicOff()
{
    QueueCommand(BGMusicCommand::Reset, BGMusicPlayingState::None);
}

void BGMusicUnload()
{
    QueueCommand(BGMusicCommand::Unload, BGMusicPlayingState::None);
}

void BGMusicLoad(std::string const& fileName, int loops)
{
    BGMusicRecord record;
    record.command = BGMusicCommand::Load;
    record.name = fileName;
    record.loops = loops;
    GetEvents().Queue(record, BGMusicPlayingState::None);
}

void BGMusicStop()
{
    QueueCommand(BGMusicCommand::Stop, BGMusicPlayingState::None);
}

void BGMusicPlayLooped()
{
    QueueCommand(BGMusicCommand::PlayLooped, BGMusicPlayingState::Looped);
}

void BGMusicPlayOnce(bool play)
{
    GetEvents().QueuePlayOnce(play);
}

void BGMusicSetVolume(float volume)
{
    BGMusicRecord record;
    record.command = BGMusicCommand::SetVolume;
    record.volume = volume;
    GetEvents().Queue(record, kKeepState);
}

void BGMusicSetMasterVolume(float volume)
{
    Mixer::SetMasterVolume(volume);
}

void BGMusicApplyVolume()
{
    QueueCommand(BGMusicCommand::ApplyVolume, kKeepState);
}

bool BGMusicIsPlaying()
{
    return GetEvents().playingState != BGMusicPlayingState::None;
}

int BGMusicGetPlayingState()
{
    return GetEvents().playingState;
}

bool BGMusicLoopsStateIs(int value)
{
    return MusicObject::GetLoopsState() == value;
}

void BGMusicStart()
{
    GetEvents().Start();
}

void BGMusicShutdown()
{
    GetEvents().Shutdown();
}

bool BGMusicIsRunning()
{
    return GetEvents().IsRunning();
}

bool BGMusicWaitIdle(int timeoutMs)
{
    return GetEvents().WaitIdle(timeoutMs);
}

IBGMusicObserver* BGMusicSetObserver(IBGMusicObserver* observer)
{
    return GetEvents().observer.exchange(observer);
}

} // namespace Audio
} // namespace Vexel
