// The whole play screen as a player sees it: the GameScreen on the real UI
// manager, touches injected as the shell delivers them, every frame updated,
// drawn (world and HUD) on a real OpenGL ES 1.1 context and laid out, at the
// reference phone's size and at twice it. Each scene's last frame is saved
// as play_<name>-<w>x<h>.png in this build folder for a person to look at.
#include "engine/graphics/GL.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIManager.h"
#include "game/play/GameScreen.h"
#include "game/play/SimInfoBar.h"
#include "game/scores/GamePrefs.h"
#include "game/simulation/SimulationView.h"
#include "tests/simulation/DrawTestSupport.h"
#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

namespace GL = Vexel::Graphics::GL;
using Vexel::UI::UIManager;

struct Size
{
    int width, height;
};

class PlayScreenScene : public ::testing::TestWithParam<Size>
{
protected:
    void SetUp() override
    {
        UITest::ResetUIState();
        ResetFlashes();
        display.reset(new DrawTest::Screen(GetParam().width, GetParam().height));
        ASSERT_TRUE(display->Ready()) << "no EGL pbuffer context";
        UIManager::SetOrientation(1, 0.0f);
        UIManager::SetClearColor(Color(0, 0, 0, 255));
        // A desktop has no accelerometer.
        GamePrefs::SetTiltControls(false);
        screen.reset(new GameScreen(21));
        UIManager::AttachElement(screen.get(), 0);
    }

    void TearDown() override
    {
        if (screen)
            UIManager::DetachElement(screen.get());
        screen.reset();
        display.reset();
        GamePrefs::SetTiltControls(true);
        UITest::ResetUIState();
        ResetFlashes();
    }

    Simulation& Sim() { return screen->GetSimulation(); }
    SimInfoBar& Hud() { return *static_cast<SimInfoBar*>(Sim().GetHud()); }

    // A frame as the shell runs it: update, draw (the shell's projection
    // has its origin at the screen centre), layout.
    void Frame(int count = 1)
    {
        InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
        for (int i = 0; i < count; i++)
        {
            core.Update(DrawTest::kFrame);
            GLTest::SetUpFrame(display->width, display->height, UIManager::GetClearColor());
            GL::PushMatrix();
            GL::Translatef(0.5f * float(display->width), 0.5f * float(display->height), 0.0f);
            core.Draw();
            GL::PopMatrix();
            GL::Finish();
            ASSERT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
            core.Animate(DrawTest::kFrame);
        }
    }

    // The screen point of the enemy nearest the planet, or none.
    bool NearestEnemy(Vector2& screenPoint)
    {
        SimulationView view = Sim().View();
        float best = 1e30f;
        bool found = false;
        for (int i = 0; i < view.EnemyCount(); i++)
        {
            const Vector2 p = view.GetEnemy(i).position;
            const float d = p.LengthSquared();
            if (d < best)
            {
                best = d;
                screenPoint = Sim().WorldToScreen(p);
                found = true;
            }
        }
        return found;
    }

    // The screen point of an enemy for a lock: on the screen, off the
    // planet, and well away from the points given (so that no finger sweeps
    // it away).
    bool LockSpot(Vector2& screenPoint, std::vector<Vector2> const& avoid)
    {
        SimulationView view = Sim().View();
        const float w = float(display->width);
        const float h = float(display->height);
        const float margin = 100.0f * w / 320.0f;
        for (int i = 0; i < view.EnemyCount(); i++)
        {
            const Vector2 world = view.GetEnemy(i).position;
            const Vector2 p = Sim().WorldToScreen(world);
            bool clear =
                world.Length() > 60.0f && p.x > 20.0f && p.x < w - 20.0f && p.y > 60.0f && p.y < h - 20.0f;
            for (Vector2 const& other : avoid)
                clear = clear && (p - other).Length() > margin;
            if (clear)
            {
                screenPoint = p;
                return true;
            }
        }
        return false;
    }

    void Save(std::string const& name) { EXPECT_FALSE(display->SavePng("play_" + name).empty()); }

    std::unique_ptr<DrawTest::Screen> display;
    std::unique_ptr<GameScreen> screen;
};

TEST_P(PlayScreenScene, ClassicGameAtWaveThreeWithLocksAndFire)
{
    Sim().StartGame(1, 1);
    const float w = float(display->width);
    const float h = float(display->height);
    // One finger held on the field, following the enemy nearest the planet.
    Vector2 finger(w * 0.2f, h * 0.15f);
    UIManager::InjectTouchDown(0, finger, 1);
    for (int i = 0; i < 9000; i++)
    {
        SimulationView view = Sim().View();
        if (view.WaveNumber() == 3 && view.WaveState() == 1 && view.EnemyCount() >= 6)
            break;
        if (NearestEnemy(finger))
            UIManager::InjectTouchMove(0, finger);
        Frame();
        if (HasFatalFailure())
            return;
    }
    ASSERT_EQ(3, Sim().View().WaveNumber());
    // Two locks placed by double taps on enemies further out, once they
    // are on the screen.
    std::vector<Vector2> taken{finger};
    for (int i = 0; i < 600 && screen->GetLocks().size() < 2; i++)
    {
        if (NearestEnemy(finger))
            UIManager::InjectTouchMove(0, finger);
        taken[0] = finger;
        Vector2 at;
        if (LockSpot(at, taken))
        {
            taken.push_back(at);
            UIManager::InjectTouchDown(1, at, 2);
            Frame();
            UIManager::InjectTouchUp(1, at, 2);
        }
        Frame();
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(2u, screen->GetLocks().size());
    for (int i = 0; i < 12; i++)
    {
        if (NearestEnemy(finger))
            UIManager::InjectTouchMove(0, finger);
        Frame();
    }
    EXPECT_GT(Sim().View().Kills(), 0);
    EXPECT_GT(Sim().View().BulletCount(), 0);
    EXPECT_EQ("Wave 3", Hud().GetWaveLine());
    EXPECT_EQ("Kills: " + std::to_string(Sim().View().Kills()), Hud().GetKillsLine());
    Save("classic_wave3");
    // The whole frame, world and HUD, in few draw calls.
    int calls = 0;
    {
        GL::Recorder recorder;
        InternalUIManagerEventCore::Instance().Draw();
        calls = recorder.Count("glDrawElements") + recorder.Count("glDrawArrays");
    }
    EXPECT_LE(calls, 40);
    RecordProperty("draw_calls", calls);
    std::printf("classic wave 3 at %dx%d: %d draw calls per frame\n", display->width, display->height, calls);
    UIManager::InjectTouchUp(0, finger, 1);
    Frame();
}

TEST_P(PlayScreenScene, TutorialFirstStep)
{
    Sim().StartTutorial(0);
    Frame(90);
    EXPECT_EQ(0, Sim().View().TutorialStep());
    EXPECT_FALSE(Hud().GetTutorialLines().empty());
    EXPECT_EQ(0, Hud().GetChargeIconCount());
    Save("tutorial_step0");
}

// Every step's text and prompt stand clear of the planet and of the continue
// button under the prompt. With no enemies the tutorial's camera settles on
// the square of +-70.4 around the planet (radius 40), its glow a few percent
// further out; the continue button, shown at the steps that wait for a tap,
// reaches 40 px per scale step above the bottom.
TEST_P(PlayScreenScene, TutorialTextsClearThePlanetAndTheContinueButton)
{
    const float w = float(display->width);
    const float h = float(display->height);
    const float scale = w / 320.0f;
    const float planetRadius = 40.0f * std::min(w, h) / 140.8f * 1.05f;
    const Vector2 centre(w * 0.5f, h * 0.5f);
    const float buttonTop = h - 40.0f * scale;
    for (int step = 0; step < 7; step++)
    {
        Sim().StartTutorial(step);
        Frame(step == 6 ? 90 : 2);
        std::vector<Vexel::Rectangle> const& cells = Hud().GetTutorialLineCells();
        ASSERT_FALSE(cells.empty()) << "step " << step;
        for (Vexel::Rectangle const& cell : cells)
        {
            // The distance from the planet's centre to the nearest point of the cell.
            const float dx = std::max(std::max(cell.Left() - centre.x, centre.x - cell.Right()), 0.0f);
            const float dy = std::max(std::max(cell.Top() - centre.y, centre.y - cell.Bottom()), 0.0f);
            EXPECT_GT(std::sqrt(dx * dx + dy * dy), planetRadius) << "step " << step << " line at y " << cell.Top();
            if (Sim().IsWaitingForTap())
            {
                EXPECT_LE(cell.Bottom(), buttonTop) << "step " << step << " line at y " << cell.Top();
            }
            EXPECT_GE(cell.Left(), 0.0f) << "step " << step;
            EXPECT_LE(cell.Right(), w) << "step " << step;
        }
    }
    EXPECT_TRUE(Sim().IsTutorialFinished());
    Save("tutorial_step6");
}

TEST_P(PlayScreenScene, PausedByADoubleTapOnThePlanet)
{
    Sim().StartGame(1, 1);
    Frame(100);
    const Vector2 planet = Sim().WorldToScreen(Vector2(0.0f, 0.0f));
    UIManager::InjectTouchDown(0, planet, 2);
    UIManager::InjectTouchUp(0, planet, 2);
    Frame(15);
    EXPECT_TRUE(screen->IsPaused());
    // The HUD fades out while paused.
    EXPECT_EQ(0.0f, Sim().GetHudAlpha());
    Save("paused");
}

// Both phone sizes; the ThreadSanitizer build, some ten times slower, draws
// the scenes once: the second size runs the same threads.
#ifdef VEXEL_TEST_ONE_SCREEN_SIZE
const Size kSceneSizes[] = {Size{320, 480}};
#else
const Size kSceneSizes[] = {Size{320, 480}, Size{640, 960}};
#endif

INSTANTIATE_TEST_SUITE_P(Sizes, PlayScreenScene, ::testing::ValuesIn(kSceneSizes),
                         [](::testing::TestParamInfo<Size> const& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

} // namespace
