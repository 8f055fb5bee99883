// The play screen's touch handling, headless: synthetic touches through the
// real UI manager and element tree, frames run as the shell runs them, and
// what reaches the Simulation read from the aim input of the last frame.
#include "engine/core/AppEvents.h"
#include "tests/play/PlayScreenTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

using PlayTest::PlayScreenFixture;

class PlayScreenInputTest : public PlayScreenFixture
{
protected:
    // Screen points more than 47 world units from the planet and more than
    // 42 px from one another (the planet is at (160, 240), 2 px a unit).
    static Vector2 Spot(int i)
    {
        static const Vector2 spots[] = {{30, 40},   {100, 40},  {220, 40}, {290, 40},  {30, 440}, {100, 440},
                                        {220, 440}, {290, 440}, {30, 240}, {290, 240}, {30, 340}, {290, 340}};
        return spots[i];
    }

    TargetInputElement* HolderTarget(int finger) { return dynamic_cast<TargetInputElement*>(Holder(finger)); }

    // A lock the touch picks up and holds for frames frames, then lets go.
    void HoldAndRelease(Vector2 point, int frames, int finger = 0)
    {
        Down(finger, point);
        Frame(frames);
        Up(finger, point);
        Frame();
    }
};

TEST_F(PlayScreenInputTest, TouchesWithinTwentyFiveUnitsOfThePlanetGiveNoAim)
{
    Sim().StartGame(1, 1);
    const struct
    {
        float distance;
        bool aims;
    } cases[] = {{25.0f, false}, {25.01f, true}, {-25.0f, false}, {26.0f, true}};
    for (auto const& c : cases)
    {
        // Started away from the planet (a touch starting near it is the
        // cannon's), then drawn in.
        Down(0, ToScreen(Vector2(0.0f, 100.0f)));
        ASSERT_NE(nullptr, HolderTarget(0));
        Frame();
        Move(0, ToScreen(Vector2(0.0f, c.distance)));
        Frame();
        EXPECT_EQ(c.aims ? 1u : 0u, Input().aims.count(11)) << c.distance;
        EXPECT_EQ(c.aims ? 1u : 0u, Input().marks.size()) << c.distance;
        Up(0, ToScreen(Vector2(0.0f, c.distance)));
        Frame();
    }
}

TEST_F(PlayScreenInputTest, ATouchWithinFortySevenUnitsGoesToTheCannon)
{
    Sim().StartGame(1, 1);
    const struct
    {
        Vector2 world;
        bool cannon;
    } cases[] = {{{47.0f, 0.0f}, true},
                 {{0.0f, -47.0f}, true},
                 {{33.2f, 33.2f}, true}, // |p|^2 = 2204.5
                 {{47.1f, 0.0f}, false},
                 {{-33.3f, -33.3f}, false}}; // 2217.8
    for (auto const& c : cases)
    {
        Down(0, ToScreen(c.world));
        ASSERT_NE(nullptr, Holder(0));
        EXPECT_EQ(c.cannon, Holder(0) == screen->GetCannon()) << c.world.x << ", " << c.world.y;
        if (!c.cannon)
        {
            EXPECT_EQ(screen->GetTarget(11), Holder(0)) << "the free element with the highest index";
        }
        Up(0, ToScreen(c.world));
        Frame();
    }
    // With the cannon held, the next touch on the planet aims instead.
    Down(0, ToScreen(Vector2(0.0f, 10.0f)));
    Down(1, ToScreen(Vector2(10.0f, 0.0f)));
    EXPECT_EQ(screen->GetCannon(), Holder(0));
    EXPECT_EQ(screen->GetTarget(11), Holder(1));
    Up(0, ToScreen(Vector2(0.0f, 10.0f)));
    Up(1, ToScreen(Vector2(10.0f, 0.0f)));
}

TEST_F(PlayScreenInputTest, DoubleTapsCreateLocksWithTheNextIdAboveTheLargest)
{
    Sim().StartGame(1, 1);
    PlaceLock(Spot(0));
    PlaceLock(Spot(1));
    PlaceLock(Spot(2));
    ASSERT_EQ(3u, Locks().size());
    EXPECT_EQ(13, Locks().begin()->first);
    // A short touch on lock 14 deletes it: {13, 15} remain and the next is 16.
    HoldAndRelease(Spot(1), 2);
    ASSERT_EQ(2u, Locks().size());
    EXPECT_EQ(1u, Locks().count(13));
    EXPECT_EQ(1u, Locks().count(15));
    PlaceLock(Spot(3));
    EXPECT_EQ(1u, Locks().count(16));
    // The lock sits where the finger was, free once the finger has left.
    TargetLock const& lock = Locks().at(16);
    EXPECT_FALSE(lock.held);
    EXPECT_EQ(Sim().ScreenToWorld(Spot(3)).x, lock.worldPos.x);
    EXPECT_EQ(Sim().ScreenToWorld(Spot(3)).y, lock.worldPos.y);
    // Once all are gone, ids start at 13 again.
    for (int i : {0, 2, 3})
        HoldAndRelease(Spot(i), 1);
    ASSERT_TRUE(Locks().empty());
    PlaceLock(Spot(4));
    EXPECT_EQ(1u, Locks().count(13));
}

TEST_F(PlayScreenInputTest, LockIdsStepOverTheTiltAim)
{
    TargetLockMap locks;
    EXPECT_EQ(13, TargetInputElement::NextLockId(locks));
    locks[13] = TargetLock();
    locks[15] = TargetLock();
    EXPECT_EQ(16, TargetInputElement::NextLockId(locks));
    locks[1035] = TargetLock();
    EXPECT_EQ(1037, TargetInputElement::NextLockId(locks));
    locks[2147483646] = TargetLock();
    EXPECT_EQ(-1, TargetInputElement::NextLockId(locks)) << "no id is left above the largest";
}

TEST_F(PlayScreenInputTest, NoEleventhLockAndTheTouchAimsPlainly)
{
    Sim().StartGame(1, 1);
    for (int i = 0; i < 10; i++)
        PlaceLock(Spot(i));
    ASSERT_EQ(10u, Locks().size());
    Down(0, Spot(10), 2);
    Frame();
    EXPECT_EQ(10u, Locks().size());
    ASSERT_NE(nullptr, HolderTarget(0));
    EXPECT_FALSE(HolderTarget(0)->HasLock());
    EXPECT_EQ(1u, Input().aims.count(11));
    Up(0, Spot(10));
    Frame();
    EXPECT_EQ(10u, Locks().size());
}

TEST_F(PlayScreenInputTest, ATouchPicksUpAFreeLockWithinFortyTwoPixels)
{
    Sim().StartGame(1, 1);
    const Vector2 at = Spot(0) + Vector2(0.0f, 100.0f);
    PlaceLock(at);
    ASSERT_EQ(1u, Locks().count(13));
    // 42 px is out of reach (and not swept either).
    Down(0, at + Vector2(42.0f, 0.0f));
    ASSERT_NE(nullptr, HolderTarget(0));
    EXPECT_FALSE(HolderTarget(0)->HasLock());
    Up(0, at + Vector2(42.0f, 0.0f));
    Frame();
    EXPECT_EQ(1u, Locks().count(13));
    // 41.9 px picks it up; held long enough, it stays where it was let go.
    Down(0, at + Vector2(41.9f, 0.0f));
    ASSERT_NE(nullptr, HolderTarget(0));
    EXPECT_EQ(13, HolderTarget(0)->GetLockId());
    EXPECT_EQ(13, HolderTarget(0)->GetAimId());
    EXPECT_TRUE(Locks().at(13).held);
    Frame(9);
    Up(0, at + Vector2(41.9f, 0.0f));
    Frame();
    ASSERT_EQ(1u, Locks().count(13));
    EXPECT_FALSE(Locks().at(13).held);
    EXPECT_FLOAT_EQ(Sim().ScreenToWorld(at + Vector2(41.9f, 0.0f)).x, Locks().at(13).worldPos.x);
}

TEST_F(PlayScreenInputTest, ALockOutlivesATouchOfMoreThanEightFrames)
{
    Sim().StartGame(1, 1);
    const struct
    {
        int frames;
        bool kept;
    } cases[] = {{1, false}, {8, false}, {9, true}, {20, true}};
    for (auto const& c : cases)
    {
        PlaceLock(Spot(0));
        ASSERT_EQ(1u, Locks().size());
        const int id = Locks().begin()->first;
        HoldAndRelease(Spot(0), c.frames);
        EXPECT_EQ(c.kept ? 1u : 0u, Locks().count(id)) << c.frames << " frames";
        if (c.kept)
            HoldAndRelease(Spot(0), 1);
        ASSERT_TRUE(Locks().empty());
    }
}

TEST_F(PlayScreenInputTest, SweepingRemovesOnlyFreeLocks)
{
    Sim().StartGame(1, 1);
    PlaceLock(Spot(0));
    PlaceLock(Spot(1));
    PlaceLock(Spot(2));
    // Finger 0 holds lock 13; finger 1 sweeps over it and over lock 14.
    Down(0, Spot(0));
    Frame();
    Down(1, Spot(5));
    Frame();
    Move(1, Spot(0) + Vector2(5.0f, 5.0f));
    Frame();
    EXPECT_EQ(1u, Locks().count(13)) << "held by another finger";
    Move(1, Spot(1));
    Frame();
    EXPECT_EQ(0u, Locks().count(14)) << "swept";
    // With target sweep off the finger passes over lock 15 harmlessly.
    GamePrefs::SetTargetSweep(false);
    Move(1, Spot(2));
    Frame();
    EXPECT_EQ(1u, Locks().count(15));
    Up(1, Spot(2));
    Frame(8);
    Up(0, Spot(0));
    Frame();
    EXPECT_EQ(1u, Locks().count(13));
}

TEST_F(PlayScreenInputTest, AReleaseNeverBringsBackAClearedLock)
{
    // The map is emptied while a finger holds a lock: by the end of the game,
    // or by target locks turned off and on again. The release must not
    // write the lock back (it would sit at the planet centre and take one of
    // the ten places).
    for (int route = 0; route < 2; route++)
    {
        Sim().StartGame(1, 1);
        Down(0, Spot(0), 2);
        Frame();
        ASSERT_EQ(1u, Locks().size()) << route;
        if (route == 0)
            Sim().Surrender();
        else
            GamePrefs::SetTargetLocks(false);
        Frame();
        EXPECT_TRUE(Locks().empty()) << route;
        GamePrefs::SetTargetLocks(true);
        Frame(3);
        Up(0, Spot(0));
        Frame();
        EXPECT_TRUE(Locks().empty()) << route;
    }
}

TEST_F(PlayScreenInputTest, ALockHeldByATouchIsReportedOnce)
{
    Sim().StartGame(1, 1);
    PlaceLock(Spot(0));
    Down(0, Spot(0));
    Frame();
    EXPECT_EQ(1u, Input().aims.count(13));
    ASSERT_EQ(1u, Input().marks.size());
    EXPECT_EQ(1, Input().marks[0].fromTouch);
    EXPECT_EQ(1, Input().marks[0].highlighted);
    EXPECT_FLOAT_EQ(Sim().ScreenToWorld(Spot(0)).Angle(), Input().aims.at(13));
    Frame(9);
    Up(0, Spot(0));
    Frame();
    // Let go: now the lock map reports it.
    EXPECT_EQ(1u, Input().aims.count(13));
    ASSERT_EQ(1u, Input().marks.size());
    EXPECT_EQ(0, Input().marks[0].fromTouch);
    EXPECT_EQ(1, Input().marks[0].highlighted);
    // A plain touch: its element's index, not highlighted.
    Down(1, Spot(5));
    Frame();
    EXPECT_EQ(1u, Input().aims.count(11));
    EXPECT_EQ(2u, Input().marks.size());
    Up(1, Spot(5));
}

TEST_F(PlayScreenInputTest, LocksAreClearedTheFrameAfterThePreferenceGoesOff)
{
    Sim().StartGame(1, 1);
    PlaceLock(Spot(0));
    PlaceLock(Spot(1));
    GamePrefs::SetTargetLocks(false);
    EXPECT_EQ(2u, Locks().size());
    Frame();
    EXPECT_TRUE(Locks().empty());
    // Off, a double tap creates none and aims plainly.
    Down(0, Spot(2), 2);
    Frame();
    EXPECT_TRUE(Locks().empty());
    EXPECT_EQ(1u, Input().aims.count(11));
    EXPECT_EQ(-1, screen->GetTarget(0)->FindNearestLock(Spot(2)));
    Up(0, Spot(2));
    Frame();
}

TEST_F(PlayScreenInputTest, TwelveFlatFramesPauseOnlyARunningGameWithTiltControls)
{
    const struct
    {
        const char* name;
        bool tilt;
        int mode;
        bool over;
        bool pauses;
    } cases[] = {
        {"classic", true, 1, false, true},
        {"tilt controls off", false, 1, false, false},
        {"menu world", true, 0, false, false},
        {"finished game", true, 1, true, false},
    };
    for (auto const& c : cases)
    {
        NewScreen();
        GamePrefs::SetTiltControls(c.tilt);
        if (c.mode != 0)
            Sim().StartGame(c.mode, 1);
        if (c.over)
            Sim().Surrender();
        *Vexel::UI::UIManager::GetTilt() = Vector3(0.0f, 0.0f, 1.0f);
        Frame(11);
        EXPECT_FALSE(screen->IsPaused()) << c.name;
        EXPECT_FALSE(screen->IsFlat()) << c.name;
        Frame();
        EXPECT_EQ(c.pauses, screen->IsPaused()) << c.name;
        EXPECT_EQ(c.pauses, screen->IsFlat()) << c.name;
        *Vexel::UI::UIManager::GetTilt() = Vector3(0.0f, 0.0f, 0.0f);
        Frame();
    }
}

TEST_F(PlayScreenInputTest, OneTiltedFrameRestartsTheFlatCount)
{
    GamePrefs::SetTiltControls(true);
    Sim().StartGame(1, 1);
    Vector3& tilt = *Vexel::UI::UIManager::GetTilt();
    tilt = Vector3(0.0f, 0.0f, 1.0f);
    Frame(11);
    EXPECT_EQ(11, screen->GetFlatFrames());
    tilt = Vector3(0.6f, 0.0f, 0.8f);
    Frame();
    EXPECT_EQ(0, screen->GetFlatFrames());
    tilt = Vector3(0.0f, 0.0f, 1.0f);
    Frame(11);
    EXPECT_FALSE(screen->IsPaused());
    Frame();
    EXPECT_TRUE(screen->IsPaused());
}

TEST_F(PlayScreenInputTest, TiltAimsWithTheTiltAimIdOnlyWithTiltControls)
{
    const int kTiltAim = SimulationInput::kTiltAimId;
    Sim().StartGame(1, 1);
    *Vexel::UI::UIManager::GetTilt() = Vector3(0.6f, 0.0f, 0.8f);
    Frame();
    EXPECT_EQ(0u, Input().aims.count(kTiltAim));
    GamePrefs::SetTiltControls(true);
    Frame();
    ASSERT_EQ(1u, Input().aims.count(kTiltAim));
    // The default reference only mirrors x: (-0.6, 0).
    EXPECT_FLOAT_EQ(Vector2(-0.6f, 0.0f).Angle(), Input().aims.at(kTiltAim));
    EXPECT_TRUE(Input().marks.empty());
}

TEST_F(PlayScreenInputTest, ThePauseEventIsIgnoredInTheMenuWorldAndTheTutorial)
{
    const struct
    {
        int mode;
        bool over;
        bool pauses;
    } cases[] = {{0, false, false}, {7, false, false}, {1, false, true}, {3, false, true}, {1, true, false}};
    for (auto const& c : cases)
    {
        screen->SetPaused(false);
        if (c.mode == 7)
            Sim().StartTutorial(0);
        else if (c.mode == 3)
            Sim().StartGameAtLevel(4, 3, 1);
        else if (c.mode != 0)
            Sim().StartGame(c.mode, 1);
        if (c.over)
            Sim().Surrender();
        Vexel::AppEvents::Pause().Raise();
        EXPECT_EQ(c.pauses, screen->IsPaused()) << "mode " << c.mode << (c.over ? " over" : "");
    }
}

TEST_F(PlayScreenInputTest, ADoubleTapOnThePlanetPausesForTheFrameItArrives)
{
    // The menu world ignores it.
    Down(0, ToScreen(Vector2(0.0f, 0.0f)), 2);
    Frame();
    EXPECT_FALSE(screen->IsPaused());
    Up(0, ToScreen(Vector2(0.0f, 0.0f)));
    Frame();

    Sim().StartGame(1, 1);
    // A single tap does not pause.
    Down(0, ToScreen(Vector2(0.0f, 0.0f)), 1);
    Frame();
    EXPECT_FALSE(screen->IsPaused());
    Up(0, ToScreen(Vector2(0.0f, 0.0f)));
    Frame();
    // Down and up before the frame: the request still lasts one frame.
    Down(0, ToScreen(Vector2(0.0f, 0.0f)), 2);
    Up(0, ToScreen(Vector2(0.0f, 0.0f)));
    EXPECT_TRUE(screen->GetCannon()->IsPauseRequested());
    Frame();
    EXPECT_TRUE(screen->IsPaused());
    EXPECT_TRUE(screen->IsPausedByTap());
    EXPECT_FALSE(screen->GetCannon()->IsPauseRequested());
    // Resumed by the front end.
    screen->SetPaused(false);
    Frame();
    EXPECT_FALSE(screen->IsPaused());
    EXPECT_FALSE(screen->IsPausedByTap());
}

TEST_F(PlayScreenInputTest, DraggingFromThePlanetAimsTheCannon)
{
    Sim().StartGame(1, 1);
    Down(0, ToScreen(Vector2(0.0f, 0.0f)));
    Frame(2);
    EXPECT_EQ(1, Input().cannonHeld);
    Move(0, ToScreen(Vector2(0.0f, -90.0f)));
    Frame();
    EXPECT_EQ(0.0f, Input().cannonAim.x);
    EXPECT_EQ(-90.0f, Input().cannonAim.y);
    EXPECT_TRUE(Input().aims.empty()) << "the cannon's finger does not aim the guns";
    Up(0, ToScreen(Vector2(0.0f, -90.0f)));
    Frame(2);
    EXPECT_EQ(0, Input().cannonHeld);
    // The tutorial locks the cannon outside its step 3.
    Sim().StartTutorial(0);
    Down(0, ToScreen(Vector2(0.0f, 0.0f)));
    Frame(2);
    EXPECT_EQ(0, Input().cannonHeld);
    Up(0, ToScreen(Vector2(0.0f, 0.0f)));
    Frame();
}

TEST_F(PlayScreenInputTest, TheScreenMayDimOnlyWhenNothingIsPlayed)
{
    Sim().StartGame(1, 1);
    Frame();
    EXPECT_FALSE(Vexel::Platform::IsScreenTimeoutEnabled());
    screen->SetPaused(true);
    Frame();
    EXPECT_TRUE(Vexel::Platform::IsScreenTimeoutEnabled());
    screen->SetPaused(false);
    Frame();
    EXPECT_FALSE(Vexel::Platform::IsScreenTimeoutEnabled());
    GamePrefs::SetTiltControls(true);
    *Vexel::UI::UIManager::GetTilt() = Vector3(0.0f, 0.0f, 1.0f);
    Frame(12);
    EXPECT_TRUE(Vexel::Platform::IsScreenTimeoutEnabled());
    *Vexel::UI::UIManager::GetTilt() = Vector3(0.0f, 0.0f, 0.0f);
    screen->SetPaused(false);
    Frame();
    EXPECT_FALSE(Vexel::Platform::IsScreenTimeoutEnabled());
    Sim().Surrender();
    Frame();
    EXPECT_TRUE(Vexel::Platform::IsScreenTimeoutEnabled());
}

TEST_F(PlayScreenInputTest, WhilePausedTheWorldStandsStill)
{
    Sim().StartGame(1, 1);
    Frame(5);
    std::ostringstream before;
    Sim().Save(before);
    screen->SetPaused(true);
    Down(0, Spot(0));
    Frame(30);
    // The pause flag is part of the saved game; nothing else may change.
    Sim().SetPaused(false, false);
    std::ostringstream after;
    Sim().Save(after);
    EXPECT_EQ(before.str(), after.str());
    Up(0, Spot(0));
}

TEST_F(PlayScreenInputTest, ALoadedGameComesBackPausedWhenItIsRunning)
{
    const struct
    {
        int mode;
        bool paused;
    } cases[] = {{1, true}, {0, false}, {7, false}};
    for (auto const& c : cases)
    {
        GameScreen saved(11);
        if (c.mode == 7)
            saved.GetSimulation().StartTutorial(0);
        else if (c.mode != 0)
            saved.GetSimulation().StartGame(c.mode, 1);
        std::stringstream stream;
        saved.Save(stream);
        GameScreen loaded(12);
        loaded.SetPaused(!c.paused);
        ASSERT_TRUE(loaded.Load(stream)) << c.mode;
        EXPECT_EQ(c.paused, loaded.IsPaused()) << c.mode;
        EXPECT_EQ(c.mode, loaded.GetSimulation().GetMode());
        EXPECT_FALSE(loaded.IsFlat());
        EXPECT_EQ(0, loaded.GetFlatFrames());
    }
}

} // namespace
