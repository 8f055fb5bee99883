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
    ASSERT_TRUE(body.started.Wait());
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

namespace
{
// Notes the stop request, yet runs on until released.
struct Stubborn
{
    Latch started;
    Latch sawStop;
    Latch release;
    std::atomic<bool> finished{false};

    void Run(ThreadContext const& context)
    {
        started.CountDown();
        while (!context.IsStopRequested() && !release.IsOpen())
            std::this_thread::yield();
        if (context.IsStopRequested())
            sawStop.CountDown();
        release.Wait();
        finished = true;
    }
};
} // namespace

TEST(Thread, DestructorWaitsForABodyThatIgnoresTheStopRequest)
{
    Stubborn body;
    Thread* thread = new Thread(Action<ThreadContext const&>(&body, &Stubborn::Run));
    thread->Start();
    body.started.Wait();

    // The deleting thread notes whether the body had finished by the time
    // delete returned: a destructor that does not wait returns while the
    // body still runs.
    std::atomic<bool> finishedWhenDeleted{false};
    std::thread destroyer([&] {
        delete thread;
        finishedWhenDeleted = body.finished.load();
    });
    // The destructor has asked the body to stop, so delete is under way;
    // give a destructor that does not wait the time to return before the
    // body is let go.
    body.sawStop.Wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    body.release.CountDown();
    destroyer.join();
    EXPECT_TRUE(body.finished.load());
    EXPECT_TRUE(finishedWhenDeleted.load()) << "delete returned before the body had finished";
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
