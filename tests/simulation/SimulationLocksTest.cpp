// Angular target locks: creation from aims, release, gliding towards the
// nearest held lock, merging, and an id that comes back.
#include "tests/simulation/SimulationTestSupport.h"

#include <gtest/gtest.h>

using namespace SimTest;

namespace
{
std::unique_ptr<Simulation> Game()
{
    SavedGame game; // a running Classic wave without enemies
    return FromSave(game);
}

SimulationInput Aims(std::initializer_list<std::pair<const int, float>> aims)
{
    SimulationInput input;
    input.aims = std::map<int, float>(aims);
    return input;
}
} // namespace

TEST(SimulationLocks, ASecondAimGrowsOutOfTheFirstLock)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 1, Aims({{0, 0.0f}, {1, 1.0f}}));
    std::map<int, AngularLock> const& locks = sim->View().Locks();
    ASSERT_EQ(2u, locks.size());
    EXPECT_EQ(0.0f, locks.at(0).current);
    EXPECT_EQ(1, locks.at(0).heldTicks);
    // Made at the nearest held lock, one glide step on towards its aim.
    EXPECT_FLOAT_EQ(0.18f, locks.at(1).current);
    EXPECT_EQ(1.0f, locks.at(1).target);
    Ticks(*sim, 1, Aims({{0, 0.0f}, {1, 1.0f}}));
    EXPECT_FLOAT_EQ(0.36f, sim->View().Locks().at(1).current);
    EXPECT_EQ(2, sim->View().Locks().at(1).heldTicks);
    Ticks(*sim, 10, Aims({{0, 0.0f}, {1, 1.0f}}));
    EXPECT_EQ(1.0f, sim->View().Locks().at(1).current);
}

TEST(SimulationLocks, ALiftedLockGlidesBackAndMerges)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 12, Aims({{0, 0.0f}, {1, 1.0f}}));
    ASSERT_EQ(1.0f, sim->View().Locks().at(1).current);

    // Lock 1 is let go: 0.18 a tick towards lock 0, gone once within 0.08.
    std::vector<float> path;
    for (int tick = 0; tick < 10 && sim->View().Locks().size() == 2; tick++)
    {
        Ticks(*sim, 1, Aims({{0, 0.0f}}));
        if (sim->View().Locks().size() == 2)
        {
            AngularLock const& lock = sim->View().Locks().at(1);
            EXPECT_EQ(0, lock.held);
            EXPECT_EQ(0, lock.heldTicks);
            path.push_back(lock.current);
        }
    }
    ASSERT_EQ(5u, path.size());
    float expected = 1.0f;
    for (float current : path)
    {
        expected -= 0.18f;
        EXPECT_FLOAT_EQ(expected, current);
    }
    ASSERT_EQ(1u, sim->View().Locks().size());
    EXPECT_EQ(1u, sim->View().Locks().count(0));
}

TEST(SimulationLocks, ASingleFreeLockStays)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 3, Aims({{4, 2.0f}}));
    Ticks(*sim, 50);
    ASSERT_EQ(1u, sim->View().Locks().size());
    EXPECT_EQ(2.0f, sim->View().Locks().at(4).current);
}

TEST(SimulationLocks, FreeLocksWithoutAHeldOneCollapseIntoTheLowestId)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 30, Aims({{3, -2.0f}, {5, 0.5f}, {7, 2.5f}}));
    ASSERT_EQ(3u, sim->View().Locks().size());
    Ticks(*sim, 1);
    ASSERT_EQ(1u, sim->View().Locks().size());
    EXPECT_EQ(1u, sim->View().Locks().count(3));
}

TEST(SimulationLocks, AGlideTakesTheShortWayRound)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 1, Aims({{0, 3.0f}, {1, -3.0f}}));
    // From 3.0 to -3.0 is 0.28 the short way, across pi.
    AngularLock const& lock = sim->View().Locks().at(1);
    EXPECT_FLOAT_EQ(-3.0f, lock.target);
    EXPECT_NEAR(3.18f - 6.2831855f, lock.current, 1e-5f);
}

TEST(SimulationLocks, AReturningIdTakesItsOldLockBack)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 5, Aims({{0, 1.0f}}));
    Ticks(*sim, 2);
    ASSERT_EQ(0, sim->View().Locks().at(0).heldTicks);
    Ticks(*sim, 1, Aims({{0, 1.3f}}));
    ASSERT_EQ(1u, sim->View().Locks().size());
    AngularLock const& lock = sim->View().Locks().at(0);
    EXPECT_EQ(1, lock.held);
    EXPECT_EQ(1, lock.heldTicks);
    EXPECT_FLOAT_EQ(1.18f, lock.current);
    EXPECT_FLOAT_EQ(1.3f, lock.target);
}

TEST(SimulationLocks, ATouchTakesOverTheNearestFreeLock)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 5, Aims({{13, -1.0f}, {14, 1.0f}}));
    Ticks(*sim, 1, Aims({{13, -1.0f}}));
    // Lock 14 is free and gliding; a new touch near it takes it over.
    const float current = sim->View().Locks().at(14).current;
    Ticks(*sim, 1, Aims({{13, -1.0f}, {2, 1.2f}}));
    std::map<int, AngularLock> const& locks = sim->View().Locks();
    EXPECT_EQ(0u, locks.count(14));
    ASSERT_EQ(1u, locks.count(2));
    EXPECT_FLOAT_EQ(current + 0.18f, locks.at(2).current);
}

TEST(SimulationLocks, LocksAreDroppedWhenThePlanetIsLost)
{
    std::unique_ptr<Simulation> sim = Game();
    ASSERT_TRUE(sim);
    Ticks(*sim, 2, Aims({{0, 1.0f}}));
    sim->Surrender();
    Ticks(*sim, 1, Aims({{0, 1.0f}}));
    EXPECT_TRUE(sim->View().Locks().empty());
}
