#include "engine/core/ThreadPool.h"

#include "tests/support/Latch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

using TestSupport::Latch;
using TestSupport::YieldUntil;
using Vexel::Action;
using Vexel::Threading::ThreadPool;

namespace
{
// One work item. Blocking items hold their worker until the test opens
// `release`; every item notes how many items had finished when it started.
struct Job
{
    Latch started;
    Latch release;
    Latch done;
    std::atomic<bool> ran{false};
    std::atomic<bool> finished{false};
    std::atomic<int>* finishedCount = nullptr;
    int finishedBeforeStart = -1;
    std::thread::id thread;

    void Block()
    {
        Begin();
        release.Wait();
        End();
    }
    void Quick()
    {
        Begin();
        End();
    }

private:
    void Begin()
    {
        ran = true;
        thread = std::this_thread::get_id();
        if (finishedCount)
            finishedBeforeStart = finishedCount->load();
        started.CountDown();
    }
    void End()
    {
        finished = true;
        if (finishedCount)
            ++*finishedCount;
        done.CountDown();
    }
};

struct Step
{
    int id = 0;
    std::vector<int>* log = nullptr;
    Latch* last = nullptr;
    ThreadPool* pool = nullptr;
    Step* followUp = nullptr; // queued from inside this item

    void Run()
    {
        log->push_back(id);
        if (followUp)
            pool->Queue(Action<>(followUp, &Step::Run));
        if (last)
            last->CountDown();
    }
};

Action<> BlockOf(Job& job)
{
    return Action<>(&job, &Job::Block);
}
Action<> QuickOf(Job& job)
{
    return Action<>(&job, &Job::Quick);
}

// Queues count blocking items and waits until every one of them holds a
// worker at the same time (it hangs if they cannot); then lets them go and
// returns the threads they ran on.
template <class Queue> std::set<std::thread::id> RunAllAtOnce(Queue queue, int count)
{
    std::vector<std::unique_ptr<Job>> jobs;
    for (int i = 0; i < count; i++)
    {
        jobs.emplace_back(new Job());
        queue(BlockOf(*jobs.back()));
    }
    for (auto& job : jobs)
        job->started.Wait();
    for (auto& job : jobs)
        job->release.CountDown();
    std::set<std::thread::id> threads;
    for (auto& job : jobs)
    {
        job->done.Wait();
        threads.insert(job->thread);
    }
    return threads;
}

void QueueOnGlobalPool(Action<> const& work) { ThreadPool::QueueWorkItem(work); }
} // namespace

TEST(ThreadPool, GlobalPoolRunsThreeItemsAtOnceOnItsOwnThreads)
{
    const std::set<std::thread::id> threads = RunAllAtOnce(&QueueOnGlobalPool, 3);
    EXPECT_EQ(3u, threads.size());
    EXPECT_EQ(0u, threads.count(std::this_thread::get_id()));
    EXPECT_FALSE(ThreadPool::IsShutDown());
}

TEST(ThreadPool, GlobalPoolGrowsAndShrinks)
{
    ThreadPool::SetThreadCount(4);
    EXPECT_EQ(4u, RunAllAtOnce(&QueueOnGlobalPool, 4).size());
    ThreadPool::SetThreadCount(3);
}

TEST(ThreadPool, FourthItemWaitsUntilOneOfThreeLongItemsHasFinished)
{
    ThreadPool pool(3);
    std::atomic<int> finishedCount{0};
    Job longJobs[3];
    Job fourth;
    for (Job& job : longJobs)
    {
        job.finishedCount = &finishedCount;
        pool.Queue(BlockOf(job));
    }
    for (Job& job : longJobs)
        job.started.Wait();
    fourth.finishedCount = &finishedCount;
    pool.Queue(QuickOf(fourth));

    longJobs[1].release.CountDown();
    fourth.done.Wait();
    EXPECT_EQ(1, fourth.finishedBeforeStart);
    EXPECT_EQ(longJobs[1].thread, fourth.thread); // it took the freed worker

    for (Job& job : longJobs)
    {
        job.release.CountDown();
        job.done.Wait();
    }
}

TEST(ThreadPool, EmptyActionIsTakenAndDeletedWithoutEffect)
{
    ThreadPool pool(1);
    Job marker;
    pool.Queue(Action<>());
    pool.Queue(QuickOf(marker));
    marker.done.Wait();
    EXPECT_EQ(0, pool.GetPendingCount());
}

TEST(ThreadPool, OneWorkerRunsItemsInQueueOrderAndItemsMayQueueMore)
{
    ThreadPool pool(1);
    Job gate;
    pool.Queue(BlockOf(gate)); // hold the worker until everything is queued
    gate.started.Wait();

    std::vector<int> log; // only the worker writes it until `last` opens
    Latch last;
    Step steps[6];
    for (int i = 0; i < 6; i++)
    {
        steps[i].id = i + 1;
        steps[i].log = &log;
        steps[i].pool = &pool;
    }
    steps[1].followUp = &steps[5]; // queued behind the items below
    steps[5].last = &last;
    for (int i = 0; i < 5; i++)
        pool.Queue(Action<>(&steps[i], &Step::Run));
    EXPECT_EQ(5, pool.GetPendingCount());

    gate.release.CountDown();
    last.Wait();
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6}), log);
}

TEST(ThreadPool, ShutdownDropsQueuedItemsAndAwaitsTheRunningOne)
{
    ThreadPool pool(1);
    Job running;
    Job queued[2];
    pool.Queue(BlockOf(running));
    running.started.Wait();
    for (Job& job : queued)
        pool.Queue(QuickOf(job));
    EXPECT_EQ(2, pool.GetPendingCount());

    std::atomic<bool> runningFinishedFirst{false};
    std::thread stopper(
        [&]
        {
            pool.Shutdown();
            runningFinishedFirst = running.finished.load();
        });
    YieldUntil([&] { return pool.IsStopped(); });
    EXPECT_EQ(0, pool.GetPendingCount()); // dropped before the running item ends
    running.release.CountDown();
    stopper.join();

    EXPECT_TRUE(runningFinishedFirst);
    EXPECT_EQ(0, pool.GetWorkerCount());
    // Every worker has been joined, so nothing can run these any more.
    for (Job& job : queued)
        EXPECT_FALSE(job.ran);

    Job late;
    pool.Queue(QuickOf(late));
    EXPECT_EQ(0, pool.GetPendingCount());
    EXPECT_FALSE(late.ran);
    pool.Shutdown(); // a second time does nothing
    EXPECT_TRUE(pool.IsStopped());
}

TEST(ThreadPool, DestroyingAPoolDropsItsQueueUnrun)
{
    Job job;
    {
        ThreadPool pool(0);
        pool.Queue(QuickOf(job));
        EXPECT_EQ(1, pool.GetPendingCount());
    }
    EXPECT_FALSE(job.ran);
}

TEST(ThreadPool, SetWorkerCountWithTheCurrentCountChangesNothing)
{
    ThreadPool pool(3);
    pool.SetWorkerCount(3);
    EXPECT_EQ(3, pool.GetWorkerCount());
    EXPECT_EQ(3u, RunAllAtOnce([&pool](Action<> const& work) { pool.Queue(work); }, 3).size());
}

TEST(ThreadPool, ShrinkingToOneWorkerRunsItemsOneAtATime)
{
    ThreadPool pool(3);
    pool.SetWorkerCount(1);
    EXPECT_EQ(1, pool.GetWorkerCount());

    std::atomic<int> finishedCount{0};
    Job first, second;
    first.finishedCount = &finishedCount;
    second.finishedCount = &finishedCount;
    pool.Queue(BlockOf(first));
    pool.Queue(QuickOf(second));
    first.started.Wait();
    first.release.CountDown();
    second.done.Wait();
    EXPECT_EQ(1, second.finishedBeforeStart);
    EXPECT_EQ(first.thread, second.thread);
}

TEST(ThreadPool, GrowingRunsMoreItemsAtOnce)
{
    ThreadPool pool(3);
    pool.SetWorkerCount(5);
    EXPECT_EQ(5, pool.GetWorkerCount());
    EXPECT_EQ(5u, RunAllAtOnce([&pool](Action<> const& work) { pool.Queue(work); }, 5).size());
}

TEST(ThreadPool, WithoutWorkersItemsWaitUntilOneIsAdded)
{
    ThreadPool pool(2);
    pool.SetWorkerCount(-1); // taken as zero
    EXPECT_EQ(0, pool.GetWorkerCount());
    Job job;
    pool.Queue(QuickOf(job));
    EXPECT_EQ(1, pool.GetPendingCount()); // retired workers never take work
    EXPECT_FALSE(job.ran);
    pool.SetWorkerCount(1);
    job.done.Wait();
    EXPECT_EQ(0, pool.GetPendingCount());
}

TEST(ThreadPool, ManyItemsFromSeveralThreadsAllRunOnce)
{
    ThreadPool pool(3);
    const int perThread = 200;
    std::vector<std::unique_ptr<Job>> jobs;
    for (int i = 0; i < 4 * perThread; i++)
        jobs.emplace_back(new Job());
    std::vector<std::thread> producers;
    for (int t = 0; t < 4; t++)
    {
        producers.emplace_back(
            [&, t]
            {
                for (int i = 0; i < perThread; i++)
                    pool.Queue(QuickOf(*jobs[t * perThread + i]));
            });
    }
    // Resizing while work flows must lose nothing.
    pool.SetWorkerCount(1);
    pool.SetWorkerCount(4);
    for (std::thread& producer : producers)
        producer.join();
    for (auto& job : jobs)
        job->done.Wait();
    EXPECT_EQ(0, pool.GetPendingCount());
}
