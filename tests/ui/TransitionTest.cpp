// Layout transitions: the BasicTransition's components and timing, and the
// element's queue (start, finish, carry-over of the clock, ownership).
#include "engine/ui/BasicTransition.h"
#include "engine/ui/Element.h"

#include "tests/ui/UITestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Vexel::UI;
using UITest::Box;
using Vexel::UI::Transitions::BasicTransition;

namespace
{
const Vector2 kParents[2] = {Vector2(320, 480), Vector2(480, 320)};

// Counts its own deletion; DeleteWhenDone answers as told.
class CountedTransition : public BasicTransition
{
public:
    CountedTransition(float alpha, float duration, int* deletions, bool deleteWhenDone = true)
        : BasicTransition(alpha, duration, 0), deletions(deletions), deleteWhenDone(deleteWhenDone)
    {
    }
    ~CountedTransition() override { ++*deletions; }
    bool DeleteWhenDone() override { return deleteWhenDone; }

private:
    int* deletions;
    bool deleteWhenDone;
};

// Records the transition events of an element.
struct TransitionLog
{
    std::vector<std::string> entries;
    Element* element = nullptr;
    ElementTransition* toQueueOnFinish = nullptr;

    void Watch(Element* e)
    {
        element = e;
        e->TransitionStarted.Subscribe(
            Vexel::Action<Element*, ElementTransition*>(this, &TransitionLog::Started));
        e->TransitionFinished.Subscribe(
            Vexel::Action<Element*, ElementTransition*>(this, &TransitionLog::Finished));
    }
    void Started(Element*, ElementTransition*) { entries.push_back("started"); }
    void Finished(Element* e, ElementTransition*)
    {
        entries.push_back("finished");
        if (toQueueOnFinish)
        {
            ElementTransition* next = toQueueOnFinish;
            toQueueOnFinish = nullptr;
            e->QueueTransition(next);
        }
    }
};

class TransitionTest : public UITest::UIFixture
{
protected:
    // An element arranged in a 320 x 480 screen (landscape 480 x 320).
    void Place(Element& e) { e.Arrange(0.0f, kParents, Vector2(0, 0)); }
};
} // namespace

TEST(BasicTransition, ConstructorsChooseTheirComponents)
{
    BasicTransition position(ElementPosition(Vector2(1, 2)), 1.0f, 0);
    EXPECT_TRUE(position.AnimatesPosition());
    EXPECT_FALSE(position.AnimatesSize() || position.AnimatesAlpha() || position.AnimatesVisible() ||
                 position.AnimatesEnabled());

    BasicTransition size(Vector2(5, 6), 1.0f, 0);
    EXPECT_TRUE(size.AnimatesSize());
    EXPECT_EQ(size.GetTarget().sizeLandscape, Vector2(5, 6));

    BasicTransition sizes(Vector2(5, 6), Vector2(7, 8), 1.0f, 0);
    EXPECT_EQ(sizes.GetTarget().sizePortrait, Vector2(5, 6));
    EXPECT_EQ(sizes.GetTarget().sizeLandscape, Vector2(7, 8));

    BasicTransition enabled(false, 1, 1.0f, 0);
    EXPECT_TRUE(enabled.AnimatesEnabled());
    EXPECT_FALSE(enabled.AnimatesVisible());
    EXPECT_FALSE(enabled.GetTarget().enabled);

    BasicTransition visible(false, 7, 1.0f, 0);
    EXPECT_TRUE(visible.AnimatesVisible());
    EXPECT_FALSE(visible.AnimatesEnabled());

    BasicTransition alpha(0.25f, 1.0f, 2);
    EXPECT_TRUE(alpha.AnimatesAlpha());
    EXPECT_EQ(alpha.GetEasing(), 2);
    EXPECT_EQ(alpha.GetTarget().position.alignment, 5u);

    BasicTransition whole(Box(1, 2, 3, 4), 1.0f, 0);
    EXPECT_TRUE(whole.AnimatesPosition() && whole.AnimatesSize() && whole.AnimatesVisible() &&
                whole.AnimatesEnabled() && whole.AnimatesAlpha());

    // Combined on one object, as page code does.
    alpha.SetTargetPosition(ElementPosition(Vector2(9, 9)));
    alpha.SetTargetSize(Vector2(1, 1));
    EXPECT_TRUE(alpha.AnimatesAlpha() && alpha.AnimatesPosition() && alpha.AnimatesSize());
    alpha.SetTiming(2.0f, 1);
    EXPECT_FALSE(alpha.AnimatesAlpha() || alpha.AnimatesPosition() || alpha.AnimatesSize());
    EXPECT_EQ(alpha.GetDuration(), 2.0f);
    EXPECT_EQ(alpha.GetEasing(), 1);
}

TEST(BasicTransition, NegativeAndNanDurationsBecomeZero)
{
    EXPECT_EQ(BasicTransition(0.0f, -1.0f, 0).GetDuration(), 0.0f);
    EXPECT_EQ(BasicTransition(0.0f, std::nanf(""), 0).GetDuration(), 0.0f);
}

TEST(BasicTransition, CloneCopiesEveryField)
{
    BasicTransition original(0.25f, 1.5f, 2);
    original.SetTargetFlag(false, 1);
    ElementTransition* copy = original.Clone();
    auto* basic = static_cast<BasicTransition*>(copy);
    EXPECT_EQ(basic->GetDuration(), 1.5f);
    EXPECT_EQ(basic->GetEasing(), 2);
    EXPECT_TRUE(basic->AnimatesAlpha() && basic->AnimatesEnabled());
    EXPECT_FALSE(basic->GetTarget().enabled);
    EXPECT_EQ(basic->GetTarget().alpha, 0.25f);
    delete copy;
}

namespace
{
struct AlphaCase
{
    int easing;
    float elapsed;
    float expected;
};

// Alpha 1 -> 0 over 0.5 s.
const AlphaCase kAlphaCases[] = {
    {0, 0.25f, 0.5f},   {1, 0.25f, 0.5f},        {2, 0.25f, 0.29289322f}, {3, 0.25f, 0.70710678f},
    {0, 0.0f, 1.0f},    {2, -1.0f, 1.0f},        {0, 0.5f, 0.0f},         {1, 0.75f, 0.0f},
    {0, 0.125f, 0.75f}, {1, 0.125f, 0.8535534f},
};

class AlphaTable : public ::testing::TestWithParam<AlphaCase>
{
};
} // namespace

TEST_P(AlphaTable, ApplyEasesAlpha)
{
    const AlphaCase c = GetParam();
    BasicTransition fade(0.0f, 0.5f, c.easing);
    ElementLayout from = Box(0, 0, 10, 10);
    ElementLayout out;
    fade.Apply(out, from, kParents, c.elapsed);
    EXPECT_NEAR(out.alpha, c.expected, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Easings, AlphaTable, ::testing::ValuesIn(kAlphaCases));

TEST(BasicTransition, ApplyIntoTheSameRecordMatchesACopy)
{
    BasicTransition move(ElementPosition(Vector2(0, 0), 5), 1.0f, 0);
    move.SetTargetSize(Vector2(200, 100));
    const ElementLayout from = Box(0, 0, 100, 50, 0);
    ElementLayout separate;
    move.Apply(separate, from, kParents, 0.5f);
    ElementLayout same = from;
    move.Apply(same, same, kParents, 0.5f);
    EXPECT_EQ(same.position.positionPortrait, separate.position.positionPortrait);
    EXPECT_EQ(same.sizePortrait, separate.sizePortrait);
}

TEST(BasicTransition, AlignmentChangeStartsFromTheSameOffset)
{
    const ElementLayout from = Box(0, 0, 100, 50, 0); // centred
    const Vector2 start = Transitions::ConvertPosition(from, 0, 5, Vector2(320, 480), Vector2(100, 50));
    EXPECT_EQ(start, Vector2(110, 215));
    EXPECT_EQ(Transitions::ConvertPosition(from, 0, 0, Vector2(320, 480), Vector2(100, 50)), Vector2(0, 0));

    BasicTransition move(ElementPosition(Vector2(0, 0), 5), 1.0f, 0);
    ElementLayout out;
    move.Apply(out, from, kParents, 0.0f);
    EXPECT_EQ(out.position.alignment, 5u); // at once
    EXPECT_EQ(out.position.positionPortrait, Vector2(110, 215));
    move.Apply(out, from, kParents, 0.5f);
    EXPECT_EQ(out.position.positionPortrait, Vector2(55, 107.5f));

    // With the size changing too, the start follows the size already eased.
    move.SetTargetSize(Vector2(200, 100));
    move.Apply(out, from, kParents, 0.5f);
    EXPECT_EQ(out.sizePortrait, Vector2(150, 75));
    EXPECT_EQ(out.position.positionPortrait, Vector2(42.5f, 101.25f));
}

TEST(BasicTransition, FlagsSwitchAtTheFirstApplication)
{
    BasicTransition hide(false, 0, 1.0f, 0);
    ElementLayout out;
    hide.Apply(out, Box(0, 0, 1, 1), kParents, 0.0f);
    EXPECT_FALSE(out.visible);
}

TEST_F(TransitionTest, ElementAlphaFadeFollowsTheClock)
{
    Element e(Box(0, 0, 10, 10), 0);
    Place(e);
    e.QueueTransition(new BasicTransition(0.0f, 0.5f, 0));
    EXPECT_TRUE(e.IsTransitioning());
    e.AdvanceTransitions(0.25f);
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.5f);
    e.AdvanceTransitions(0.25f);
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.0f);
    EXPECT_FALSE(e.IsTransitioning());
}

TEST_F(TransitionTest, NegativeDurationFinishesInTheStartingCall)
{
    Element e(Box(0, 0, 10, 10), 0);
    TransitionLog log;
    log.Watch(&e);
    e.QueueTransition(new BasicTransition(0.3f, -1.0f, 0));
    EXPECT_EQ(log.entries, (std::vector<std::string>{"started", "finished"}));
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.3f);
    EXPECT_FALSE(e.IsTransitioning());
}

TEST_F(TransitionTest, TinyDurationShowsTheEndAtOnceButFinishesOnTime)
{
    Element e(Box(0, 0, 10, 10), 0);
    TransitionLog log;
    log.Watch(&e);
    e.QueueTransition(new BasicTransition(0.3f, 0.0005f, 0));
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.3f);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"started"}));
    EXPECT_TRUE(e.IsTransitioning());
    e.AdvanceTransitions(0.0004f);
    EXPECT_TRUE(e.IsTransitioning());
    e.AdvanceTransitions(0.0002f);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"started", "finished"}));
    EXPECT_FALSE(e.IsTransitioning());
}

TEST_F(TransitionTest, LeftOverTimeRunsTheNextQueuedTransition)
{
    Element e(Box(0, 0, 10, 10), 0);
    TransitionLog log;
    log.Watch(&e);
    e.QueueTransition(new BasicTransition(0.0f, 0.1f, 0));
    e.QueueTransition(new BasicTransition(1.0f, 0.1f, 0));
    e.AdvanceTransitions(0.07f); // 0.03 s of the first remain
    EXPECT_NEAR(e.GetAlpha(), 0.3f, 1e-5);
    e.AdvanceTransitions(0.1f);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"started", "finished", "started"}));
    EXPECT_NEAR(e.GetAlpha(), 0.7f, 1e-5); // 0.07 s into the second
    e.AdvanceTransitions(0.03f);
    EXPECT_NEAR(e.GetAlpha(), 1.0f, 1e-5);
    EXPECT_FALSE(e.IsTransitioning());
}

TEST_F(TransitionTest, TransitionQueuedOnFinishStartsWithTheClockAtZero)
{
    Element e(Box(0, 0, 10, 10), 0);
    TransitionLog log;
    log.Watch(&e);
    e.QueueTransition(new BasicTransition(0.0f, 0.1f, 0));
    log.toQueueOnFinish = new BasicTransition(1.0f, 0.2f, 0);
    e.AdvanceTransitions(0.15f);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"started", "finished", "started"}));
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.0f); // the 0.05 s left over were not spent
    e.AdvanceTransitions(0.1f);
    EXPECT_NEAR(e.GetAlpha(), 0.5f, 1e-5);
}

TEST_F(TransitionTest, FinishedTransitionsAreDeletedOnlyWhenTheyAskForIt)
{
    int deleted = 0;
    auto* kept = new CountedTransition(0.5f, 0.0f, &deleted, false);
    {
        Element e(Box(0, 0, 10, 10), 0);
        e.QueueTransition(new CountedTransition(0.5f, 0.0f, &deleted));
        EXPECT_EQ(deleted, 1);
        e.QueueTransition(kept);
        EXPECT_EQ(deleted, 1);
    }
    EXPECT_EQ(deleted, 1);
    delete kept;
}

TEST_F(TransitionTest, DestroyingAnElementDeletesItsTransitionsUnannounced)
{
    int deleted = 0;
    auto* keptRunning = new CountedTransition(0.5f, 1.0f, &deleted, false);
    auto* keptQueued = new CountedTransition(0.5f, 1.0f, &deleted, false);
    TransitionLog log;
    {
        Element e(Box(0, 0, 10, 10), 0);
        e.QueueTransition(new CountedTransition(0.5f, 1.0f, &deleted)); // running
        e.QueueTransition(new CountedTransition(0.5f, 1.0f, &deleted)); // queued
        e.QueueTransition(keptQueued);
        log.Watch(&e);
        EXPECT_EQ(deleted, 0);
    }
    EXPECT_EQ(deleted, 2);
    EXPECT_TRUE(log.entries.empty());
    delete keptQueued;
    EXPECT_EQ(deleted, 3);

    {
        Element e(Box(0, 0, 10, 10), 0);
        e.QueueTransition(keptRunning);
    }
    EXPECT_EQ(deleted, 3);
    delete keptRunning;
}

TEST_F(TransitionTest, WholeLayoutTargetMovesEveryComponentIncludingAlpha)
{
    Element e(Box(0, 0, 10, 10), 0);
    Place(e);
    ElementLayout target = Box(100, 50, 30, 40);
    target.alpha = 0.0f;
    target.enabled = false;
    e.QueueTransition(new BasicTransition(target, 1.0f, 0));
    EXPECT_FALSE(e.IsEnabled()); // flags switch at once
    e.AdvanceTransitions(0.5f);
    EXPECT_EQ(e.GetLayout().position.positionPortrait, Vector2(50, 25));
    EXPECT_EQ(e.GetSize(), Vector2(20, 25));
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.5f);
}
