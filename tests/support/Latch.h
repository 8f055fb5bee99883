// Hand-over helpers for threading tests: a counting latch that opens when
// counted down to zero, and a yielding wait on a condition that only another
// thread can make true. Neither ever sleeps for a fixed time.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace TestSupport
{

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

    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        condition.wait(lock, [this] { return count == 0; });
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
template <class Condition> void YieldUntil(Condition condition)
{
    while (!condition())
        std::this_thread::yield();
}

} // namespace TestSupport
