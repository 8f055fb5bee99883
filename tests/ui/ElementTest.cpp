// The element model: layout for both orientations, tree walks, drawing cut-
// offs, touch targeting, the tap and click rules, children and destruction.
#include "engine/ui/BasicTransition.h"
#include "engine/ui/Element.h"
#include "engine/ui/UIOrientation.h"

#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace Vexel::UI;
using UITest::Box;
using UITest::LoggingElement;

namespace
{
const Vector2 kScreen[2] = {Vector2(320, 480), Vector2(480, 320)};

// Records the element events it is subscribed to.
struct EventLog
{
    std::vector<std::string> entries;

    // Names are taken while the element is whole: during its destruction it
    // is a plain Element.
    void Name(Element* e)
    {
        auto* named = dynamic_cast<LoggingElement*>(e);
        names[e] = named ? named->name : std::string("?");
    }

    void Watch(Element* e)
    {
        Name(e);
        e->Destroyed.Subscribe(Vexel::Action<Element*>(this, &EventLog::OnDestroyed));
        e->LayoutChanged.Subscribe(Vexel::Action<Element*>(this, &EventLog::OnLayoutChanged));
        e->Updated.Subscribe(Vexel::Action<Element*, float>(this, &EventLog::OnUpdated));
        e->PreDraw.Subscribe(Vexel::Action<Element*, Vexel::Rectangle, float>(this, &EventLog::OnPreDraw));
        e->Drawn.Subscribe(Vexel::Action<Element*, Vexel::Rectangle, float>(this, &EventLog::OnDrawn));
        e->PostDraw.Subscribe(Vexel::Action<Element*, Vexel::Rectangle, float>(this, &EventLog::OnPostDraw));
        e->TouchedDown.Subscribe(
            Vexel::Action<Element*, Vector2 const&, int>(this, &EventLog::OnTouchedDown));
        e->TouchMoved.Subscribe(Vexel::Action<Element*, Vector2 const&>(this, &EventLog::OnTouchMoved));
        e->TouchedUp.Subscribe(Vexel::Action<Element*, Vector2 const&, int>(this, &EventLog::OnTouchedUp));
        e->Tapped.Subscribe(Vexel::Action<Element*, Vector2 const&, int>(this, &EventLog::OnTapped));
        e->Clicked.Subscribe(Vexel::Action<Element*, Vector2 const&>(this, &EventLog::OnClicked));
    }

    void Add(Element* e, char const* what) { entries.push_back(names[e] + "." + what); }
    void OnDestroyed(Element* e) { Add(e, "Destroyed"); }
    void OnLayoutChanged(Element* e) { Add(e, "LayoutChanged"); }
    void OnUpdated(Element* e, float) { Add(e, "Updated"); }
    void OnPreDraw(Element* e, Vexel::Rectangle, float) { Add(e, "PreDraw"); }
    void OnDrawn(Element* e, Vexel::Rectangle r, float a)
    {
        Add(e, "Drawn");
        lastRect = r;
        lastAlpha = a;
    }
    void OnPostDraw(Element* e, Vexel::Rectangle, float) { Add(e, "PostDraw"); }
    void OnTouchedDown(Element* e, Vector2 const&, int tapCount)
    {
        Add(e, "TouchedDown");
        lastTapCount = tapCount;
    }
    void OnTouchMoved(Element* e, Vector2 const&) { Add(e, "TouchMoved"); }
    void OnTouchedUp(Element* e, Vector2 const&, int tapCount)
    {
        Add(e, "TouchedUp");
        lastTapCount = tapCount;
    }
    void OnTapped(Element* e, Vector2 const&, int) { Add(e, "Tapped"); }
    void OnClicked(Element* e, Vector2 const&) { Add(e, "Clicked"); }

    std::map<Element*, std::string> names;
    Vexel::Rectangle lastRect;
    float lastAlpha = -1.0f;
    int lastTapCount = -1;
};

bool Contains(std::vector<std::string> const& list, std::string const& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

class ElementTest : public UITest::UIFixture
{
};
} // namespace

TEST_F(ElementTest, AlignmentPlacesTheElementInItsParent)
{
    Element centred(Box(0, 0, 100, 50, 0), 0);
    centred.Arrange(0.0f, kScreen, Vector2(0, 0));
    EXPECT_EQ(centred.GetPosition().x, 110.0f);

    Element right(Box(-10, 0, 100, 50, 8 | 1), 0);
    right.Arrange(0.0f, kScreen, Vector2(0, 0));
    EXPECT_EQ(right.GetPosition().x, 210.0f);
    EXPECT_EQ(right.GetPositionFor(true), Vector2(210, 0));
    EXPECT_EQ(right.GetPositionFor(false), Vector2(370, 0)); // against the landscape parent
}

TEST_F(ElementTest, HalfwayThroughARotationSizeAndPositionAreAverages)
{
    Element e(ElementLayout(ElementPosition(Vector2(10, 20), Vector2(30, 60), 5), Vector2(100, 200),
                            Vector2(300, 100)),
              0);
    e.Arrange(0.0f, kScreen, Vector2(0, 0));
    UIManager::SetOrientation(0, 1.0f);
    Internal::StepOrientation(0.5f);
    ASSERT_FLOAT_EQ(UIManager::GetOrientationBlend(), 0.5f);
    EXPECT_EQ(e.GetSize(), Vector2(200, 150));
    EXPECT_EQ(e.GetPosition(), Vector2(20, 40));
    EXPECT_EQ(e.GetSizeFor(true), Vector2(100, 200));
    EXPECT_EQ(e.GetSizeFor(false), Vector2(300, 100));
}

TEST_F(ElementTest, StretchedAxisFollowsTheParentUnlessTransitioning)
{
    Element stretched(Box(0, 0, 280, 40, 12 | 1), 0);
    const Vector2 narrow[2] = {Vector2(300, 480), Vector2(480, 300)};
    const Vector2 wide[2] = {Vector2(320, 480), Vector2(480, 320)};
    stretched.Arrange(0.0f, narrow, Vector2(0, 0));
    stretched.Arrange(0.0f, wide, Vector2(0, 0));
    EXPECT_EQ(stretched.GetSizeFor(true), Vector2(300, 40));
    EXPECT_EQ(stretched.GetSizeFor(false), Vector2(280, 40)); // landscape width did not change

    Element busy(Box(0, 0, 280, 40, 12 | 1), 0);
    busy.Arrange(0.0f, narrow, Vector2(0, 0));
    busy.QueueTransition(new Transitions::BasicTransition(0.5f, 1.0f, 0));
    busy.Arrange(0.0f, wide, Vector2(0, 0));
    EXPECT_EQ(busy.GetSizeFor(true), Vector2(280, 40));
    // The growth is not folded in later either.
    busy.Arrange(1.0f, wide, Vector2(0, 0));
    busy.Arrange(0.0f, wide, Vector2(0, 0));
    EXPECT_EQ(busy.GetSizeFor(true), Vector2(280, 40));

    Element tall(Box(0, 0, 10, 400, 4 | 3), 0);
    const Vector2 taller[2] = {Vector2(320, 500), Vector2(500, 320)};
    tall.Arrange(0.0f, kScreen, Vector2(0, 0));
    tall.Arrange(0.0f, taller, Vector2(0, 0));
    EXPECT_EQ(tall.GetSizeFor(true), Vector2(10, 420));
}

TEST_F(ElementTest, ArrangeRunsLayoutHookThenEventThenChildren)
{
    std::vector<std::string> hooks;
    EventLog events;
    auto* parent = new LoggingElement("p", Box(10, 20, 100, 100), 0, &hooks);
    auto* child = new LoggingElement("c", Box(5, 5, 10, 10), 0, &hooks);
    parent->AddChild(child);
    events.Watch(parent);
    events.Watch(child);
    hooks.clear();
    parent->Arrange(0.0f, kScreen, Vector2(0, 0));
    EXPECT_EQ(hooks, (std::vector<std::string>{"p:OnLayout", "c:OnLayout"}));
    EXPECT_EQ(events.entries, (std::vector<std::string>{"p.LayoutChanged", "c.LayoutChanged"}));
    // The child's origin is the parent's absolute top left.
    EXPECT_TRUE(child->HitTest(Vector2(15, 25)));
    EXPECT_FALSE(child->HitTest(Vector2(14.9f, 25)));
    EXPECT_FALSE(child->HitTest(Vector2(25, 25))); // right edge is outside
    delete parent;
}

TEST_F(ElementTest, AddChildLaysTheChildOutAndUpdatesItAtOnce)
{
    std::vector<std::string> hooks;
    LoggingElement parent("p", Box(10, 20, 100, 100), 0, &hooks);
    parent.Arrange(0.0f, kScreen, Vector2(0, 0));
    hooks.clear();
    auto* child = new LoggingElement("c", Box(0, 0, 20, 20, 0), 0, &hooks);
    child->SetAlpha(0.5f);
    EXPECT_EQ(parent.AddChild(child), child);
    EXPECT_EQ(hooks, (std::vector<std::string>{"c:OnLayout", "c:Update"}));
    EXPECT_EQ(child->GetPosition(), Vector2(40, 40));
    EXPECT_TRUE(child->HitTest(Vector2(50, 60)));
    EXPECT_FLOAT_EQ(child->GetAlpha(), 0.5f);
}

TEST_F(ElementTest, ChildrenListRules)
{
    Element parent(Box(0, 0, 100, 100), 0);
    auto* child = new Element(Box(0, 0, 10, 10), 0);
    EXPECT_EQ(parent.AddChild(nullptr), nullptr);
    EXPECT_EQ(parent.GetChildCount(), 0);
    parent.AddChild(child);
    EXPECT_EQ(parent.AddChild(child), child); // listed once only
    EXPECT_EQ(parent.GetChildCount(), 1);
    EXPECT_EQ(parent.AddChild(&parent), &parent); // never its own child
    EXPECT_FALSE(parent.HasChild(&parent));
    Element stranger(Box(0, 0, 1, 1), 0);
    EXPECT_EQ(parent.RemoveChild(&stranger), &stranger);
    EXPECT_EQ(parent.GetChildCount(), 1);
    EXPECT_EQ(parent.RemoveChild(child), child);
    EXPECT_FALSE(parent.HasChild(child));
    EXPECT_EQ(parent.GetChildCount(), 0);
    EXPECT_EQ(parent.GetChild(0), nullptr);
    delete child; // no longer owned
}

TEST_F(ElementTest, DestructionFiresDestroyedFirstAndDeletesTheSubtreeDepthFirst)
{
    EventLog events;
    auto* root = new LoggingElement("root", Box(0, 0, 100, 100), 0);
    auto* a = new LoggingElement("a", Box(0, 0, 10, 10), 0);
    auto* a1 = new LoggingElement("a1", Box(0, 0, 5, 5), 0);
    auto* b = new LoggingElement("b", Box(0, 0, 10, 10), 0);
    root->AddChild(a);
    a->AddChild(a1);
    root->AddChild(b);
    for (Element* e : std::vector<Element*>{root, a, a1, b})
    {
        events.Name(e);
        e->Destroyed.Subscribe(Vexel::Action<Element*>(&events, &EventLog::OnDestroyed));
    }
    delete root;
    EXPECT_EQ(events.entries,
              (std::vector<std::string>{"root.Destroyed", "a.Destroyed", "a1.Destroyed", "b.Destroyed"}));
}

TEST_F(ElementTest, DrawOrderHooksAndEventsAroundTheChildren)
{
    std::vector<std::string> hooks;
    EventLog events;
    LoggingElement parent("p", Box(10, 20, 100, 100), 0, &hooks);
    auto* first = new LoggingElement("c1", Box(5, 5, 10, 10), 0, &hooks);
    auto* second = new LoggingElement("c2", Box(5, 5, 10, 10), 0, &hooks);
    parent.AddChild(first);
    parent.AddChild(second);
    events.Watch(&parent);
    events.Watch(second);
    hooks.clear();
    parent.DrawTree(Vector2(0, 0), 1.0f);
    EXPECT_EQ(hooks,
              (std::vector<std::string>{"p:DrawBegin", "p:Draw", "c1:DrawBegin", "c1:Draw", "c1:DrawEnd",
                                        "c2:DrawBegin", "c2:Draw", "c2:DrawEnd", "p:DrawEnd"}));
    EXPECT_EQ(events.entries, (std::vector<std::string>{"p.PreDraw", "p.Drawn", "c2.PreDraw", "c2.Drawn",
                                                        "c2.PostDraw", "p.PostDraw"}));
    // The child's absolute rectangle.
    EXPECT_EQ(events.lastRect, Vexel::Rectangle(15, 25, 10, 10));
}

namespace
{
struct AlphaCutCase
{
    float ownAlpha;
    float parentAlpha;
    bool drawn;
};
const AlphaCutCase kAlphaCuts[] = {
    {0.0009f, 1.0f, false}, {0.001f, 1.0f, true}, {1.0f, 0.0009f, false},
    {0.5f, 0.0018f, false}, {0.5f, 0.002f, true}, {0.0f, 1.0f, false},
};
class AlphaCut : public ::testing::TestWithParam<AlphaCutCase>
{
};
} // namespace

TEST_P(AlphaCut, AccumulatedAlphaBelowTheCutSkipsTheWholeSubtree)
{
    const AlphaCutCase c = GetParam();
    std::vector<std::string> hooks;
    EventLog events;
    ElementLayout layout = Box(0, 0, 10, 10);
    layout.alpha = c.ownAlpha;
    LoggingElement e("e", layout, 0, &hooks);
    e.AddChild(new LoggingElement("child", Box(0, 0, 5, 5), 0, &hooks));
    events.Watch(&e);
    hooks.clear();
    e.DrawTree(Vector2(0, 0), c.parentAlpha);
    if (c.drawn)
    {
        EXPECT_EQ(hooks.size(), 6u);
        EXPECT_EQ(events.entries.size(), 3u);
        EXPECT_FLOAT_EQ(events.lastAlpha, c.ownAlpha * c.parentAlpha);
    }
    else
    {
        EXPECT_TRUE(hooks.empty());
        EXPECT_TRUE(events.entries.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, AlphaCut, ::testing::ValuesIn(kAlphaCuts));

TEST_F(ElementTest, InvisibleElementDrawsNothing)
{
    std::vector<std::string> hooks;
    LoggingElement e("e", Box(0, 0, 10, 10), 0, &hooks);
    e.SetVisible(false);
    e.DrawTree(Vector2(0, 0), 1.0f);
    EXPECT_TRUE(hooks.empty());
}

TEST_F(ElementTest, SetterDuringTimedTransitionWaitsForItsEnd)
{
    Element e(Box(0, 0, 10, 10), 0);
    e.Arrange(0.0f, kScreen, Vector2(0, 0));
    e.QueueTransition(new Transitions::BasicTransition(0.0f, 0.5f, 0));
    e.SetVisible(false);
    e.Arrange(0.25f, kScreen, Vector2(0, 0));
    EXPECT_TRUE(e.IsVisible());
    EXPECT_FLOAT_EQ(e.GetAlpha(), 0.5f);
    e.Arrange(0.25f, kScreen, Vector2(0, 0));
    EXPECT_FALSE(e.IsVisible());
    EXPECT_FALSE(e.IsTransitioning());
}

TEST_F(ElementTest, SettersApplyAtOnceWhenIdle)
{
    Element e(Box(0, 0, 10, 10), 0);
    e.SetPosition(ElementPosition(Vector2(1, 2), Vector2(3, 4), 0));
    e.SetSize(Vector2(7, 8));
    e.SetAlpha(0.25f);
    e.SetEnabled(false);
    EXPECT_EQ(e.GetLayout().position.positionLandscape, Vector2(3, 4));
    EXPECT_EQ(e.GetLayout().position.alignment, 0u);
    EXPECT_EQ(e.GetSize(), Vector2(7, 8));
    EXPECT_EQ(e.GetAlpha(), 0.25f);
    EXPECT_FALSE(e.IsEnabled());
    e.SetSizes(Vector2(1, 1), Vector2(2, 2));
    EXPECT_EQ(e.GetSizeFor(false), Vector2(2, 2));
    EXPECT_FALSE(e.IsTransitioning());
}

TEST_F(ElementTest, UpdateTreeCountsHeldTimeOnlyWhilePressed)
{
    std::vector<std::string> hooks;
    EventLog events;
    LoggingElement e("e", Box(0, 0, 10, 10), 1, &hooks);
    e.AddChild(new LoggingElement("c", Box(0, 0, 5, 5), 0, &hooks));
    events.Watch(&e);
    hooks.clear();
    e.UpdateTree(0.5f);
    EXPECT_EQ(e.GetHeldTime(), 0.0f);
    EXPECT_EQ(hooks, (std::vector<std::string>{"e:Update", "c:Update"}));
    EXPECT_EQ(events.entries, (std::vector<std::string>{"e.Updated"}));
    e.TouchDown(Vector2(1, 1), 1);
    e.UpdateTree(0.25f);
    e.UpdateTree(0.25f);
    EXPECT_EQ(e.GetHeldTime(), 0.5f);
}

namespace
{
struct ReleaseCase
{
    float held;       // seconds of update-phase time while pressed
    Vector2 down, up; // element covers (0, 0) to (100, 100)
    bool tapped;
    bool clicked;
};
const ReleaseCase kReleases[] = {
    {0.2f, Vector2(50, 50), Vector2(64.9f, 50), true, true}, // 14.9 px
    {0.2f, Vector2(50, 50), Vector2(65, 50), false, true},   // exactly 15 px
    {0.2f, Vector2(50, 50), Vector2(59, 62), false, true},   // 9, 12: exactly 15 px
    {0.33f, Vector2(50, 50), Vector2(50, 50), false, true},  // held exactly 0.33 s
    {0.32f, Vector2(50, 50), Vector2(50, 50), true, true},
    {0.0f, Vector2(95, 50), Vector2(102, 50), true, false}, // released just outside
    {1.0f, Vector2(50, 50), Vector2(150, 50), false, false},
    {0.0f, Vector2(99, 99), Vector2(100, 100), true, false}, // far edges are outside
};
class ReleaseRules : public ::testing::TestWithParam<ReleaseCase>
{
};
} // namespace

TEST_P(ReleaseRules, TapAndClick)
{
    const ReleaseCase c = GetParam();
    std::vector<std::string> hooks;
    EventLog events;
    LoggingElement e("e", Box(0, 0, 100, 100), 1, &hooks);
    e.Arrange(0.0f, kScreen, Vector2(0, 0));
    events.Watch(&e);
    e.TouchDown(c.down, 2);
    EXPECT_TRUE(e.IsPressed());
    if (c.held > 0.0f)
        e.UpdateTree(c.held);
    hooks.clear();
    events.entries.clear();
    e.TouchUp(c.up);
    EXPECT_FALSE(e.IsPressed());
    EXPECT_EQ(events.entries.front(), "e.TouchedUp");
    EXPECT_EQ(events.lastTapCount, 2);
    EXPECT_EQ(Contains(events.entries, "e.Tapped"), c.tapped);
    EXPECT_EQ(Contains(hooks, "e:OnTap"), c.tapped);
    EXPECT_EQ(Contains(events.entries, "e.Clicked"), c.clicked);
    EXPECT_EQ(Contains(hooks, "e:OnClick"), c.clicked);
    EXPECT_EQ(e.GetTouchPosition(), c.up);
    EXPECT_EQ(e.GetTouchDownPosition(), c.down);
}

INSTANTIATE_TEST_SUITE_P(Releases, ReleaseRules, ::testing::ValuesIn(kReleases));

TEST_F(ElementTest, TouchDispatchOrderAndPressedInside)
{
    std::vector<std::string> hooks;
    EventLog events;
    LoggingElement e("e", Box(0, 0, 100, 100), 1, &hooks);
    e.Arrange(0.0f, kScreen, Vector2(0, 0));
    events.Watch(&e);
    hooks.clear();
    EXPECT_TRUE(e.TouchDown(Vector2(10, 10), 3));
    EXPECT_EQ(events.lastTapCount, 3);
    EXPECT_TRUE(e.IsPressedInside());
    e.TouchMove(Vector2(120, 10));
    EXPECT_FALSE(e.IsPressedInside());
    EXPECT_TRUE(e.IsPressed());
    EXPECT_EQ(hooks, (std::vector<std::string>{"e:OnTouchDown", "e:OnTouchMove"}));
    EXPECT_EQ(events.entries, (std::vector<std::string>{"e.TouchedDown", "e.TouchMoved"}));
}

TEST_F(ElementTest, CancelTouchFiresTouchedUpOnly)
{
    std::vector<std::string> hooks;
    EventLog events;
    LoggingElement e("e", Box(0, 0, 100, 100), 1, &hooks);
    e.Arrange(0.0f, kScreen, Vector2(0, 0));
    e.CancelTouch(); // not pressed: nothing
    e.TouchDown(Vector2(10, 10), 1);
    events.Watch(&e);
    hooks.clear();
    e.CancelTouch();
    EXPECT_FALSE(e.IsPressed());
    EXPECT_EQ(events.entries, (std::vector<std::string>{"e.TouchedUp"}));
    EXPECT_TRUE(hooks.empty());
}

namespace
{
// A tree in a 320 x 480 screen: parent (10, 10) 100 x 100 holding children.
struct TouchTree
{
    Element root{Box(0, 0, 320, 480), 0};
    Element* parent;
    Element* a;
    Element* b;

    TouchTree(int parentMode, int childMode)
    {
        parent = root.AddChild(new Element(Box(10, 10, 100, 100), parentMode));
        a = parent->AddChild(new Element(Box(0, 0, 60, 60), childMode));
        b = parent->AddChild(new Element(Box(30, 30, 100, 100), childMode)); // sticks out to the right
        root.Arrange(0.0f, kScreen, Vector2(0, 0));
    }

    Element* Find(Vector2 point, bool* decided = nullptr)
    {
        Element* target = reinterpret_cast<Element*>(1);
        const bool result = root.FindTouchTarget(point, &target);
        if (decided)
            *decided = result;
        return result ? target : nullptr;
    }
};
} // namespace

TEST_F(ElementTest, LaterChildOnTopTakesTheTouch)
{
    TouchTree tree(0, 1);
    EXPECT_EQ(tree.Find(Vector2(50, 50)), tree.b); // overlap: b was added later
    EXPECT_EQ(tree.Find(Vector2(20, 20)), tree.a);
    bool decided = true;
    EXPECT_EQ(tree.Find(Vector2(130, 50), &decided), nullptr); // b outside its parent
    EXPECT_FALSE(decided);
}

TEST_F(ElementTest, HiddenOrDisabledParentHidesItsChildren)
{
    TouchTree hidden(0, 1);
    hidden.parent->SetVisible(false);
    bool decided = true;
    hidden.Find(Vector2(20, 20), &decided);
    EXPECT_FALSE(decided);

    TouchTree disabled(1, 1);
    disabled.parent->SetEnabled(false);
    disabled.Find(Vector2(20, 20), &decided);
    EXPECT_FALSE(decided);
}

TEST_F(ElementTest, PressedTouchModeOneLetsTheTouchPassOn)
{
    TouchTree tree(1, 1);
    tree.b->TouchDown(Vector2(50, 50), 1);
    EXPECT_EQ(tree.Find(Vector2(50, 50)), tree.a); // earlier sibling
    tree.a->TouchDown(Vector2(50, 50), 1);
    EXPECT_EQ(tree.Find(Vector2(50, 50)), tree.parent);
    tree.parent->TouchDown(Vector2(50, 50), 1);
    bool decided = true;
    tree.Find(Vector2(50, 50), &decided);
    EXPECT_FALSE(decided);
}

TEST_F(ElementTest, PressedTouchModeTwoSwallowsFurtherTouches)
{
    TouchTree tree(1, 2);
    tree.b->TouchDown(Vector2(50, 50), 1);
    bool decided = false;
    EXPECT_EQ(tree.Find(Vector2(50, 50), &decided), nullptr);
    EXPECT_TRUE(decided);
    EXPECT_EQ(tree.Find(Vector2(20, 20)), tree.a);
}

namespace
{
// Deletes the element from inside one of its events.
struct Deleter
{
    Element* victim = nullptr;
    void Delete(Element*, Vector2 const&)
    {
        delete victim;
        victim = nullptr;
    }
    void DeleteWithTap(Element*, Vector2 const&, int)
    {
        delete victim;
        victim = nullptr;
    }
};
} // namespace

TEST_F(ElementTest, HandlerMayDeleteTheElementDuringItsOwnDispatch)
{
    std::vector<std::string> hooks;
    Deleter deleter;
    auto* e = new LoggingElement("e", Box(0, 0, 100, 100), 1, &hooks);
    e->Arrange(0.0f, kScreen, Vector2(0, 0));
    deleter.victim = e;
    e->Clicked.Subscribe(Vexel::Action<Element*, Vector2 const&>(&deleter, &Deleter::Delete));
    e->TouchDown(Vector2(10, 10), 1);
    e->TouchUp(Vector2(10, 10));
    EXPECT_EQ(deleter.victim, nullptr);
    EXPECT_FALSE(Contains(hooks, "e:OnClick"));
    EXPECT_TRUE(Contains(hooks, "e:~"));

    hooks.clear();
    e = new LoggingElement("e", Box(0, 0, 100, 100), 1, &hooks);
    deleter.victim = e;
    e->TouchedDown.Subscribe(Vexel::Action<Element*, Vector2 const&, int>(&deleter, &Deleter::DeleteWithTap));
    e->TouchDown(Vector2(10, 10), 1);
    EXPECT_FALSE(Contains(hooks, "e:OnTouchDown"));
}

namespace
{
// A subclass that raises two events of its own from its click hook, the way
// the widgets do, guarded against a handler that deletes it.
class TwoStepElement : public Element
{
public:
    TwoStepElement() : Element(Box(0, 0, 100, 100), TouchMode::Take) {}

    void OnClick(Vector2 const&) override
    {
        ++steps;
        DispatchGuard guard(this);
        First.Raise(this);
        if (guard.ElementDeleted())
            return;
        ++steps; // touches a member: must not run on a deleted element
        Second.Raise(this);
    }

    Vexel::Event<Element*> First;
    Vexel::Event<Element*> Second;
    int steps = 0;
};

struct StepListener
{
    Element* victim = nullptr;
    bool deleteOnFirst = false;
    int firsts = 0;
    int seconds = 0;
    void OnFirst(Element*)
    {
        ++firsts;
        if (deleteOnFirst)
        {
            delete victim;
            victim = nullptr;
        }
    }
    void OnSecond(Element*) { ++seconds; }
    void Watch(TwoStepElement* e)
    {
        victim = e;
        e->First.Subscribe(Vexel::Action<Element*>(this, &StepListener::OnFirst));
        e->Second.Subscribe(Vexel::Action<Element*>(this, &StepListener::OnSecond));
    }
};
} // namespace

TEST_F(ElementTest, SubclassGuardSurvivesAHandlerThatDeletesTheElement)
{
    // The subclass's guard nests inside the element's own touch-up guard;
    // both must see the deletion (under AddressSanitizer any later access to
    // the element fails the run).
    for (bool deleteOnFirst : {false, true})
    {
        auto* e = new TwoStepElement();
        e->Arrange(0.0f, kScreen, Vector2(0, 0));
        StepListener listener;
        listener.deleteOnFirst = deleteOnFirst;
        listener.Watch(e);
        e->TouchDown(Vector2(10, 10), 1);
        e->TouchUp(Vector2(10, 10));
        EXPECT_EQ(listener.firsts, 1);
        EXPECT_EQ(listener.seconds, deleteOnFirst ? 0 : 1) << deleteOnFirst;
        if (deleteOnFirst)
        {
            EXPECT_EQ(listener.victim, nullptr);
        }
        else
        {
            EXPECT_EQ(e->steps, 2);
            // The guard left the element as it found it: a second click runs
            // through again.
            e->TouchDown(Vector2(10, 10), 1);
            e->TouchUp(Vector2(10, 10));
            EXPECT_EQ(listener.seconds, 2);
            delete e;
        }
    }
}
