// Fires the real AppEvents::Shutdown, which stops the global pool for the
// rest of this process; nothing else runs in this executable.
#include "engine/core/AppEvents.h"
#include "engine/core/ThreadPool.h"

#include "tests/support/Latch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using TestSupport::Latch;
using TestSupport::YieldUntil;
using Vexel::Action;
using Vexel::AppEvents;
using Vexel::Threading::ThreadPool;

namespace
{
struct Job
{
    Latch started;
    Latch release;
    std::atomic<bool> ran{false};
    std::atomic<bool> finished{false};

    void Block()
    {
        ran = true;
        started.CountDown();
        release.Wait();
        finished = true;
    }
    void Quick()
    {
        ran = true;
        finished = true;
    }
};
} // namespace

TEST(AppShutdown, APoolOfTheGlobalFormSubscribesUntilItIsDestroyed)
{
    size_t before = AppEvents::Shutdown().SubscriberCount();
    EXPECT_GE(before, 1u); // the global pool, since static initialisation
    {
        ThreadPool pool;
        EXPECT_EQ(3, pool.GetWorkerCount());
        EXPECT_EQ(before + 1, AppEvents::Shutdown().SubscriberCount());
    }
    EXPECT_EQ(before, AppEvents::Shutdown().SubscriberCount());
}

TEST(AppShutdown, StopsEveryPoolAwaitingRunningItemsAndDroppingQueuedOnes)
{
    ThreadPool local; // subscribed after the global pool, so stopped after it
    // One worker each, so that queued items stay queued behind a running one.
    local.SetWorkerCount(1);
    ThreadPool::SetThreadCount(1);
    Job globalRunning, globalQueued[2];
    ThreadPool::QueueWorkItem(Action<>(&globalRunning, &Job::Block));
    globalRunning.started.Wait();
    for (Job& job : globalQueued)
        ThreadPool::QueueWorkItem(Action<>(&job, &Job::Quick));

    Job localRunning, localQueued;
    local.Queue(Action<>(&localRunning, &Job::Block));
    localRunning.started.Wait();
    local.Queue(Action<>(&localQueued, &Job::Quick));

    std::atomic<bool> runningItemsFinishedFirst{false};
    std::thread shell(
        [&]
        {
            AppEvents::Shutdown().Raise();
            runningItemsFinishedFirst = globalRunning.finished && localRunning.finished;
        });
    YieldUntil([] { return ThreadPool::IsShutDown(); });
    globalRunning.release.CountDown();
    YieldUntil([&] { return local.IsStopped(); });
    localRunning.release.CountDown();
    shell.join();

    EXPECT_TRUE(runningItemsFinishedFirst);
    for (Job& job : globalQueued)
        EXPECT_FALSE(job.ran);
    EXPECT_FALSE(localQueued.ran);
    EXPECT_EQ(0, local.GetPendingCount());

    // Late work is dropped, not run on a stopped pool.
    Job late;
    ThreadPool::QueueWorkItem(Action<>(&late, &Job::Quick));
    ThreadPool::SetThreadCount(3);
    EXPECT_FALSE(late.ran);
    EXPECT_TRUE(ThreadPool::IsShutDown());
}
