// A worker thread that runs one delegate and can be asked to stop. Stopping
// is cooperative: the body polls ThreadContext::IsStopRequested.
#pragma once

#include "engine/core/Delegate.h"

namespace Vexel
{
namespace Threading
{

class Thread;

// What a thread body receives: the stop request and the start argument.
class ThreadContext
{
public:
    struct State;

    explicit ThreadContext(State* state) : state(state) {}

    bool IsStopRequested() const;
    Thread* GetOwner() const;
    void* GetArgument() const;

private:
    State* state; // owned by the thread's Impl
};

class Thread
{
public:
    // Priority 2 is normal; each step away moves the scheduling priority by 2.
    explicit Thread(const Action<ThreadContext const&>& body, int priority = 2);
    ~Thread(); // stops, then waits for the body to return
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts the body on a new thread; prints "Thread already running." when
    // the body is still running from an earlier start.
    void Start(void* argument = nullptr);
    // Asks a running body to stop; does not wait.
    void Stop();
    // Waits until the body has returned; at once when it is not running.
    void Join();
    bool IsRunning() const;

    // Suspends the calling thread; zero or negative returns at once.
    static void Sleep(int milliseconds);

    class Impl;

private:
    Impl* impl;
};

} // namespace Threading
} // namespace Vexel
