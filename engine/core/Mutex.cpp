#include "engine/core/Mutex.h"

#include <pthread.h>

namespace Vexel
{
namespace Threading
{

class Mutex::Impl
{
public:
    Impl() { pthread_mutex_init(&mutex, nullptr); }
    virtual ~Impl() { pthread_mutex_destroy(&mutex); }
    pthread_mutex_t mutex;
};

Mutex::Mutex() : impl(new Impl()) {}
Mutex::~Mutex() { delete impl; }
void Mutex::Lock() { pthread_mutex_lock(&impl->mutex); }
void Mutex::Unlock() { pthread_mutex_unlock(&impl->mutex); }

class RecursiveMutex::Impl
{
public:
    Impl()
    {
        pthread_mutexattr_t attributes;
        pthread_mutexattr_init(&attributes);
        pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
        pthread_mutex_init(&mutex, &attributes);
        pthread_mutexattr_destroy(&attributes);
    }
    virtual ~Impl() { pthread_mutex_destroy(&mutex); }
    pthread_mutex_t mutex;
};

RecursiveMutex::RecursiveMutex() : impl(new Impl()) {}
RecursiveMutex::~RecursiveMutex() { delete impl; }
void RecursiveMutex::Lock() { pthread_mutex_lock(&impl->mutex); }
void RecursiveMutex::Unlock() { pthread_mutex_unlock(&impl->mutex); }

} // namespace Threading
} // namespace Vexel
