// The event loop's core on fakes: touches per finger with multi-taps and
// stale touches, keys, tilt, the active state and the frame step.
#include "ShellTestSupport.h"

#include "app/EventScript.h"
#include "engine/core/AppEvents.h"
#include "engine/graphics/GL.h"
#include "engine/ui/ITextInputInterface.h"
#include "engine/ui/TextInputRegistry.h"

#include <cmath>
#include <set>

using namespace ShellTest;
using Vexel::App::EventLoop;

namespace
{

// Counts the lifecycle and back-key events it hears.
struct EdgeCounter
{
    int pauses = 0, resumes = 0, backKeys = 0;
    void OnPause() { ++pauses; }
    void OnResume() { ++resumes; }
    void OnBack() { ++backKeys; }
    EdgeCounter()
    {
        Vexel::AppEvents::Pause().Subscribe(Vexel::Action<>(this, &EdgeCounter::OnPause));
        Vexel::AppEvents::Resume().Subscribe(Vexel::Action<>(this, &EdgeCounter::OnResume));
        Vexel::App::BackKeyPressed.Subscribe(Vexel::Action<>(this, &EdgeCounter::OnBack));
    }
    ~EdgeCounter()
    {
        Vexel::AppEvents::Pause().Unsubscribe(this);
        Vexel::AppEvents::Resume().Unsubscribe(this);
        Vexel::App::BackKeyPressed.Unsubscribe(this);
    }
};

// A focused text input that keeps the characters it is handed.
class KeySink : public Vexel::UI::ITextInputInterface
{
public:
    KeySink()
    {
        Vexel::UI::RegisterTextInput(this);
        Vexel::UI::SetFocusedTextInput(this);
    }
    ~KeySink() override { Vexel::UI::UnregisterTextInput(this); }
    void AddListener(Vexel::UI::ITextEntryListener*) override {}
    void RemoveListener(Vexel::UI::ITextEntryListener*) override {}
    std::set<Vexel::UI::ITextEntryListener*> const& GetListeners() const override { return listeners; }
    void SetFocused(bool) override {}
    bool IsFocused() const override { return true; }
    void SetEntryPosition(Vector2) override {}
    void SetEntrySize(Vector2) override {}
    void SetEntryColor(uint32_t) override {}
    void SetEntryStyle(int32_t) override {}
    void SetText(std::string const&) override {}
    std::string GetText() const override { return std::string(); }
    void SetPrompt(std::string const&) override {}
    std::string GetPrompt() const override { return std::string(); }
    void HandleKey(unsigned char ch) override { keys.push_back(int(ch)); }
    bool IsFocusable() const override { return true; }
    std::vector<int> keys;

private:
    std::set<Vexel::UI::ITextEntryListener*> listeners;
};

} // namespace

// ---- touches and taps ----

TEST_F(LoopFixture, FirstPressOfAFingerHasTapCountOne)
{
    EXPECT_EQ(Log{"down 0 (10, 20) taps 1"}, Send(Button(true, 0, 10, 20), 100));
    // Even at the very start of the clock and near (0, 0), where the new
    // record's zero release time and position would look like a recent tap.
    EXPECT_EQ(Log{"down 7 (1, 1) taps 1"}, Send(Button(true, 7, 1, 1), 0));
    auto const& touches = Loop().GetTouches();
    ASSERT_EQ(2u, touches.size());
    EXPECT_TRUE(touches.at(7).down);
    EXPECT_EQ(0u, touches.at(7).lastActivity);
    EXPECT_EQ(0u, touches.at(7).releaseTime);
}

TEST(TapRuleTest, DistanceBelow27AndAtMost319Milliseconds)
{
    struct Row
    {
        Vector2 offset; // from the position before the last release
        uint32_t delay; // ms after that release
        int before, after;
    };
    const Row rows[] = {
        {Vector2(26.9f, 0.0f), 319, 1, 2}, {Vector2(26.9f, 0.0f), 319, 2, 3},
        {Vector2(27.0f, 0.0f), 319, 1, 1}, {Vector2(26.9f, 0.0f), 320, 1, 1},
        {Vector2(0.0f, -26.9f), 0, 4, 5},  {Vector2(19.0f, 19.0f), 10, 1, 2},
        {Vector2(20.0f, 20.0f), 10, 1, 1},
    };
    for (Row const& r : rows)
    {
        Vexel::App::TouchRecord record(50);
        record.point.previousPosition = Vector2(100.0f, 200.0f);
        record.point.position = Vector2(180.0f, 200.0f); // where it was released: not what counts
        record.point.tapCount = r.before;
        record.releaseTime = 1000;
        EXPECT_EQ(r.after,
                  EventLoop::NextTapCount(record, Vector2(100.0f, 200.0f) + r.offset, 1000 + r.delay))
            << r.offset.x << ", " << r.offset.y << " after " << r.delay << " ms";
    }
    // The difference is unsigned: a release "in the future" is far away.
    Vexel::App::TouchRecord record(0);
    record.releaseTime = 5000;
    record.point.tapCount = 1;
    EXPECT_EQ(1, EventLoop::NextTapCount(record, Vector2(), 4999));
}

TEST_F(LoopFixture, DoubleTapMeasuredFromThePositionBeforeTheRelease)
{
    Send(Button(true, 2, 100, 100), 1000);
    EXPECT_EQ(Log{"move 2 (150, 100)"}, Send(Motion(2, 150, 100), 1010));
    EXPECT_EQ(Log{"up 2 (200, 100)"}, Send(Button(false, 2, 200, 100), 1020));
    EXPECT_EQ(Log{"down 2 (169, 119) taps 2"}, Send(Button(true, 2, 169, 119), 1339)); // 26.9 px, 319 ms
    Send(Button(false, 2, 169, 119), 1340);
    EXPECT_EQ(Log{"down 2 (169, 119) taps 3"}, Send(Button(true, 2, 169, 119), 1400));
    Send(Button(false, 2, 169, 119), 1410);
    EXPECT_EQ(Log{"down 2 (196, 119) taps 1"}, Send(Button(true, 2, 196, 119), 1420)); // 27 px
}

TEST_F(LoopFixture, EventsOfOtherFingersAndOfFingersWithoutRecordsAreKeptApart)
{
    EXPECT_EQ(Log{}, Send(Motion(4, 10, 10), 10));        // no record
    EXPECT_EQ(Log{}, Send(Button(false, 4, 10, 10), 10)); // no record
    EXPECT_TRUE(Loop().GetTouches().empty());
    Send(Button(true, 0, 10, 10), 20);
    Send(Button(true, 1, 300, 400), 20);
    EXPECT_EQ(Log{}, Send(Button(true, 0, 12, 12), 30)); // already down: ignored
    EXPECT_EQ(Log{"move 1 (301, 402)"}, Send(Motion(1, 301, 402), 40));
    EXPECT_EQ(Log{"up 0 (11, 11)"}, Send(Button(false, 0, 11, 11), 50));
    EXPECT_EQ(Log{}, Send(Motion(0, 20, 20), 60)); // released: motion ignored
    EXPECT_EQ(Log{"up 1 (302, 403)"}, Send(Button(false, 1, 302, 403), 70));
    EXPECT_EQ(Log{"down 255 (5, 6) taps 1"}, Send(Button(true, 255, 5, 6), 80));
}

TEST_F(LoopFixture, StaleTouches)
{
    struct Row
    {
        const char* name;
        bool release; // released at 1000, else held since 1000
        uint32_t now;
        bool removed;
        Log calls;
    };
    const Row rows[] = {
        {"held 4000 ms", false, 5000, false, {}},
        {"held 4001 ms", false, 5001, true, {"up 0 (10, 10)"}},
        {"released 1000 ms ago", true, 2000, false, {}},
        {"released 1001 ms ago", true, 2001, true, {}},
    };
    for (Row const& r : rows)
    {
        loop.reset();
        Send(Button(true, 0, 10, 10), 1000);
        if (r.release)
            Send(Button(false, 0, 10, 10), 1000);
        log.clear();
        Loop().DropStaleTouches(r.now);
        EXPECT_EQ(r.calls, log) << r.name;
        EXPECT_EQ(r.removed, Loop().GetTouches().empty()) << r.name;
    }
}

TEST_F(LoopFixture, AStaleTouchIsGoneForItsLaterEvents)
{
    Send(Button(true, 0, 10, 10), 1000);
    Send(Motion(0, 20, 10), 3000); // delivered: counts as activity
    Loop().DropStaleTouches(7000);
    EXPECT_EQ(1u, Loop().GetTouches().size());
    log.clear();
    Loop().DropStaleTouches(7001);
    EXPECT_EQ(Log{"up 0 (20, 10)"}, log);
    EXPECT_EQ(Log{}, Send(Motion(0, 30, 10), 7002));
    EXPECT_EQ(Log{}, Send(Button(false, 0, 30, 10), 7003));
}

TEST_F(LoopFixture, APressBeforeTheReleasedRecordGoesReusesIt)
{
    Send(Button(true, 0, 10, 10), 1000);
    Send(Button(false, 0, 10, 10), 1100);
    Loop().DropStaleTouches(1500);
    EXPECT_EQ(Log{"down 0 (10, 10) taps 1"},
              Send(Button(true, 0, 10, 10), 2000)); // 900 ms: too late for a tap
    EXPECT_EQ(1u, Loop().GetTouches().size());
}

TEST_F(LoopFixture, WhileInactiveTouchesStayWithTheShell)
{
    EdgeCounter counter;
    Send(Button(true, 0, 10, 10), 1000); // down before the pause
    Send(Active(SDL_APPACTIVE, 0), 1100);
    EXPECT_EQ(1, counter.pauses);
    // A release while inactive is not delivered and leaves the record down.
    EXPECT_EQ(Log{}, Send(Button(false, 0, 12, 12), 1200));
    EXPECT_TRUE(Loop().GetTouches().at(0).down);
    EXPECT_EQ(1200u, Loop().GetTouches().at(0).releaseTime);
    EXPECT_EQ(Log{}, Send(Button(true, 0, 14, 14), 1300)); // still down: ignored
    // A new finger's press only updates its record.
    EXPECT_EQ(Log{}, Send(Button(true, 1, 50, 60), 1400));
    ASSERT_EQ(2u, Loop().GetTouches().size());
    EXPECT_FALSE(Loop().GetTouches().at(1).down);
    EXPECT_EQ(1, Loop().GetTouches().at(1).point.tapCount);
    EXPECT_EQ(Vector2(50.0f, 60.0f), Loop().GetTouches().at(1).point.position);
    EXPECT_EQ(Log{}, Send(Motion(1, 55, 60), 1500));
    // The held finger goes stale 4000 ms after its last delivered event, and
    // the UI hears the pending release even though the shell is inactive.
    log.clear();
    Loop().DropStaleTouches(5000);
    EXPECT_EQ(Log{}, log);
    Loop().DropStaleTouches(5001);
    EXPECT_EQ(Log{"up 0 (12, 12)"}, log);
    EXPECT_TRUE(Loop().GetTouches().empty()); // finger 1 went 1000 ms after its (zero) release too
}

TEST_F(LoopFixture, RunWhileInactiveKeepsDeliveringTouches)
{
    Vexel::GetAppSettings()->runWhileInactive = true;
    Vexel::App::OnDeactivated();
    EXPECT_EQ(Log{"down 0 (1, 2) taps 1"}, Send(Button(true, 0, 1, 2), 10));
    EXPECT_EQ(Log{"up 0 (1, 2)"}, Send(Button(false, 0, 1, 2), 20));
}

TEST_F(LoopFixture, TouchesAreTurnedIntoUICoordinates)
{
    host.width = 330;
    host.height = 490;
    EXPECT_EQ(Vector2(5.0f, 5.0f), Loop().ScreenToUIOffset());
    EXPECT_EQ(Log{"down 0 (100, 195) taps 1"}, Send(Button(true, 0, 105, 200), 10));
}

TEST_F(LoopFixture, ScreenToUIOffset)
{
    struct Row
    {
        int width, height, orientation;
        Vector2 offset;
    };
    const Row rows[] = {
        {320, 480, 1, Vector2(0.0f, 0.0f)},    {320, 480, 3, Vector2(0.0f, 0.0f)},
        {321, 481, 1, Vector2(0.5f, 0.5f)},    {330, 490, 1, Vector2(5.0f, 5.0f)},
        {320, 480, 0, Vector2(-80.0f, 80.0f)}, // landscape: the rotated UI area centred on the screen
    };
    for (Row const& r : rows)
    {
        host.width = r.width;
        host.height = r.height;
        Vexel::UI::UIManager::SetOrientation(r.orientation, 0.0f);
        EXPECT_EQ(r.offset, Loop().ScreenToUIOffset())
            << r.width << " x " << r.height << " orientation " << r.orientation;
    }
    Vexel::App::SetEventLoop(nullptr);
    EXPECT_EQ(Vector2(), Vexel::App::ScreenToUIOffset());
    Vexel::App::SetEventLoop(&Loop());
    EXPECT_EQ(Vector2(-80.0f, 80.0f), Vexel::App::ScreenToUIOffset());
    Vexel::App::SetEventLoop(nullptr);
}

// ---- keys ----

TEST(KeyFilterTest, CharactersThatReachATextInput)
{
    for (int ch = -1; ch <= 300; ++ch)
    {
        const bool expected = (ch >= 32 && ch <= 127) || ch == 8 || ch == 13;
        EXPECT_EQ(expected, EventLoop::IsTextCharacter(ch)) << ch;
    }
}

TEST_F(LoopFixture, KeysGoToTheBackEventOrTheFocusedInput)
{
    EdgeCounter counter;
    {
        // Without a focused input only Escape does something.
        Send(Key(SDLK_a), 0);
        Send(Key(SDLK_ESCAPE), 0);
        EXPECT_EQ(1, counter.backKeys);
    }
    KeySink sink;
    struct Row
    {
        int symbol, modifiers;
        std::vector<int> keys;
    };
    const Row rows[] = {
        {SDLK_a, 0, {'a'}},
        {SDLK_a, KMOD_LSHIFT, {'A'}},
        {SDLK_1, KMOD_RSHIFT, {'!'}},
        {SDLK_a, KMOD_CAPS, {'A'}},
        {SDLK_BACKSPACE, 0, {8}},
        {SDLK_RETURN, 0, {13}},
        {SDLK_DELETE, 0, {127}},
        {SDLK_TAB, 0, {}},     // 9: below 32
        {SDLK_UP, 0, {}},      // above 255: translates to -1
        {SDLK_ESCAPE, 0, {}},  // the back event, not a character
        {SDLK_WORLD_0, 0, {}}, // 160: above 127
    };
    for (Row const& r : rows)
    {
        sink.keys.clear();
        Send(Key(r.symbol, r.modifiers), 0);
        EXPECT_EQ(r.keys, sink.keys) << "symbol " << r.symbol << " modifiers " << r.modifiers;
    }
    EXPECT_EQ(2, counter.backKeys);
    SDL_Event up = Key(SDLK_a);
    up.type = SDL_KEYUP;
    up.key.type = SDL_KEYUP;
    sink.keys.clear();
    Send(up, 0);
    EXPECT_TRUE(sink.keys.empty());
}

// ---- tilt ----

TEST_F(LoopFixture, JoystickAxesAreTheRawTilt)
{
    struct Row
    {
        int axis, value;
        Vector3 raw;
    };
    const Row rows[] = {
        {0, 16384, Vector3(0.5f, 0.0f, 0.0f)},  {1, 16384, Vector3(0.0f, -0.5f, 0.0f)},
        {2, 16384, Vector3(0.0f, 0.0f, 0.5f)},  {0, -32768, Vector3(-1.0f, 0.0f, 0.0f)},
        {1, -32768, Vector3(0.0f, 1.0f, 0.0f)}, {2, 32767, Vector3(0.0f, 0.0f, 32767.0f / 32768.0f)},
        {3, 16384, Vector3(0.0f, 0.0f, 0.0f)},  {255, 100, Vector3(0.0f, 0.0f, 0.0f)},
    };
    for (Row const& r : rows)
    {
        loop.reset();
        Send(Axis(r.axis, r.value), 0);
        const Vector3 raw = Loop().GetRawTilt();
        EXPECT_EQ(r.raw.x, raw.x) << "axis " << r.axis;
        EXPECT_EQ(r.raw.y, raw.y) << "axis " << r.axis;
        EXPECT_EQ(r.raw.z, raw.z) << "axis " << r.axis;
    }
}

TEST_F(LoopFixture, TiltReachesTheUIFilteredAndTurnedByTheRotation)
{
    Send(Axis(0, 16384), 0);
    Loop().StepFrame(false, 0);
    // normalise(0.5, 0, -1) / 4
    const float length = std::sqrt(1.25f);
    EXPECT_NEAR(0.5f / length / 4.0f, input.lastTilt.x, 1e-6f);
    EXPECT_NEAR(0.0f, input.lastTilt.y, 1e-6f);
    EXPECT_NEAR(-1.0f / length / 4.0f, input.lastTilt.z, 1e-6f);

    // In landscape (rotation a quarter turn) x and y are turned.
    loop.reset();
    Vexel::UI::UIManager::SetOrientation(0, 0.0f);
    const float rotation = Vexel::UI::UIManager::GetRotation();
    Send(Axis(0, 16384), 0);
    Loop().StepFrame(false, 0);
    const Vector2 turned = Vector2(0.5f / length / 4.0f, 0.0f).Rotate(rotation);
    EXPECT_NEAR(turned.x, input.lastTilt.x, 1e-6f);
    EXPECT_NEAR(turned.y, input.lastTilt.y, 1e-6f);
}

// ---- active state and frame step ----

TEST_F(LoopFixture, OnlyThePlainActiveStateChangesTheActiveFlag)
{
    EdgeCounter counter;
    struct Row
    {
        int state, gain;
        bool active;
        int pauses, resumes;
    };
    const Row rows[] = {
        {SDL_APPINPUTFOCUS, 0, true, 0, 0},
        {SDL_APPMOUSEFOCUS, 0, true, 0, 0},
        {SDL_APPACTIVE | SDL_APPINPUTFOCUS, 0, true, 0, 0}, // combined bits reach the loop only untranslated
        {SDL_APPACTIVE, 2, true, 0, 0},
        {SDL_APPACTIVE, 0, false, 1, 0},
        {SDL_APPACTIVE, 0, false, 1, 0}, // a second loss fires nothing
        {SDL_APPINPUTFOCUS, 1, false, 1, 0},
        {SDL_APPACTIVE, 1, true, 1, 1},
        {SDL_APPACTIVE, 1, true, 1, 1},
    };
    for (Row const& r : rows)
    {
        Send(Active(r.state, r.gain), 0);
        EXPECT_EQ(r.active, Vexel::App::IsActive()) << "state " << r.state << " gain " << r.gain;
        EXPECT_EQ(r.pauses, counter.pauses) << "state " << r.state << " gain " << r.gain;
        EXPECT_EQ(r.resumes, counter.resumes) << "state " << r.state << " gain " << r.gain;
    }
}

TEST_F(LoopFixture, FrameStepsAcrossTheActiveEdges)
{
    struct Row
    {
        const char* change; // applied before the step
        Log frame;
    };
    const Row rows[] = {
        {"", {"tilt", "update", "draw", "present 1", "animate"}},
        {"", {"tilt", "update", "draw", "present 2", "animate"}},
        {"deactivate", {"update", "draw", "present 3"}}, // one last drawn frame, no animate, no tilt
        {"", {}},
        {"", {}},
        {"activate", {"animate", "tilt", "update", "draw", "present 6", "animate"}},
        {"", {"tilt", "update", "draw", "present 7", "animate"}},
        {"run while inactive", {"tilt", "update", "draw", "present 8", "animate"}},
        {"deactivate", {"tilt", "update", "draw", "present 9", "animate"}},
        {"", {"tilt", "update", "draw", "present 10", "animate"}},
        {"activate", {"tilt", "update", "draw", "present 11", "animate"}},
    };
    uint32_t now = 5000000;
    for (Row const& r : rows)
    {
        const std::string change = r.change;
        if (change == "deactivate")
            Vexel::App::OnDeactivated();
        else if (change == "activate")
            Vexel::App::OnActivated();
        else if (change == "run while inactive")
            Vexel::GetAppSettings()->runWhileInactive = true;
        log.clear();
        EXPECT_TRUE(Loop().StepFrame(false, now));
        EXPECT_EQ(r.frame, log) << "frame " << Loop().GetFrameCount() << " " << r.change;
        now += 33333;
    }
}

TEST_F(LoopFixture, NoStepWithoutATickOrARedraw)
{
    EXPECT_TRUE(Loop().StepFrame(false, 1000));
    log.clear();
    EXPECT_FALSE(Loop().StepFrame(false, 1000 + 33332));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(Loop().StepFrame(true, 1000 + 33332)); // exposed: an extra frame
    EXPECT_EQ((Log{"tilt", "update", "draw", "present 2", "animate"}), log);
    EXPECT_EQ(-33333 + 0, Loop().GetFrameClock().GetAccumulator());
}

TEST_F(LoopFixture, TheFrameSetsUpViewportAndCentredProjection)
{
    struct Row
    {
        int width, height;
        float halfWidth, halfHeight; // integer halves
    };
    const Row rows[] = {{320, 480, 160.0f, 240.0f}, {321, 481, 160.0f, 240.0f}, {480, 320, 240.0f, 160.0f}};
    for (Row const& r : rows)
    {
        loop.reset();
        host.width = r.width;
        host.height = r.height;
        Vexel::Graphics::GL::Recorder recorder;
        Loop().StepFrame(false, 0);
        std::vector<std::string> calls;
        for (auto const& call : recorder.GetCalls())
            calls.push_back(call.ToString());
        char viewport[64], ortho[96];
        std::snprintf(viewport, sizeof(viewport), "glViewport(0, 0, %d, %d)", r.width, r.height);
        std::snprintf(ortho, sizeof(ortho), "glOrthof(%g, %g, %g, %g, -1, 1)", -r.halfWidth, r.halfWidth,
                      r.halfHeight, -r.halfHeight);
        const std::vector<std::string> expected = {
            viewport, "glColor4f(1, 1, 1, 1)", "glEnable(3553)",
            // cache: blend was on with mode 1
            "glDisable(3042)", "glEnable(3042)", "glBlendFunc(770, 1)", "glBlendFunc(770, 771)",
            "glMatrixMode(5889)", "glLoadIdentity()", ortho, "glMatrixMode(5888)", "glLoadIdentity()",
            "glMatrixMode(5888)", "glLoadIdentity()"};
        EXPECT_EQ(expected, calls) << recorder.Describe();
    }
}

// ---- passes ----

TEST_F(LoopFixture, APassDrainsTheQueueDropsStaleTouchesAndSteps)
{
    clock.milliseconds = 100;
    queue.Push(Button(true, 0, 10, 10));
    queue.Push(Typed(SDL_VIDEOEXPOSE));
    log.clear();
    Loop().RunPass();
    EXPECT_EQ((Log{"down 0 (10, 10) taps 1", "tilt", "update", "draw", "present 1", "animate"}), log);
    EXPECT_TRUE(Loop().IsRedrawRequested());
    clock.milliseconds = 4101 + 100; // 4001 ms later
    log.clear();
    Loop().RunPass();
    EXPECT_EQ((Log{"up 0 (10, 10)", "tilt", "update", "draw", "present 2", "animate"}), log);
    EXPECT_FALSE(Loop().IsRedrawRequested());
    queue.Push(Typed(SDL_QUIT));
    queue.Push(Button(true, 1, 1, 1)); // the pass that quits still finishes
    log.clear();
    Loop().Run();
    EXPECT_TRUE(Loop().IsQuitRequested());
    EXPECT_EQ((Log{"down 1 (1, 1) taps 1", "tilt", "update", "draw", "present 3", "animate"}), log);
}

TEST_F(LoopFixture, ScriptEventsArriveOnTheirFrames)
{
    Vexel::App::EventScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("2 down 0 10 10\n1 down 1 20 20\n3 up 0 10 10\n3 up 1 20 20\n5 quit\n", &error))
        << error;
    Loop().SetEventScript(&script);
    clock.stepMilliseconds = 34; // a tick every pass
    std::vector<Log> frames;
    while (!Loop().IsQuitRequested())
    {
        log.clear();
        Loop().RunPass();
        frames.push_back(log);
    }
    const std::vector<Log> expected = {
        {"down 1 (20, 20) taps 1", "tilt", "update", "draw", "present 1", "animate"},
        {"down 0 (10, 10) taps 1", "tilt", "update", "draw", "present 2", "animate"},
        {"up 0 (10, 10)", "up 1 (20, 20)", "tilt", "update", "draw", "present 3", "animate"},
        {"tilt", "update", "draw", "present 4", "animate"},
        {"tilt", "update", "draw", "present 5", "animate"},
    };
    EXPECT_EQ(expected, frames);
}
