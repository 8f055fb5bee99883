#include "engine/core/Thread.h"

#include "engine/core/Log.h"
#include "engine/core/Mutex.h"

#include <atomic>
#include <cstdio>
#include <pthread.h>
#include <time.h>

namespace Vexel
{
namespace Threading
{

struct ThreadContext::State
{
    std::atomic<bool> stopRequested{false};
    Thread* owner = nullptr;
    void* argument = nullptr;
};

bool ThreadContext::IsStopRequested() const { return state->stopRequested.load(); }
Thread* ThreadContext::GetOwner() const { return state->owner; }
void* ThreadContext::GetArgument() const { return state->argument; }

class Thread::Impl
{
public:
    Impl(const Action<ThreadContext const&>& body, int priority) : priority(priority), body(body) {}
    virtual ~Impl() = default;

    static void* Main(void* argument)
    {
        Impl* self = static_cast<Impl*>(argument);
        ThreadContext context(&self->state);
        self->body.Invoke(context);
        ScopedLock<RecursiveMutex> lock(self->stateLock);
        self->running = false;
        return nullptr;
    }

    pthread_t id{};
    bool hasThread = false; // a joinable thread exists for the last run
    bool running = false;
    int priority;
    Action<ThreadContext const&> body;
    RecursiveMutex stateLock; // guards running, the stop request and the start
    Mutex joinLock;           // one joiner at a time; guards id and hasThread
    ThreadContext::State state;
};

Thread::Thread(const Action<ThreadContext const&>& body, int priority) : impl(new Impl(body, priority))
{
    impl->state.owner = this;
}

Thread::~Thread()
{
    Stop();
    Join();
    delete impl;
}

void Thread::Start(void* argument)
{
    ScopedLock<RecursiveMutex> lock(impl->stateLock);
    if (impl->running)
    {
        Log::Warning("thread", "Thread already running.");
        return;
    }
    // The previous run's body has returned; reap its thread before the next.
    Join();

    impl->state.stopRequested = false;
    impl->state.argument = argument;
    impl->running = true;

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    sched_param parameter;
    pthread_attr_getschedparam(&attributes, &parameter);
    parameter.sched_priority += (impl->priority - 2) * 2;
    pthread_attr_setschedparam(&attributes, &parameter);

    ScopedLock<Mutex> joinLock(impl->joinLock);
    if (pthread_create(&impl->id, &attributes, &Impl::Main, impl) == 0)
    {
        impl->hasThread = true;
    }
    else
    {
        // Creating with the adjusted priority can be refused; fall back to defaults.
        if (pthread_create(&impl->id, nullptr, &Impl::Main, impl) == 0)
            impl->hasThread = true;
        else
            impl->running = false;
    }
    pthread_attr_destroy(&attributes);
}

void Thread::Stop()
{
    ScopedLock<RecursiveMutex> lock(impl->stateLock);
    if (impl->running)
        impl->state.stopRequested = true;
}

void Thread::Join()
{
    ScopedLock<Mutex> lock(impl->joinLock);
    if (!impl->hasThread)
        return;
    if (pthread_equal(impl->id, pthread_self()))
        return; // a body cannot wait for itself
    pthread_join(impl->id, nullptr);
    impl->hasThread = false;
}

bool Thread::IsRunning() const
{
    ScopedLock<RecursiveMutex> lock(impl->stateLock);
    return impl->running;
}

void Thread::Sleep(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    timespec request;
    request.tv_sec = milliseconds / 1000;
    request.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    timespec remaining;
    while (nanosleep(&request, &remaining) != 0)
        request = remaining;
}

} // namespace Threading
} // namespace Vexel
