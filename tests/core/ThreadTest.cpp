#include "engine/core/Mutex.h"
#include "engine/core/Thread.h"
#include "tests/support/Latch.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

using Vexel::Action;
using Vexel::Threading::Mutex;
using Vexel::Threading::RecursiveMutex;
using Vexel::Threading::ScopedLock;
using Vexel::Threading::Thread;
using Vexel::Threading::ThreadContext;

namespace
{
using TestSupport::Latch;

struct Body
{
    std::atomic<int> runs{0};
    std::atomic<bool> sawStop{false};
    void* argument = nullptr;
    Thread* owner = nullptr;
    Latch started;
    Latch release;

    void UntilStopped(ThreadContext const& context)
    {
        runs++;
        argument = context.GetArgument();
        owner = context.GetOwner();
        started.CountDown();
        while (!context.IsStopRequested())
            Thread::Sleep(1);
        sawStop = true;
    }
    void UntilReleased(ThreadContext const&)
    {
        runs++;
        started.CountDown();
        release.Wait();
    }
    void Quick(ThreadContext const&) { runs++; }
};
} // namespace

TEST(Thread, StartRunsTheBodyOnceAndStopEndsIt)
{
    Body body;
    int marker = 0;
    Thread thread(Action<ThreadContext const&>(&body, &Body::UntilStopped));
    EXPECT_FALSE(thread.IsRunning());
    thread.Start(&marker);
    body.started.Wait();
    EXPECT_TRUE(thread.IsRunning());

    {
        TestSupport::LogCapture log;
        thread.Start(nullptr);
        thread.Start(nullptr);
        EXPECT_EQ(log.Messages(), (std::vector<std::string>{"Thread already running.", "Thread already running."}));
    }

    thread.Stop();
    thread.Join();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(body.sawStop);
    EXPECT_EQ(body.runs.load(), 1);
    EXPECT_EQ(body.argument, &marker);
    EXPECT_EQ(body.owner, &thread);
}

TEST(Thread, IdleThreadsJoinAtOnceAndCanBeRestarted)
{
    Body body;
    {
        Thread never(Action<ThreadContext const&>(&body, &Body::Quick));
        never.Join();
        never.Stop(); // idle: sets nothing
    }
    EXPECT_EQ(body.runs.load(), 0);

    Thread thread(Action<ThreadContext const&>(&body, &Body::Quick));
    for (int i = 0; i < 3; i++)
    {
        thread.Start();
        thread.Join();
    }
    EXPECT_EQ(body.runs.load(), 3);

    // An empty body runs nothing and finishes.
    Thread empty((Action<ThreadContext const&>()));
    empty.Start();
    empty.Join();
    EXPECT_FALSE(empty.IsRunning());
}

TEST(Thread, DestructorWaitsForABodyThatIgnoresTheStopRequest)
{
    Body body;
    std::atomic<bool> destroyed{false};
    Thread* thread = new Thread(Action<ThreadContext const&>(&body, &Body::UntilReleased));
    thread->Start();
    body.started.Wait();
    std::thread destroyer([&] {
        delete thread;
        destroyed = true;
    });
    EXPECT_FALSE(destroyed.load());
    body.release.CountDown();
    destroyer.join();
    EXPECT_TRUE(destroyed.load());
}

TEST(Thread, MutexesExcludeAndRecursiveMutexReenters)
{
    Mutex mutex;
    RecursiveMutex recursive;
    long counter = 0;
    std::thread helpers[2];
    for (auto& helper : helpers)
        helper = std::thread([&] {
            for (int i = 0; i < 20000; i++)
            {
                ScopedLock<Mutex> lock(mutex);
                counter++;
            }
        });
    for (auto& helper : helpers)
        helper.join();
    EXPECT_EQ(counter, 40000);

    recursive.Lock();
    recursive.Lock();
    recursive.Unlock();
    recursive.Unlock();
}

TEST(Thread, SleepWaitsAtLeastItsTimeAndReturnsAtOnceForZeroOrLess)
{
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    Thread::Sleep(20);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));

    // A negative time read as unsigned microseconds would sleep for ages.
    start = Clock::now();
    Thread::Sleep(0);
    Thread::Sleep(-5);
    Thread::Sleep(INT32_MIN);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}
