// The UI manager: roots on layers, the frame phases, touch capture (also of
// elements destroyed while they hold touches), removals and start-up.
#include "engine/audio/Music.h"
#include "engine/audio/SoundEffects.h"
#include "engine/graphics/GL.h"
#include "engine/ui/BasicTransition.h"
#include "engine/ui/Screen.h"

#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Vexel::UI;
using UITest::Box;
using UITest::LoggingElement;

namespace
{
class UIManagerTest : public UITest::UIFixture
{
protected:
    InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
    Internal::Events& events = core;
    Internal::Input& input = core;

    static TouchPoint At(float x, float y, int tapCount = 1)
    {
        return TouchPoint(Vector2(x, y), Vector2(x, y), tapCount);
    }
};

bool Contains(std::vector<std::string> const& list, std::string const& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Watches the frame events and what the roots look like when they fire.
struct FrameWatcher
{
    explicit FrameWatcher(std::vector<std::string>* log) : log(log) {}

    std::vector<std::string>* log;
    float blendSeen = -1.0f;
    Vexel::Rectangle areaSeen;

    void OnAnimating(float)
    {
        log->push_back("Animating");
        blendSeen = UIManager::GetOrientationBlend();
    }
    void OnUpdating(float) { log->push_back("Updating"); }
    void OnBeforeDraw(Vexel::Rectangle r)
    {
        log->push_back("BeforeDraw");
        areaSeen = r;
    }
    void OnAfterDraw(Vexel::Rectangle) { log->push_back("AfterDraw"); }

    void Subscribe()
    {
        UIManager::Animating.Subscribe(Vexel::Action<float>(this, &FrameWatcher::OnAnimating));
        UIManager::Updating.Subscribe(Vexel::Action<float>(this, &FrameWatcher::OnUpdating));
        UIManager::BeforeDraw.Subscribe(Vexel::Action<Vexel::Rectangle>(this, &FrameWatcher::OnBeforeDraw));
        UIManager::AfterDraw.Subscribe(Vexel::Action<Vexel::Rectangle>(this, &FrameWatcher::OnAfterDraw));
    }
    ~FrameWatcher()
    {
        UIManager::Animating.Unsubscribe(this);
        UIManager::Updating.Unsubscribe(this);
        UIManager::BeforeDraw.Unsubscribe(this);
        UIManager::AfterDraw.Unsubscribe(this);
    }
};
} // namespace

TEST_F(UIManagerTest, NeverAttachedElementHasTheDetachedLayer)
{
    Element e(Box(0, 0, 1, 1), 0);
    EXPECT_EQ(UIManager::GetElementLayer(&e), -2000000000);
    EXPECT_EQ(UIManager::kDetachedLayer, -2000000000);
    EXPECT_FALSE(UIManager::IsAttached(&e));
    UIManager::DetachElement(&e); // not attached: nothing happens
    UIManager::RemoveElement(&e, true);
    EXPECT_FALSE(UIManager::IsMarkedForRemoval(&e));
    EXPECT_EQ(UIManager::GetRootCount(), 0);
}

TEST_F(UIManagerTest, AttachLaysOutAndUpdatesAtOnceAndCountsPerLayer)
{
    std::vector<std::string> log;
    LoggingElement a("a", Box(0, 0, 10, 10), 0, &log);
    LoggingElement b("b", Box(0, 0, 10, 10), 0, &log);
    LoggingElement c("c", Box(0, 0, 10, 10), 0, &log);
    UIManager::AttachElement(&a, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"a:OnLayout", "a:Update"}));
    UIManager::AttachElement(&b, 5);
    UIManager::AttachElement(&c, 5);
    UIManager::AttachElement(nullptr, 5);
    EXPECT_EQ(UIManager::GetRootCount(), 3);
    EXPECT_EQ(UIManager::GetLayerRootCount(5), 2);
    EXPECT_EQ(UIManager::GetLayerRootCount(4), 0);
    EXPECT_EQ(UIManager::GetElementLayer(&b), 5);

    // Attaching again moves the root to the end of the new layer.
    UIManager::AttachElement(&b, -3);
    EXPECT_EQ(UIManager::GetElementLayer(&b), -3);
    EXPECT_EQ(UIManager::GetLayerRootCount(5), 1);
    UIManager::CollectRoots();
    int count = 0;
    Element* const* roots = UIManager::GetRootSnapshot(&count);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(roots[0], &b);
    EXPECT_EQ(roots[1], &a);
    EXPECT_EQ(roots[2], &c);

    UIManager::DetachElement(&a);
    EXPECT_FALSE(UIManager::IsAttached(&a));
    EXPECT_EQ(UIManager::GetElementLayer(&a), UIManager::kDetachedLayer);
    EXPECT_EQ(UIManager::GetRootCount(), 2);
}

TEST_F(UIManagerTest, FramePhasesRunInOrder)
{
    std::vector<std::string> log;
    FrameWatcher watcher(&log);
    watcher.Subscribe();
    LoggingElement low("low", Box(0, 0, 10, 10), 0, &log);
    LoggingElement high("high", Box(0, 0, 10, 10), 0, &log);
    UIManager::AttachElement(&high, 5);
    UIManager::AttachElement(&low, 0);
    UIManager::SetOrientation(0, 1.0f);

    log.clear();
    events.Animate(0.5f);
    EXPECT_EQ(log, (std::vector<std::string>{"Animating", "low:OnLayout", "high:OnLayout"}));
    EXPECT_FLOAT_EQ(watcher.blendSeen, 0.5f); // the orientation stepped first

    log.clear();
    events.Update(UITest::kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"Updating", "low:Update", "high:Update"}));

    log.clear();
    Vexel::Graphics::GL::Recorder recorder;
    UIManager::SetClearColor(Color(255, 0, 51, 255));
    events.Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeDraw", "low:DrawBegin", "low:Draw", "low:DrawEnd",
                                             "high:DrawBegin", "high:Draw", "high:DrawEnd", "AfterDraw"}));
    EXPECT_EQ(watcher.areaSeen, Vexel::Rectangle(0, 0, 400, 400)); // the blended UI size

    std::vector<Vexel::Graphics::GL::Call> const& calls = recorder.GetCalls();
    ASSERT_EQ(calls.size(), 5u) << recorder.Describe();
    EXPECT_EQ(calls[0].name, "glClearColor");
    ASSERT_EQ(calls[0].floats.size(), 4u);
    EXPECT_FLOAT_EQ(calls[0].floats[0], 255.0f / 255.99f);
    EXPECT_FLOAT_EQ(calls[0].floats[1], 0.0f);
    EXPECT_FLOAT_EQ(calls[0].floats[2], 51.0f / 255.99f);
    EXPECT_EQ(calls[1].ToString(), "glClear(16384)");
    EXPECT_EQ(calls[2].name, "glPushMatrix");
    EXPECT_EQ(calls[3].name, "glTranslatef");
    EXPECT_EQ(calls[3].floats, (std::vector<float>{-200.0f, -200.0f, 0.0f}));
    EXPECT_EQ(calls[4].name, "glPopMatrix");
    UIManager::SetClearColor(Color(0, 0, 0, 255));
}

TEST_F(UIManagerTest, PortraitDrawTranslatesByHalfTheScreen)
{
    Vexel::Graphics::GL::Recorder recorder;
    events.Draw();
    ASSERT_EQ(recorder.Count("glTranslatef"), 1);
    for (auto const& call : recorder.GetCalls())
    {
        if (call.name == "glTranslatef")
        {
            EXPECT_EQ(call.floats, (std::vector<float>{-160.0f, -240.0f, 0.0f}));
        }
    }
}

TEST_F(UIManagerTest, TopLayerIsAskedFirstForTouches)
{
    std::vector<std::string> log;
    LoggingElement low("low", Box(0, 0, 100, 100), 1, &log);
    LoggingElement high("high", Box(0, 0, 100, 100), 1, &log);
    LoggingElement highLater("later", Box(50, 50, 100, 100), 1, &log);
    UIManager::AttachElement(&high, 5);
    UIManager::AttachElement(&low, 0);
    EXPECT_TRUE(input.TouchDown(1, At(10, 10)));
    EXPECT_EQ(core.GetCapture(1), &high);
    UIManager::AttachElement(&highLater, 5);
    EXPECT_TRUE(input.TouchDown(2, At(60, 60)));
    EXPECT_EQ(core.GetCapture(2), &highLater); // latest attached within the layer
    // high is pressed (touch mode 1): the next finger falls through to low.
    EXPECT_TRUE(input.TouchDown(3, At(10, 10)));
    EXPECT_EQ(core.GetCapture(3), &low);
    input.TouchUp(1, At(10, 10));
    input.TouchUp(2, At(60, 60));
    input.TouchUp(3, At(10, 10));
    EXPECT_EQ(core.GetCaptureCount(), 0);
}

TEST_F(UIManagerTest, TouchOnNothingCapturesNothing)
{
    std::vector<std::string> log;
    LoggingElement small("e", Box(0, 0, 10, 10), 1, &log);
    UIManager::AttachElement(&small, 0);
    EXPECT_FALSE(input.TouchDown(4, At(200, 200)));
    EXPECT_EQ(core.GetCaptureCount(), 0);
    log.clear();
    input.TouchMove(4, At(5, 5));
    input.TouchUp(4, At(5, 5));
    EXPECT_TRUE(log.empty());

    Screen passive(0); // hit everywhere, takes nothing itself
    UIManager::AttachElement(&passive, 1);
    EXPECT_FALSE(input.TouchDown(4, At(200, 200)));
    UIManager::DetachElement(&passive);
}

TEST_F(UIManagerTest, SwallowedTouchIsDecidedWithoutCapture)
{
    Screen swallower(2);
    UIManager::AttachElement(&swallower, 0);
    EXPECT_TRUE(input.TouchDown(1, At(5, 5)));
    EXPECT_EQ(core.GetCapture(1), &swallower);
    EXPECT_TRUE(input.TouchDown(2, At(6, 6)));
    EXPECT_EQ(core.GetCapture(2), nullptr);
    EXPECT_EQ(core.GetCaptureCount(), 1);
    input.TouchUp(1, At(5, 5));
}

TEST_F(UIManagerTest, CapturedTouchStaysWithItsElementUntilRelease)
{
    std::vector<std::string> log;
    LoggingElement a("a", Box(0, 0, 100, 100), 1, &log);
    LoggingElement b("b", Box(200, 0, 100, 100), 1, &log);
    UIManager::AttachElement(&a, 0);
    UIManager::AttachElement(&b, 0);
    log.clear();
    input.TouchDown(7, At(10, 10, 2));
    EXPECT_EQ(a.GetTapCount(), 2);
    input.TouchMove(7, At(250, 10));
    input.TouchUp(7, At(250, 10));
    EXPECT_EQ(log, (std::vector<std::string>{"a:OnTouchDown", "a:OnTouchMove", "a:OnTouchUp"}));
    EXPECT_EQ(core.GetCaptureCount(), 0);
    EXPECT_EQ(a.Destroyed.SubscriberCount(), 0u);

    // Injected touches take the same road.
    log.clear();
    EXPECT_TRUE(UIManager::InjectTouchDown(3, Vector2(210, 10), 1));
    UIManager::InjectTouchMove(3, Vector2(212, 10));
    UIManager::InjectTouchUp(3, Vector2(212, 10), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"b:OnTouchDown", "b:OnTouchMove", "b:OnTouchUp", "b:OnTap",
                                             "b:OnClick"}));
}

TEST_F(UIManagerTest, ElementDestroyedWhileHoldingATouchDropsTheCapture)
{
    std::vector<std::string> log;
    auto* e = new LoggingElement("e", Box(0, 0, 100, 100), 1, &log);
    UIManager::AttachElement(e, 0);
    input.TouchDown(1, At(10, 10));
    EXPECT_EQ(core.GetCapture(1), e);
    EXPECT_EQ(core.GetOwnedTouch(e), 1);
    UIManager::DetachElement(e);
    delete e;
    EXPECT_EQ(core.GetCaptureCount(), 0);
    EXPECT_EQ(core.GetOwnedTouch(e), -1);
    input.TouchMove(1, At(20, 20)); // must not reach the deleted element
    input.TouchUp(1, At(20, 20));
}

TEST_F(UIManagerTest, ElementHoldingSeveralTouchesLosesThemAllWhenDestroyed)
{
    auto* e = new Element(Box(0, 0, 100, 100), 1);
    UIManager::AttachElement(e, 0);
    input.TouchDown(1, At(10, 10));
    e->CancelTouch(); // no longer pressed, so a second finger lands on it too
    input.TouchDown(2, At(20, 20));
    EXPECT_EQ(core.GetCapture(1), e);
    EXPECT_EQ(core.GetCapture(2), e);
    EXPECT_EQ(core.GetOwnedTouch(e), 2);

    // Releasing one keeps the element watched for the other.
    input.TouchUp(2, At(20, 20));
    EXPECT_EQ(core.GetOwnedTouch(e), 1);
    EXPECT_EQ(e->Destroyed.SubscriberCount(), 1u);

    e->CancelTouch();
    input.TouchDown(3, At(30, 30));
    input.TouchUp(1, At(10, 10)); // the owner entry moves on to touch 3
    EXPECT_EQ(core.GetOwnedTouch(e), 3);
    e->CancelTouch();
    input.TouchDown(4, At(40, 40));
    EXPECT_EQ(core.GetCaptureCount(), 2);

    UIManager::DetachElement(e);
    delete e;
    EXPECT_EQ(core.GetCaptureCount(), 0);
    input.TouchMove(3, At(1, 1));
    input.TouchUp(3, At(1, 1));
    input.TouchUp(4, At(1, 1));
}

TEST_F(UIManagerTest, ReusedTouchIdMovesTheCapture)
{
    Element a(Box(0, 0, 100, 100), 1);
    Element b(Box(200, 0, 100, 100), 1);
    UIManager::AttachElement(&a, 0);
    UIManager::AttachElement(&b, 0);
    input.TouchDown(5, At(10, 10));
    input.TouchDown(5, At(210, 10));
    EXPECT_EQ(core.GetCapture(5), &b);
    EXPECT_EQ(core.GetOwnedTouch(&a), -1);
    EXPECT_EQ(a.Destroyed.SubscriberCount(), 0u);
    input.TouchUp(5, At(210, 10));
    EXPECT_EQ(core.GetCaptureCount(), 0);
}

namespace
{
// Deletes the element that receives the release from inside its Clicked.
struct SelfDestruct
{
    Element* victim = nullptr;
    void OnClicked(Element*, Vector2 const&)
    {
        UIManager::DetachElement(victim);
        delete victim;
        victim = nullptr;
    }
};
} // namespace

TEST_F(UIManagerTest, ElementMayDeleteItselfOnRelease)
{
    SelfDestruct handler;
    auto* e = new Element(Box(0, 0, 100, 100), 1);
    handler.victim = e;
    e->Clicked.Subscribe(Vexel::Action<Element*, Vector2 const&>(&handler, &SelfDestruct::OnClicked));
    UIManager::AttachElement(e, 0);
    input.TouchDown(1, At(10, 10));
    input.TouchUp(1, At(10, 10));
    EXPECT_EQ(handler.victim, nullptr);
    EXPECT_EQ(core.GetCaptureCount(), 0);
}

TEST_F(UIManagerTest, RootWithExitTransitionIsDrawnUntilItEnds)
{
    std::vector<std::string> log;
    auto* e = new LoggingElement("e", Box(0, 0, 10, 10), 0, &log);
    UIManager::AttachElement(e, 0);
    e->QueueTransition(new Transitions::BasicTransition(0.5f, 0.1f, 0)); // fade to half over 0.1 s
    UIManager::RemoveElement(e, true);
    EXPECT_TRUE(UIManager::IsMarkedForRemoval(e));

    events.Animate(0.05f);
    EXPECT_TRUE(UIManager::IsAttached(e));
    log.clear();
    events.Draw();
    EXPECT_TRUE(Contains(log, "e:Draw"));

    events.Animate(0.05f); // the transition ends; removal at the end of this phase
    EXPECT_TRUE(Contains(log, "e:~"));
    EXPECT_EQ(UIManager::GetRootCount(), 0);
    EXPECT_FALSE(UIManager::IsMarkedForRemoval(e));
}

TEST_F(UIManagerTest, IdleRootMarkedForRemovalGoesBeforeTheNextDraw)
{
    std::vector<std::string> log;
    LoggingElement e("e", Box(0, 0, 10, 10), 0, &log);
    UIManager::AttachElement(&e, 0);
    UIManager::RemoveElement(&e, false);
    log.clear();
    events.Draw();
    EXPECT_FALSE(Contains(log, "e:Draw"));
    EXPECT_FALSE(UIManager::IsAttached(&e));
}

TEST_F(UIManagerTest, RemovalKeepsItsFirstFlagAndAttachCancelsIt)
{
    std::vector<std::string> log;
    LoggingElement e("e", Box(0, 0, 10, 10), 0, &log);
    UIManager::AttachElement(&e, 3);
    UIManager::RemoveElement(&e, false);
    UIManager::RemoveElement(&e, true); // would delete a stack object if it won
    UIManager::ProcessRemovals();
    EXPECT_FALSE(UIManager::IsAttached(&e));

    UIManager::AttachElement(&e, 3);
    UIManager::RemoveElement(&e, true);
    UIManager::AttachElement(&e, 4);
    EXPECT_FALSE(UIManager::IsMarkedForRemoval(&e));
    UIManager::ProcessRemovals();
    EXPECT_EQ(UIManager::GetElementLayer(&e), 4);
    UIManager::DetachElement(&e);
}

TEST_F(UIManagerTest, ReplaceTakesTheOldLayer)
{
    Element old(Box(0, 0, 10, 10), 0);
    Element replacement(Box(0, 0, 10, 10), 0);
    UIManager::AttachElement(&old, 7);
    UIManager::ReplaceElement(&old, &replacement, false);
    EXPECT_EQ(UIManager::GetElementLayer(&replacement), 7);
    EXPECT_TRUE(UIManager::IsMarkedForRemoval(&old));
    UIManager::ProcessRemovals();
    EXPECT_FALSE(UIManager::IsAttached(&old));

    // An old element that is not attached: the replacement goes on layer 0.
    Element other(Box(0, 0, 10, 10), 0);
    UIManager::ReplaceElement(&old, &other, false);
    EXPECT_EQ(UIManager::GetElementLayer(&other), 0);
    EXPECT_FALSE(UIManager::IsMarkedForRemoval(&old));
}

namespace
{
// Detaches another root from inside its own update.
class Detacher : public Element
{
public:
    Detacher(Element* other) : Element(UITest::Box(0, 0, 1, 1), 0), other(other) {}
    void Update(float) override { UIManager::DetachElement(other); }
    Element* other;
};
} // namespace

TEST_F(UIManagerTest, RootDetachedDuringAWalkIsSkipped)
{
    std::vector<std::string> log;
    LoggingElement later("later", Box(0, 0, 10, 10), 0, &log);
    UIManager::AttachElement(&later, 1);
    Detacher detacher(&later);
    UIManager::AttachElement(&detacher, 0); // its attach-time update detaches "later"
    UIManager::AttachElement(&later, 1);
    log.clear();
    events.Update(UITest::kFrame);
    EXPECT_TRUE(log.empty());
    UIManager::DetachElement(&detacher);
}

TEST_F(UIManagerTest, InitializeStartsAudioAppliesSettingsAndHandsOutTheInterfaces)
{
    // The audio modules start once per process; a repeated run sees them started.
    const bool firstStart = !Vexel::Audio::Music::IsInitialized();
    const size_t animatingBefore = UIManager::Animating.SubscriberCount();
    const size_t updatingBefore = UIManager::Updating.SubscriberCount();
    Internal::Events* eventsOut = nullptr;
    Internal::Input* inputOut = nullptr;
    UIManager::Initialize(0, true, Color(1, 2, 3, 4), false, true, 8, &eventsOut, &inputOut);
    EXPECT_EQ(eventsOut, &events);
    EXPECT_EQ(inputOut, &input);
    EXPECT_TRUE(UIManager::GetUIFlag());
    EXPECT_EQ(UIManager::GetClearColor(), Color(1, 2, 3, 4));
    EXPECT_EQ(UIManager::GetOrientation(), 0);
    EXPECT_EQ(UIManager::GetOrientationBlend(), 1.0f); // applied at once

    EXPECT_TRUE(Vexel::Audio::Music::IsInitialized());
    EXPECT_FALSE(Vexel::Audio::Music::IsEnabled());
    EXPECT_TRUE(Vexel::Audio::SoundEffects::IsInitialized());
    EXPECT_TRUE(Vexel::Audio::SoundEffects::IsEnabled());
    EXPECT_EQ(Vexel::Audio::SoundEffects::GetVoiceCount(), 8);
    const size_t added = firstStart ? 1 : 0;
    EXPECT_EQ(UIManager::Animating.SubscriberCount(), animatingBefore + added);
    EXPECT_EQ(UIManager::Updating.SubscriberCount(), updatingBefore + added);

    // The audio modules start once only.
    UIManager::Initialize(1, false, Color(0, 0, 0, 255), true, false, 2, nullptr, nullptr);
    EXPECT_FALSE(Vexel::Audio::Music::IsEnabled());
    EXPECT_EQ(Vexel::Audio::SoundEffects::GetVoiceCount(), 8);
    EXPECT_EQ(UIManager::Animating.SubscriberCount(), animatingBefore + added);
    EXPECT_EQ(UIManager::GetOrientation(), 1);
    EXPECT_FALSE(UIManager::GetUIFlag());
    // Their frame handlers run harmlessly.
    events.Animate(UITest::kFrame);
    events.Update(UITest::kFrame);
}
