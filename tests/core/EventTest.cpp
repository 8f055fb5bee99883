#include "engine/core/Event.h"
#include "engine/core/Thread.h"
#include "tests/support/Latch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using Vexel::Action;
using Vexel::ConcurrentEvent;
using Vexel::Event;

namespace
{
std::vector<std::string> journal;

struct Listener
{
    explicit Listener(std::string name) : name(std::move(name)) {}
    std::string name;
    int calls = 0;
    Event<int>* event = nullptr;
    Listener* victim = nullptr;
    Listener* recruit = nullptr;

    void OnValue(int v)
    {
        calls++;
        journal.push_back(name + ":" + std::to_string(v));
    }
    void OnValueAlt(int v)
    {
        calls++;
        journal.push_back(name + "*:" + std::to_string(v));
    }
    void UnsubscribeSelf(int v)
    {
        OnValue(v);
        event->Unsubscribe(this);
    }
    void UnsubscribeVictim(int v)
    {
        OnValue(v);
        event->Unsubscribe(victim);
    }
    void SubscribeRecruit(int v)
    {
        OnValue(v);
        event->Subscribe(Action<int>(recruit, &Listener::OnValue));
    }
    void OnText(std::string text)
    {
        text += name;
        journal.push_back(text);
    }
};

class EventTest : public ::testing::Test
{
protected:
    void SetUp() override { journal.clear(); }
};
} // namespace

TEST_F(EventTest, RaisesInSubscriptionOrderAndReplacementKeepsItsSlot)
{
    Event<int> event;
    event.Raise(1); // no map yet: nothing happens
    Listener a("a"), b("b"), c("c");
    event.Subscribe(Action<int>(&a, &Listener::OnValue));
    event.Subscribe(Action<int>(&b, &Listener::OnValue));
    event.Subscribe(Action<int>(&c, &Listener::OnValue));
    event.Subscribe(Action<int>(&a, &Listener::OnValueAlt)); // replaces, keeps first place
    EXPECT_EQ(event.SubscriberCount(), 3u);
    event(2);
    EXPECT_EQ(journal, (std::vector<std::string>{"a*:2", "b:2", "c:2"}));

    journal.clear();
    event.Unsubscribe(&b);
    event.Unsubscribe(&b); // not subscribed any more: nothing
    event.Raise(3);
    EXPECT_EQ(journal, (std::vector<std::string>{"a*:3", "c:3"}));
}

TEST_F(EventTest, ChangesDuringARaise)
{
    Event<int> event;
    Listener self("self"), killer("killer"), victim("victim"), recruiter("recruiter"), recruit("recruit");
    self.event = killer.event = recruiter.event = &event;
    killer.victim = &victim;
    recruiter.recruit = &recruit;
    event.Subscribe(Action<int>(&self, &Listener::UnsubscribeSelf));
    event.Subscribe(Action<int>(&killer, &Listener::UnsubscribeVictim));
    event.Subscribe(Action<int>(&victim, &Listener::OnValue));
    event.Subscribe(Action<int>(&recruiter, &Listener::SubscribeRecruit));

    event.Raise(1);
    EXPECT_EQ(journal, (std::vector<std::string>{"self:1", "killer:1", "recruiter:1"}));
    journal.clear();
    event.Raise(2);
    // self is gone; the recruit joined last time and is called now.
    EXPECT_EQ(journal, (std::vector<std::string>{"killer:2", "recruiter:2", "recruit:2"}));
}

TEST_F(EventTest, ByValueArgumentsReachEachHandlerAsACopy)
{
    Event<std::string> event;
    Listener a("a"), b("b");
    event.Subscribe(Action<std::string>(&a, &Listener::OnText));
    event.Subscribe(Action<std::string>(&b, &Listener::OnText));
    std::string text = "hi-";
    event.Raise(text);
    EXPECT_EQ(text, "hi-");
    EXPECT_EQ(journal, (std::vector<std::string>{"hi-a", "hi-b"}));
}

namespace
{
struct Reentrant
{
    ConcurrentEvent<int>* event = nullptr;
    int depth = 0;
    void OnValue(int v)
    {
        depth++;
        if (v > 0)
            event->Raise(v - 1); // a nested raise on the same thread must not block
    }
};

struct Tally
{
    std::atomic<int> calls{0};
    void Hit() { calls++; }
};
} // namespace

TEST_F(EventTest, ConcurrentEventAllowsNestedRaisesAndManyThreads)
{
    ConcurrentEvent<int> event;
    Reentrant r;
    r.event = &event;
    event.Subscribe(Action<int>(&r, &Reentrant::OnValue));
    event.Raise(3);
    EXPECT_EQ(r.depth, 4);

    // Several threads subscribe, raise and unsubscribe at once.
    ConcurrentEvent<> shared;
    Tally keeper;
    shared.Subscribe(Action<>(&keeper, &Tally::Hit));
    struct Worker
    {
        ConcurrentEvent<>* event;
        Tally own;
        void Run(Vexel::Threading::ThreadContext const&)
        {
            for (int i = 0; i < 200; i++)
            {
                event->Subscribe(Action<>(&own, &Tally::Hit));
                event->Raise();
                event->Unsubscribe(&own);
            }
        }
    };
    Worker workers[3];
    std::vector<Vexel::Threading::Thread*> threads;
    for (Worker& w : workers)
    {
        w.event = &shared;
        threads.push_back(new Vexel::Threading::Thread(
            Action<Vexel::Threading::ThreadContext const&>(&w, &Worker::Run)));
    }
    for (auto* t : threads)
        t->Start();
    for (auto* t : threads)
        delete t; // joins
    EXPECT_EQ(keeper.calls.load(), 600);
    for (Worker& w : workers)
        EXPECT_GE(w.own.calls.load(), 200);
    EXPECT_EQ(shared.SubscriberCount(), 1u);
}

namespace
{
// A handler that announces it runs, then holds until released.
struct Holder
{
    TestSupport::Latch entered;
    TestSupport::Latch release;
    std::atomic<bool> finished{false};
    void Hold()
    {
        entered.CountDown();
        release.Wait();
        finished = true;
    }
};
} // namespace

TEST_F(EventTest, ConcurrentUnsubscribeWaitsForTheHandlerRunningOnAnotherThread)
{
    ConcurrentEvent<> event;
    Holder holder;
    event.Subscribe(Action<>(&holder, &Holder::Hold));
    std::thread raiser([&] { event.Raise(); });
    holder.entered.Wait();

    // Removed while its handler runs elsewhere: Unsubscribe returns only after
    // the handler did, so the target could be destroyed at once.
    std::atomic<bool> finishedWhenReturned{false};
    TestSupport::Latch unsubscribing;
    std::thread remover(
        [&]
        {
            unsubscribing.CountDown();
            event.Unsubscribe(&holder);
            finishedWhenReturned = holder.finished.load();
        });
    unsubscribing.Wait();
    // Room for an Unsubscribe that does not wait to return too early.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    holder.release.CountDown();
    remover.join();
    raiser.join();
    EXPECT_TRUE(finishedWhenReturned.load());
    EXPECT_EQ(event.SubscriberCount(), 0u);
}

namespace
{
// Two events whose handlers, on two threads, each unsubscribe a bystander
// from the other event while the other event's handler runs: the pattern
// of a timer stopped from either frame event. Holding an event's lock while
// a handler runs would deadlock here.
struct CrossUnsubscriber
{
    ConcurrentEvent<>* other = nullptr;
    TestSupport::Latch* mine = nullptr;   // opened when this handler runs
    TestSupport::Latch* theirs = nullptr; // the other handler runs
    Tally* bystander = nullptr;
    void Run()
    {
        mine->CountDown();
        theirs->Wait();
        other->Unsubscribe(bystander);
    }
};
} // namespace

TEST_F(EventTest, ConcurrentHandlersMayTouchEachOthersEventsFromTwoThreads)
{
    ConcurrentEvent<> update, animate;
    Tally onUpdate, onAnimate;
    update.Subscribe(Action<>(&onUpdate, &Tally::Hit));
    animate.Subscribe(Action<>(&onAnimate, &Tally::Hit));
    TestSupport::Latch inUpdate, inAnimate;
    CrossUnsubscriber a, b;
    a.other = &animate;
    a.mine = &inUpdate;
    a.theirs = &inAnimate;
    a.bystander = &onAnimate;
    b.other = &update;
    b.mine = &inAnimate;
    b.theirs = &inUpdate;
    b.bystander = &onUpdate;
    update.Subscribe(Action<>(&a, &CrossUnsubscriber::Run));
    animate.Subscribe(Action<>(&b, &CrossUnsubscriber::Run));
    std::thread first([&] { update.Raise(); });
    std::thread second([&] { animate.Raise(); });
    first.join();
    second.join();
    EXPECT_EQ(update.SubscriberCount(), 1u);
    EXPECT_EQ(animate.SubscriberCount(), 1u);
}
