// Hand-over helpers for threading tests: a counting latch that opens when
// counted down to zero, and a yielding wait on a condition that only another
// thread can make true. Neither sleeps for a fixed time, and neither waits
// for ever: a wait that runs out fails the test (from any thread) and
// returns false, so a broken hand-over ends the test instead of hanging it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace TestSupport
{

// Long enough for a sanitizer build on a loaded machine; far below the
// CTest timeout, so the failure names the wait that ran out.
constexpr std::chrono::milliseconds kHandOverTimeout(10000);

class Latch
{
public:
    explicit Latch(int count = 1) : count(count) {}

    void CountDown()
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (count > 0 && --count == 0)
            condition.notify_all();
    }

    // True once open; false, with a test failure, when the time runs out.
    bool Wait(std::chrono::milliseconds timeout = kHandOverTimeout)
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (condition.wait_for(lock, timeout, [this] { return count == 0; }))
            return true;
        ADD_FAILURE() << "a latch was still closed (" << count << " to go) after " << timeout.count()
                      << " ms";
        return false;
    }

    bool IsOpen()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return count == 0;
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    int count;
};

// For state that offers no notification of its own (the pool's stop flag).
// True once the condition holds; false, with a test failure, on timeout.
template <class Condition>
bool YieldUntil(Condition condition, std::chrono::milliseconds timeout = kHandOverTimeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            ADD_FAILURE() << "a condition did not come true within " << timeout.count() << " ms";
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

} // namespace TestSupport
