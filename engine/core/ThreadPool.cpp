#include "engine/core/ThreadPool.h"

#include "engine/core/AppEvents.h"
#include "engine/core/Log.h"

#include <atomic>
#include <cstdio>
#include <deque>
#include <memory>
#include <pthread.h>
#include <vector>

namespace Vexel
{
namespace Threading
{

namespace
{
// Workers run two scheduling steps below a normal Thread.
const int WorkerPriorityOffset = -4;
const int GlobalWorkerCount = 3;
} // namespace

class ThreadPool::Impl
{
public:
    struct Worker
    {
        Impl* pool = nullptr;
        pthread_t thread{};
        bool retired = false; // removed by SetWorkerCount; leaves at its next wake-up
        bool left = false;    // the loop has ended; only the join remains
    };

    Impl()
    {
        pthread_mutex_init(&mutex, nullptr);
        pthread_cond_init(&work, nullptr);
    }

    // The mutex and condition live as long as the pool, so a late Queue
    // after Shutdown still finds them.
    virtual ~Impl()
    {
        Shutdown();
        pthread_cond_destroy(&work);
        pthread_mutex_destroy(&mutex);
    }

    void Queue(Action<> const& item)
    {
        Action<>* copy = new Action<>(item);
        pthread_mutex_lock(&mutex);
        if (stopping)
        {
            pthread_mutex_unlock(&mutex);
            delete copy;
            return;
        }
        queue.push_back(copy);
        pthread_cond_signal(&work);
        pthread_mutex_unlock(&mutex);
    }

    void SetWorkerCount(int count)
    {
        if (count < 0)
            count = 0;
        std::vector<std::unique_ptr<Worker>> finished;
        pthread_mutex_lock(&mutex);
        if (!stopping)
        {
            // Reap workers that left after an earlier shrink.
            for (size_t i = 0; i < workers.size();)
            {
                if (workers[i]->left)
                {
                    finished.push_back(std::move(workers[i]));
                    workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(i));
                }
                else
                {
                    i++;
                }
            }
            int active = ActiveCountLocked();
            while (active < count && StartWorkerLocked())
                active++;
            bool shrunk = false;
            for (size_t i = workers.size(); i > 0 && active > count; i--)
            {
                Worker& worker = *workers[i - 1];
                if (worker.retired)
                    continue;
                worker.retired = true;
                active--;
                shrunk = true;
            }
            // Wake everyone so that retired workers leave now instead of
            // waiting for the next item; the others go back to sleep.
            if (shrunk)
                pthread_cond_broadcast(&work);
        }
        pthread_mutex_unlock(&mutex);
        for (auto& worker : finished)
            pthread_join(worker->thread, nullptr);
    }

    int GetWorkerCount()
    {
        pthread_mutex_lock(&mutex);
        int count = ActiveCountLocked();
        pthread_mutex_unlock(&mutex);
        return count;
    }

    int GetPendingCount()
    {
        pthread_mutex_lock(&mutex);
        int count = static_cast<int>(queue.size());
        pthread_mutex_unlock(&mutex);
        return count;
    }

    bool IsStopped()
    {
        pthread_mutex_lock(&mutex);
        bool result = stopping;
        pthread_mutex_unlock(&mutex);
        return result;
    }

    // Bound to AppEvents::Shutdown for the global pool; also run by the
    // destructor. Running items are awaited, queued ones deleted unrun, and
    // every worker is joined. A worker cannot join itself: if one of our own
    // items calls this, that worker stays listed for the next call.
    void Shutdown()
    {
        pthread_mutex_lock(&mutex);
        stopping = true;
        std::deque<Action<>*> dropped;
        dropped.swap(queue);
        std::vector<std::unique_ptr<Worker>> leaving;
        for (auto& worker : workers)
            leaving.push_back(std::move(worker));
        workers.clear();
        for (auto& worker : leaving)
        {
            if (worker && pthread_equal(worker->thread, pthread_self()))
                workers.push_back(std::move(worker));
        }
        pthread_cond_broadcast(&work);
        pthread_mutex_unlock(&mutex);

        for (Action<>* item : dropped)
            delete item;
        for (auto& worker : leaving)
        {
            if (worker)
                pthread_join(worker->thread, nullptr);
        }
    }

private:
    int ActiveCountLocked() const
    {
        int count = 0;
        for (const auto& worker : workers)
            count += worker->retired ? 0 : 1;
        return count;
    }

    bool StartWorkerLocked()
    {
        std::unique_ptr<Worker> worker(new Worker());
        worker->pool = this;

        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        sched_param parameter;
        pthread_attr_getschedparam(&attributes, &parameter);
        parameter.sched_priority += WorkerPriorityOffset;
        pthread_attr_setschedparam(&attributes, &parameter);
        int failure = pthread_create(&worker->thread, &attributes, &Impl::WorkerMain, worker.get());
        pthread_attr_destroy(&attributes);
        // The lowered priority can be refused; the defaults will do.
        if (failure != 0)
            failure = pthread_create(&worker->thread, nullptr, &Impl::WorkerMain, worker.get());
        if (failure != 0)
        {
            Vexel::Log::Error("threadpool", "could not start a worker (error %d)", failure);
            return false;
        }
        workers.push_back(std::move(worker));
        return true;
    }

    static void* WorkerMain(void* argument)
    {
        Worker* self = static_cast<Worker*>(argument);
        Impl* pool = self->pool;
        pthread_mutex_lock(&pool->mutex);
        for (;;)
        {
            while (pool->queue.empty() && !pool->stopping && !self->retired)
                pthread_cond_wait(&pool->work, &pool->mutex);
            if (pool->stopping || self->retired)
                break;
            Action<>* item = pool->queue.front();
            pool->queue.pop_front();
            pthread_mutex_unlock(&pool->mutex);

            // Outside the lock, so items may queue further work.
            item->Invoke();
            delete item;

            pthread_mutex_lock(&pool->mutex);
        }
        // A retired worker may have taken the wake-up meant for an item.
        if (!pool->stopping && !pool->queue.empty())
            pthread_cond_signal(&pool->work);
        self->left = true;
        pthread_mutex_unlock(&pool->mutex);
        return nullptr;
    }

    pthread_mutex_t mutex;
    pthread_cond_t work; // an item was queued, or workers must check whether to leave
    bool stopping = false;
    std::deque<Action<>*> queue;                  // owned until a worker takes an item
    std::vector<std::unique_ptr<Worker>> workers; // joinable threads, retired ones included
};

namespace
{
// Both trivially destructible, so later static destructors can still read
// them after the global pool is gone.
std::atomic<bool> globalPoolGone{false};
ThreadPool* globalPoolAddress = nullptr;

ThreadPool& GlobalPool()
{
    static ThreadPool pool;
    static ThreadPool* const noted = globalPoolAddress = &pool; // once, under the static's guard
    (void)noted;
    return pool;
}

// Creates the global pool during static initialisation; living in this file,
// it is linked wherever QueueWorkItem is.
ThreadPool& globalPoolAtStart = GlobalPool();
} // namespace

ThreadPool::ThreadPool() : impl(new Impl())
{
    impl->SetWorkerCount(GlobalWorkerCount);
    AppEvents::Shutdown().Subscribe(Action<>(impl, &Impl::Shutdown));
}

ThreadPool::ThreadPool(int threadCount) : impl(new Impl())
{
    impl->SetWorkerCount(threadCount);
}

ThreadPool::~ThreadPool()
{
    // Finds nothing for a private pool, which is harmless.
    AppEvents::Shutdown().Unsubscribe(impl);
    if (this == globalPoolAddress)
        globalPoolGone = true;
    delete impl;
}

void ThreadPool::QueueWorkItem(Action<> const& work)
{
    if (globalPoolGone)
        return;
    GlobalPool().Queue(work);
}

void ThreadPool::SetThreadCount(int count)
{
    if (globalPoolGone)
        return;
    GlobalPool().SetWorkerCount(count);
}

bool ThreadPool::IsShutDown()
{
    return globalPoolGone || GlobalPool().IsStopped();
}

void ThreadPool::Queue(Action<> const& work)
{
    impl->Queue(work);
}
void ThreadPool::SetWorkerCount(int count)
{
    impl->SetWorkerCount(count);
}
int ThreadPool::GetWorkerCount() const
{
    return impl->GetWorkerCount();
}
int ThreadPool::GetPendingCount() const
{
    return impl->GetPendingCount();
}
bool ThreadPool::IsStopped() const
{
    return impl->IsStopped();
}
void ThreadPool::Shutdown()
{
    impl->Shutdown();
}

} // namespace Threading
} // namespace Vexel
