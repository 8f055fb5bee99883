// Frame-driven timers: catching up, one-shots, the phase they hang on,
// intervals that must never fire, and handlers that stop or delete them.
#include "engine/ui/Timer.h"

#include "tests/ui/UITestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Vexel::UI;

namespace
{
// Counts firings and optionally stops or deletes the timer on a firing.
struct Listener
{
    int fired = 0;
    int stopOnFiring = 0;   // stop on this firing (1-based), 0 never
    int deleteOnFiring = 0; // delete on this firing, 0 never
    int restartOnFiring = 0;
    Timer* owned = nullptr; // deleted by deleteOnFiring
    std::vector<int> ticksFired;
    int currentTick = 0;

    void OnElapsed(Timer* timer)
    {
        ++fired;
        ticksFired.push_back(currentTick);
        if (fired == stopOnFiring)
            timer->Stop();
        if (fired == restartOnFiring)
        {
            timer->Stop();
            timer->Start();
        }
        if (fired == deleteOnFiring)
        {
            delete owned;
            owned = nullptr;
        }
    }
    void Watch(Timer& timer) { timer.Elapsed.Subscribe(Vexel::Action<Timer*>(this, &Listener::OnElapsed)); }
};

class TimerTest : public UITest::UIFixture
{
protected:
    static void UpdateFrame(float dt = UITest::kFrame) { UIManager::Updating.Raise(dt); }
    static void AnimateFrame(float dt = UITest::kFrame) { UIManager::Animating.Raise(dt); }
};
} // namespace

TEST_F(TimerTest, RepeatingTimerFiresEveryThirdFrameWithoutLosingTime)
{
    Timer timer(0.1, true, true, TimerPhase::Update, false);
    Listener listener;
    listener.Watch(timer);
    for (int tick = 1; tick <= 3000; ++tick)
    {
        listener.currentTick = tick;
        UpdateFrame();
    }
    ASSERT_EQ(listener.fired, 1000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(listener.ticksFired[size_t(i)], 3 * (i + 1)) << "firing " << i;
    EXPECT_EQ(timer.GetFireCount(), 1000);
    EXPECT_TRUE(timer.IsRunning());
}

TEST_F(TimerTest, OneShotFiresOnceHoweverLateAndStops)
{
    Timer timer(0.01, false, true, TimerPhase::Update, false);
    Listener listener;
    listener.Watch(timer);
    UpdateFrame();
    EXPECT_EQ(listener.fired, 1);
    EXPECT_EQ(timer.GetFireCount(), 1);
    EXPECT_FALSE(timer.IsRunning());
    UpdateFrame();
    EXPECT_EQ(listener.fired, 1);
}

namespace
{
struct CatchUpCase
{
    double interval;
    float dt;
    int ticks;
    int expectedFirings;
    double expectedRemainder;
};
const CatchUpCase kCatchUps[] = {
    {0.1, 0.35f, 1, 3, 0.05},
    {0.1, 0.05f, 1, 0, 0.05},
    {0.25, 1.0f, 2, 8, 0.0},
    {1.0, 0.5f, 3, 1, 0.5},
};
class CatchUp : public TimerTest, public ::testing::WithParamInterface<CatchUpCase>
{
};
} // namespace

TEST_P(CatchUp, RepeatingTimerKeepsTheRemainder)
{
    const CatchUpCase c = GetParam();
    Timer timer(c.interval, true, true, TimerPhase::Update, false);
    Listener listener;
    listener.Watch(timer);
    for (int i = 0; i < c.ticks; ++i)
        UpdateFrame(c.dt);
    EXPECT_EQ(listener.fired, c.expectedFirings);
    EXPECT_NEAR(timer.GetElapsedTime(), c.expectedRemainder, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Intervals, CatchUp, ::testing::ValuesIn(kCatchUps));

TEST_F(TimerTest, PhaseChoosesTheFrameEvent)
{
    Timer animate(0.01, true, true, TimerPhase::Animate, false);
    Timer update(0.01, true, true, 7, false); // any other value is the update phase
    Listener onAnimate, onUpdate;
    onAnimate.Watch(animate);
    onUpdate.Watch(update);
    AnimateFrame(0.015f);
    EXPECT_EQ(onAnimate.fired, 1);
    EXPECT_EQ(onUpdate.fired, 0);
    UpdateFrame(0.015f);
    EXPECT_EQ(onAnimate.fired, 1);
    EXPECT_EQ(onUpdate.fired, 1);
}

TEST_F(TimerTest, IntervalOfZeroOrLessNeverFires)
{
    for (double interval : {0.0, -1.0, -1e-9, std::nan("")})
    {
        Timer timer(interval, true, true, TimerPhase::Update, false);
        Listener listener;
        listener.Watch(timer);
        for (int i = 0; i < 10; ++i)
            UpdateFrame(1.0f);
        EXPECT_EQ(listener.fired, 0) << interval;
        EXPECT_EQ(timer.GetFireCount(), 0);
    }
}

TEST_F(TimerTest, StartAndStopAreIdempotent)
{
    Timer timer(1.0, true, false, TimerPhase::Update, false);
    EXPECT_FALSE(timer.IsRunning());
    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    timer.Start();
    UpdateFrame(0.5f);
    timer.Start(); // running: keeps its time
    EXPECT_DOUBLE_EQ(timer.GetElapsedTime(), 0.5);
    Listener listener;
    listener.Watch(timer);
    UpdateFrame(0.5f);
    EXPECT_EQ(listener.fired, 1);
    EXPECT_EQ(timer.GetInterval(), 1.0);

    // A stop and a fresh start begin a new interval; the count stays.
    UpdateFrame(0.5f);
    timer.Stop();
    timer.Start();
    EXPECT_EQ(timer.GetElapsedTime(), 0.0);
    EXPECT_EQ(timer.GetFireCount(), 1);
    timer.Reset();
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.GetFireCount(), 0);
    UpdateFrame(5.0f);
    EXPECT_EQ(listener.fired, 1);
}

TEST_F(TimerTest, HandlerThatStopsTheTimerEndsTheCatchUp)
{
    Timer timer(0.1, true, true, TimerPhase::Update, false);
    Listener listener;
    listener.stopOnFiring = 2;
    listener.Watch(timer);
    UpdateFrame(1.0f); // ten intervals due
    EXPECT_EQ(listener.fired, 2);
    EXPECT_EQ(timer.GetFireCount(), 2);
    EXPECT_FALSE(timer.IsRunning());
}

TEST_F(TimerTest, HandlerThatRestartsTheTimerEndsTheCatchUp)
{
    Timer timer(0.1, true, true, TimerPhase::Update, false);
    Listener listener;
    listener.restartOnFiring = 1;
    listener.Watch(timer);
    UpdateFrame(1.0f);
    EXPECT_EQ(listener.fired, 1);
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(timer.GetElapsedTime(), 0.0);
}

TEST_F(TimerTest, HandlerThatDeletesTheTimerEndsTheCatchUp)
{
    auto* timer = new Timer(0.1, true, true, TimerPhase::Animate, false);
    Listener deleter, bystander;
    deleter.deleteOnFiring = 1;
    deleter.owned = timer;
    deleter.Watch(*timer);
    bystander.Watch(*timer); // still told of the firing that was under way
    AnimateFrame(1.0f);
    EXPECT_EQ(deleter.owned, nullptr);
    EXPECT_EQ(deleter.fired, 1);
    EXPECT_EQ(bystander.fired, 1);
    AnimateFrame(1.0f); // the deleted timer is no longer subscribed
    EXPECT_EQ(deleter.fired, 1);
}

TEST_F(TimerTest, DestroyedTimerLeavesTheFrameEvents)
{
    const size_t before = UIManager::Updating.SubscriberCount();
    {
        Timer timer(0.1, true, true, TimerPhase::Update, false);
        EXPECT_EQ(UIManager::Updating.SubscriberCount(), before + 1);
    }
    EXPECT_EQ(UIManager::Updating.SubscriberCount(), before);
    UpdateFrame(1.0f);
}

TEST_F(TimerTest, RealTimeModeIgnoresFrameTime)
{
    Timer slow(1000.0, true, true, TimerPhase::Update, true);
    Listener listener;
    listener.Watch(slow);
    UpdateFrame(5000.0f);
    EXPECT_EQ(listener.fired, 0);
    EXPECT_LT(slow.GetElapsedTime(), 1000.0);
    EXPECT_GE(slow.GetElapsedTime(), 0.0); // monotonic: never runs backwards
    EXPECT_TRUE(slow.IsRealTime());

    Timer quick(1e-9, false, true, TimerPhase::Update, true);
    Listener quickListener;
    quickListener.Watch(quick);
    // The clock moves on between calls; bounded so that a frozen clock fails.
    for (int i = 0; i < 100000 && quickListener.fired == 0; ++i)
        UpdateFrame(0.0f);
    EXPECT_EQ(quickListener.fired, 1);
    EXPECT_FALSE(quick.IsRunning());
}
