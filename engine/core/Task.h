// A deferred result: a work function run once, on a pool worker (queue
// AsAction) or by whoever calls Run, and three events telling the owner that
// the result is there, that the request was cancelled, or that the task is
// being destroyed. The owner gives the task up with Release; the task then
// deletes itself as soon as nothing is using it, so it must be made with new.
//
// Threads: Run may happen on a worker while the owner calls Cancel or
// Release on its own thread; a Release during such a Run cancels the task and
// leaves the deletion to the end of the Run. A task queued on the pool but not
// yet started must not be released, since the queued delegate points at it.
// Handlers run on the thread that runs, cancels or destroys the task, without
// the state lock held.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Event.h"
#include "engine/core/Mutex.h"

#include <condition_variable>
#include <mutex>

namespace Vexel
{
namespace Threading
{

// The state flags of a task, for ExchangeFlag and ReadFlag.
struct TaskFlag
{
    enum Enum
    {
        Done,       // the work step of Run has finished
        Finished,   // the completion was claimed, by Run or by Cancel
        InCallback, // a Completed or Cancelled handler is running
        Released    // the owner has given the task up
    };
};

namespace TaskDetail
{
// One-shot gate: closed when made, opened once and for good; opening it again
// is harmless.
class Gate
{
public:
    void Open()
    {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
        condition.notify_all();
    }

    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        condition.wait(lock, [this] { return open; });
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool open = false;
};
} // namespace TaskDetail

template <class T> class Task
{
public:
    using TaskEvent = Event<Task<T>*, T>;

    // The work is copied; the initial result stays when no work runs.
    Task(Func<T> const& work, T const& initialResult, bool startNow) : result(initialResult), work(work)
    {
        if (startNow)
            Run();
    }

    // Raises Disposed first; the events and the work are destroyed after it.
    ~Task() { Disposed.Raise(this, result); }

    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // Runs the work (when there is any), stores its result and raises
    // Completed unless the task was cancelled first.
    void Run()
    {
        stateLock.Lock();
        users++;
        // Our own copy: a Cancel on another thread may empty `work` meanwhile.
        Func<T> job(work);
        stateLock.Unlock();

        // The result, done and the claim change together, so a Cancel sees
        // either the untouched task or the completed one.
        if (job.IsBound())
        {
            T value = job.Invoke();
            stateLock.Lock();
            result = value;
        }
        else
        {
            stateLock.Lock();
        }
        done = true;
        bool claimed = !finished;
        finished = true;
        if (claimed)
            inCallback = true;
        T outcome = result;
        stateLock.Unlock();
        gate.Open();

        if (claimed)
        {
            Completed.Raise(this, outcome);
            ExchangeFlag(TaskFlag::InCallback, false);
        }
        Leave();
    }

    // A delegate for the thread pool's queue.
    Action<> AsAction() { return Action<>(this, &Task::Run); }

    // Cancels the task unless its completion was claimed already; returns
    // whether this call cancelled it. A later Run does no work.
    bool Cancel()
    {
        stateLock.Lock();
        if (finished)
        {
            stateLock.Unlock();
            return false;
        }
        finished = true;
        users++;
        work = Func<T>();
        inCallback = true;
        T outcome = result;
        stateLock.Unlock();
        gate.Open();

        Cancelled.Raise(this, outcome);
        ExchangeFlag(TaskFlag::InCallback, false);
        Leave();
        return true;
    }

    // The owner gives the task up and must not touch it afterwards. A task
    // that has not done its work is cancelled first. Safe from inside the
    // task's own Completed or Cancelled handlers.
    void Release()
    {
        stateLock.Lock();
        if (released)
        {
            stateLock.Unlock();
            return;
        }
        released = true;
        users++;
        bool pending = !done;
        stateLock.Unlock();

        if (pending)
            Cancel();
        Leave();
    }

    // Stores the value; returns whether it differed from the old one.
    bool ExchangeFlag(TaskFlag::Enum flag, bool value)
    {
        ScopedLock<Mutex> lock(stateLock);
        bool& slot = FlagSlot(flag);
        bool changed = slot != value;
        slot = value;
        return changed;
    }

    bool ReadFlag(TaskFlag::Enum flag)
    {
        ScopedLock<Mutex> lock(stateLock);
        return FlagSlot(flag);
    }

    // Blocks until Run has stored its result or the task was cancelled. Only
    // for the owner, before Release: the task may be gone after that.
    void Wait() { gate.Wait(); }

    // The current result; the initial one until the work has run.
    T GetResult()
    {
        ScopedLock<Mutex> lock(stateLock);
        return result;
    }

private:
    bool& FlagSlot(TaskFlag::Enum flag)
    {
        switch (flag)
        {
        case TaskFlag::Done:
            return done;
        case TaskFlag::Finished:
            return finished;
        case TaskFlag::InCallback:
            return inCallback;
        case TaskFlag::Released:
        default:
            return released;
        }
    }

    // Ends one use by Run, Cancel or Release; the last use after Release
    // deletes the task.
    void Leave()
    {
        stateLock.Lock();
        users--;
        bool last = released && users == 0;
        stateLock.Unlock();
        if (last)
            delete this;
    }

    T result;
    bool done = false;
    bool finished = false;
    bool inCallback = false;
    bool released = false;
    int users = 0;   // Run, Cancel and Release calls in progress
    Mutex stateLock; // guards the flags, `users`, `work` and `result`
    TaskDetail::Gate gate;
    Func<T> work; // emptied by Cancel

public:
    // Each raised with (task, result). At most one of Completed and
    // Cancelled is raised per task; Disposed once, when it is destroyed.
    TaskEvent Completed;
    TaskEvent Disposed;
    TaskEvent Cancelled;
};

} // namespace Threading
} // namespace Vexel
