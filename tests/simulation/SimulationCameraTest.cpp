// The self-framing camera without a window: what it wants in view, how its
// springs settle, the resets and clamps that keep it sane, and that the
// shake never moves it for good.
#include "engine/graphics/GL.h"
#include "tests/simulation/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using SimTest::SavedGame;

const Vexel::Rectangle kPhone(0.0f, 0.0f, 320.0f, 480.0f);

// The square around the planet for a half side, grown 3.6% on every side.
Vexel::Rectangle Grown(float half)
{
    const float side = 2.0f * half;
    return Vexel::Rectangle(-half - side * 0.036f, -half - side * 0.036f, side * 1.072f, side * 1.072f);
}

void ExpectRectNear(Vexel::Rectangle const& expected, Vexel::Rectangle const& actual)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-4f);
    EXPECT_NEAR(expected.y, actual.y, 1e-4f);
    EXPECT_NEAR(expected.width, actual.width, 1e-4f);
    EXPECT_NEAR(expected.height, actual.height, 1e-4f);
}

void Settle(Simulation& sim, Vexel::Rectangle const& area, int frames = 6000)
{
    for (int i = 0; i < frames; i++)
        sim.StepCamera(area);
}

TEST(SimulationCamera, SpringStepClampsTheStep)
{
    struct Case
    {
        float current, target, maxStep, rate, expected;
    };
    const Case cases[] = {
        {0.0f, 10.0f, 6.2f, 0.08f, 0.8f},    // within the limit
        {0.0f, 100.0f, 6.2f, 0.08f, 6.2f},   // clamped up
        {0.0f, -100.0f, 6.2f, 0.08f, -6.2f}, // clamped down
        {5.0f, 5.0f, 6.2f, 0.08f, 5.0f},     // at rest
        {1.0f, -1.0f, 6.2f, 0.5f, 0.0f},
    };
    for (Case const& c : cases)
        EXPECT_FLOAT_EQ(c.expected, Simulation::SpringStep(c.current, c.target, c.maxStep, c.rate))
            << c.current << " -> " << c.target;
}

TEST(SimulationCamera, EmptyWorldSettlesOnTheGrownSquareAroundThePlanet)
{
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(1);
    ASSERT_EQ(0, sim->View().EnemyCount());
    // 20 x 1.1 x 1.2 = 26.4 around the planet centre: inside its surface at 40.
    ExpectRectNear(Grown(26.4f), sim->ComputeViewBounds());

    Settle(*sim, kPhone);
    const float fit = 320.0f / Grown(26.4f).width;
    EXPECT_NEAR(fit, sim->GetView().scale, fit * 1e-3f);
    EXPECT_NEAR(0.0f, sim->GetView().position.x, 1e-2f);
    EXPECT_NEAR(0.0f, sim->GetView().position.y, 1e-2f);
    EXPECT_EQ(Vector2(160.0f, 240.0f), sim->GetView().halfSize);
    // Settled: the planet centre is the screen centre.
    EXPECT_NEAR(160.0f, sim->WorldToScreen(Vector2(0.0f, 0.0f)).x, 0.05f);
    EXPECT_NEAR(240.0f, sim->WorldToScreen(Vector2(0.0f, 0.0f)).y, 0.05f);
}

TEST(SimulationCamera, TutorialAndWonGauntletZoomOut)
{
    struct Case
    {
        const char* name;
        int mode;
        int waveState;
        uint64_t population;
        float half;
    };
    const Case cases[] = {
        {"tutorial", 7, 1, Simulation::kStartPopulation, 70.4f},  // 20 x 1.1 x 3.2
        {"won stage", 5, 2, Simulation::kStartPopulation, 83.6f}, // 20 x 1.1 x 3.8
        {"won gauntlet", 6, 2, Simulation::kStartPopulation, 83.6f},  {"lost stage", 5, 1, 0, 26.4f},
        {"stage running", 5, 1, Simulation::kStartPopulation, 26.4f},
    };
    for (Case const& c : cases)
    {
        SavedGame game;
        game.mode = c.mode;
        game.waveState = c.waveState;
        game.population = c.population;
        game.lossFreePopulation = Simulation::kStartPopulation;
        game.spawns.clear();
        std::unique_ptr<Simulation> sim = SimTest::FromSave(game);
        ASSERT_NE(nullptr, sim) << c.name;
        ExpectRectNear(Grown(c.half), sim->ComputeViewBounds());
        Settle(*sim, kPhone);
        EXPECT_NEAR(320.0f / Grown(c.half).width, sim->GetView().scale, 1e-3f) << c.name;
    }
}

TEST(SimulationCamera, EnemiesAndLockMarksWidenTheView)
{
    SavedGame game;
    game.spawns.clear();
    game.enemies.push_back(SimTest::EnemyRecord::At(0, Vector2(30.0f, -200.0f)));
    std::unique_ptr<Simulation> sim = SimTest::FromSave(game);
    ASSERT_NE(nullptr, sim);
    EnemyType const& peon = EnemyType::Get(0);
    // Base 0.4 with an enemy about: 20 x 0.4 x 1.2 = 9.6 around the planet.
    const float top = -200.0f - peon.viewMargin;
    const float height = 9.6f - top;
    const Vexel::Rectangle bounds = sim->ComputeViewBounds();
    EXPECT_NEAR(top - height * 0.036f, bounds.y, 1e-3f);
    EXPECT_NEAR(height * 1.072f, bounds.height, 1e-3f);
    EXPECT_NEAR(30.0f + peon.viewMargin + (30.0f + peon.viewMargin + 9.6f) * 0.036f, bounds.Right(), 1e-3f);

    // A lock left behind by its finger pulls the view out to it too.
    SimulationInput input;
    input.marks.push_back(AimMark{0, 1, Vector2(-300.0f, 0.0f)});
    input.marks.push_back(AimMark{1, 1, Vector2(500.0f, 0.0f)}); // a finger: not counted
    input.marks.push_back(AimMark{0, 0, Vector2(600.0f, 0.0f)}); // not a lock: not counted
    sim->Update(SimTest::kTick, input);
    const Vexel::Rectangle withMark = sim->ComputeViewBounds();
    EXPECT_LT(withMark.x, -300.0f);
    EXPECT_LT(withMark.Right(), 100.0f);
}

TEST(SimulationCamera, ZoomsOutQuicklyAndInSlowly)
{
    const Vexel::Rectangle tight = Grown(26.4f);
    const Vexel::Rectangle wide(-300.0f, -300.0f, 600.0f, 600.0f);
    const float tightFit = 320.0f / tight.width;
    const float wideFit = 320.0f / wide.width;

    ViewFrame view(Vector2(0.0f, 0.0f), tightFit, kPhone.Size());
    float zoom = 0.0f;
    Vector2 pan;
    for (int i = 0; i < 30; i++)
        Simulation::StepCamera(view, zoom, pan, wide, kPhone);
    // A second later most of the way out.
    EXPECT_LT(view.scale - wideFit, (tightFit - wideFit) * 0.2f);

    for (int i = 0; i < 2000; i++)
        Simulation::StepCamera(view, zoom, pan, wide, kPhone);
    EXPECT_NEAR(wideFit, view.scale, 1e-3f);
    for (int i = 0; i < 30; i++)
        Simulation::StepCamera(view, zoom, pan, tight, kPhone);
    // A second later hardly on its way back in.
    EXPECT_LT(view.scale - wideFit, (tightFit - wideFit) * 0.1f);
}

TEST(SimulationCamera, VelocityAgainstItsDriveStartsFromRest)
{
    // Both bounds fit at scale 3.2; the second lies left of and above the
    // planet, so the view's position must grow in x and y.
    const Vexel::Rectangle bounds(-50.0f, -50.0f, 100.0f, 100.0f);
    const Vexel::Rectangle offCentre(-250.0f, -150.0f, 100.0f, 100.0f);

    // Zooming out (scale 4 > fit 3.2) with the velocity still zooming in;
    // the pan's x goes the right way, its y the wrong one.
    ViewFrame view(Vector2(0.0f, 0.0f), 4.0f, kPhone.Size());
    float zoom = 0.5f;
    Vector2 pan(3.0f, -2.0f);
    Simulation::StepCamera(view, zoom, pan, offCentre, kPhone);
    const float accel = (3.2f - 4.0f) * 0.12f;
    EXPECT_FLOAT_EQ(accel * 0.15f * 0.94f, zoom);
    EXPECT_FLOAT_EQ(4.0f + accel * 0.15f * 0.94f, view.scale);
    // desired = -(centre) x scale = (800, 400); scale over fit is above 1.
    const float rate = 0.0632f + 0.0008f;
    EXPECT_FLOAT_EQ(Simulation::SpringStep(3.0f, 800.0f * rate, 6.2f, 0.08f) * 0.94f, pan.x);
    EXPECT_FLOAT_EQ(Simulation::SpringStep(0.0f, 400.0f * rate, 6.2f, 0.08f) * 0.94f, pan.y);

    // Zooming in with the velocity going the same way keeps it.
    ViewFrame closer(Vector2(0.0f, 0.0f), 2.0f, kPhone.Size());
    zoom = 0.01f;
    pan = Vector2(0.0f, 0.0f);
    Simulation::StepCamera(closer, zoom, pan, bounds, kPhone);
    const float inAccel = (3.2f - 2.0f) * 0.0026f;
    EXPECT_FLOAT_EQ((0.01f + (inAccel - 0.01f) * 0.15f) * 0.94f, zoom);
}

TEST(SimulationCamera, ScaleNeverFallsBelowItsFloor)
{
    const Vexel::Rectangle bounds = Grown(26.4f);
    const Vexel::Rectangle empty(0.0f, 0.0f, 0.0f, 0.0f);
    // A zero-sized area fits nothing: the scale sinks to the floor and stays.
    ViewFrame view(Vector2(0.0f, 0.0f), 2.0f, Vector2(0.0f, 0.0f));
    float zoom = 0.0f;
    Vector2 pan;
    for (int i = 0; i < 3000; i++)
        Simulation::StepCamera(view, zoom, pan, bounds, empty);
    EXPECT_EQ(Simulation::kMinimumViewScale, view.scale);
    EXPECT_TRUE(std::isfinite(view.position.x) && std::isfinite(view.position.y));

    // A broken view (never made by the camera) starts again from rest.
    ViewFrame lost(Vector2(NAN, INFINITY), 2.0f, kPhone.Size());
    zoom = NAN;
    pan = Vector2(INFINITY, 1.0f);
    for (int i = 0; i < 6000; i++)
        Simulation::StepCamera(lost, zoom, pan, bounds, kPhone);
    EXPECT_NEAR(0.0f, lost.position.x, 1e-2f);
    EXPECT_NEAR(320.0f / bounds.width, lost.scale, 1e-3f);

    // A scale of 0 or NaN (never made by the camera) is lifted first.
    for (float bad : {0.0f, -1.0f, NAN})
    {
        ViewFrame broken(Vector2(0.0f, 0.0f), bad, kPhone.Size());
        zoom = 0.0f;
        pan = Vector2(0.0f, 0.0f);
        Simulation::StepCamera(broken, zoom, pan, bounds, kPhone);
        EXPECT_GE(broken.scale, Simulation::kMinimumViewScale) << bad;
        EXPECT_TRUE(std::isfinite(broken.position.x)) << bad;
    }
}

TEST(SimulationCamera, DrawingIntoNothingFinishes)
{
    // Scale at its floor, log2 about -10: the grid walks a bounded number of
    // levels and draws a handful of lines.
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(1);
    Vexel::Graphics::GL::Recorder recorder;
    for (int i = 0; i < 400; i++)
        sim->Draw(Vexel::Rectangle(0.0f, 0.0f, 0.0f, 0.0f), 1.0f);
    EXPECT_EQ(Simulation::kMinimumViewScale, sim->GetView().scale);
    recorder.Clear();
    sim->Draw(Vexel::Rectangle(0.0f, 0.0f, 0.0f, 0.0f), 1.0f);
    EXPECT_LE(recorder.Count("glDrawElements"), 4);
}

// The transform the world was drawn under: the recorded matrix whose scale
// is the view's.
bool FindWorldTranslation(Vexel::Graphics::GL::Recorder const& recorder, float scale, Vector2& translation)
{
    for (Vexel::Graphics::GL::Call const& call : recorder.GetCalls())
        if (call.name == "glMultMatrixf" && call.floats.size() == 16 && call.floats[0] == scale &&
            call.floats[5] == scale)
        {
            translation = Vector2(call.floats[12], call.floats[13]);
            return true;
        }
    return false;
}

TEST(SimulationCamera, ShakeMovesOneFrameNeverTheCamera)
{
    // An enemy about to land kicks the shake.
    SavedGame game;
    game.spawns.clear();
    game.spawns.push_back(SpawnRecord(60000, 0.0f, 500.0f, 0));
    game.enemies.push_back(SimTest::EnemyRecord::At(0, Vector2(0.0f, -42.0f)));
    std::unique_ptr<Simulation> drawn = SimTest::FromSave(game);
    std::unique_ptr<Simulation> stepped = SimTest::FromSave(game);
    ASSERT_NE(nullptr, drawn);
    SimTest::Ticks(*drawn, 6);
    SimTest::Ticks(*stepped, 6);
    ASSERT_LT(drawn->View().Population(), Simulation::kStartPopulation);

    Vexel::Graphics::GL::Recorder recorder;
    bool shaken = false;
    for (int i = 0; i < 20; i++)
    {
        recorder.Clear();
        drawn->Draw(kPhone, 1.0f);
        stepped->StepCamera(kPhone);
        SimTest::Ticks(*drawn, 1);
        SimTest::Ticks(*stepped, 1);
        ASSERT_EQ(stepped->GetView().position, drawn->GetView().position) << "frame " << i;
        ASSERT_EQ(stepped->GetView().scale, drawn->GetView().scale) << "frame " << i;
        Vector2 translation;
        ASSERT_TRUE(FindWorldTranslation(recorder, drawn->GetView().scale, translation));
        shaken = shaken || translation != drawn->GetView().Origin();
    }
    EXPECT_TRUE(shaken);
}

} // namespace
