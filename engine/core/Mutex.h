// Locks over POSIX threads: a plain mutex and a recursive one, each a handle
// over a private implementation. Neither is copyable.
#pragma once

namespace Vexel
{
namespace Threading
{

// Not re-entrant: a second Lock by the holder blocks for ever.
class Mutex
{
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void Lock();
    void Unlock();

    class Impl;

private:
    Impl* impl;
};

// Re-entrant for the owning thread; every Lock needs its Unlock.
class RecursiveMutex
{
public:
    RecursiveMutex();
    ~RecursiveMutex();
    RecursiveMutex(const RecursiveMutex&) = delete;
    RecursiveMutex& operator=(const RecursiveMutex&) = delete;

    void Lock();
    void Unlock();

    class Impl;

private:
    Impl* impl;
};

// Holds a lock for the lifetime of a scope.
template <class TMutex> class ScopedLock
{
public:
    explicit ScopedLock(TMutex& mutex) : mutex(mutex) { mutex.Lock(); }
    ~ScopedLock() { mutex.Unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    TMutex& mutex;
};

} // namespace Threading
} // namespace Vexel
