// Background workers for short pieces of work: texture decoding, typeface
// loading, downloads. There is one global pool of three workers, created
// during static initialisation and stopped by AppEvents::Shutdown; work
// queued on it is a copy of an Action<> that the pool owns until it has run.
// Tests and tools may also make private pools of their own.
#pragma once

#include "engine/core/Delegate.h"

namespace Vexel
{
namespace Threading
{

class ThreadPool
{
public:
    // Three workers, stopped by AppEvents::Shutdown (the global pool's form).
    ThreadPool();
    // A private pool, stopped by Shutdown or its destructor.
    explicit ThreadPool(int threadCount);
    // Runs the shutdown steps if they have not run yet.
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Queue a copy of the work on the global pool. After the pool has stopped
    // the work is dropped unrun.
    static void QueueWorkItem(Action<> const& work);
    // Grow or shrink the global pool; surplus workers leave at once when idle,
    // otherwise after their current item.
    static void SetThreadCount(int count);
    // Whether the global pool has stopped (the Shutdown event has fired), so
    // that late work would be dropped.
    static bool IsShutDown();

    void Queue(Action<> const& work);
    void SetWorkerCount(int count);
    // Workers meant to keep running (not counting ones on their way out).
    int GetWorkerCount() const;
    // Items queued and not yet taken by a worker.
    int GetPendingCount() const;
    bool IsStopped() const;
    // Waits for running items, drops queued ones unrun and joins every
    // worker; later work is dropped too. Must not be called from a work item
    // of the same pool. A second call does nothing.
    void Shutdown();

    class Impl;

private:
    Impl* impl;
};

} // namespace Threading
} // namespace Vexel
