// A read-only look into a Simulation for tests, tools and benchmarks: the
// counters, the arrays and the locks, without reaching into private fields.
// It holds a reference: it lives no longer than the Simulation.
#pragma once

#include "game/simulation/Simulation.h"

class SimulationView
{
public:
    explicit SimulationView(Simulation const& simulation) : sim(simulation) {}

    uint64_t Population() const { return sim.population; }
    uint64_t LossFreePopulation() const { return sim.lossFreePopulation; }
    uint64_t Casualties(int faction) const { return sim.casualties[faction & 1]; }
    uint64_t Score() const { return sim.score; }
    int64_t Multiplier() const { return sim.multiplier; }
    int Kills() const { return sim.kills; }
    int Seconds() const { return sim.seconds; }

    int Mode() const { return sim.mode; }
    int WaveNumber() const { return sim.waveNumber; }
    int WaveState() const { return sim.waveState; }
    int StateTicks() const { return sim.stateTicks; }
    WaveList const& Waves() const { return sim.waveList; }
    SpawnList const& Spawns() const { return sim.spawnList; }
    float StepAccumulator() const { return sim.stepAccumulator; }

    int CannonCharges() const { return sim.cannonCharges; }
    float CannonCooldown() const { return sim.cannonCooldown; }
    bool CannonArmed() const { return sim.cannonArmed != 0; }
    bool CannonFired() const { return sim.cannonFired != 0; }
    bool CannonUsed() const { return sim.cannonUsed != 0; }
    Vector2 CannonAim() const { return sim.cannonAim; }
    float CannonGlowLevel() const { return sim.cannonGlow.factor; }
    int ChargeLineCount() const { return int(sim.chargeLines.size()); }

    int EnemyCount() const { return sim.enemyCount; }
    int FollowerCount() const { return sim.followerCount; }
    int BlockerCount() const { return sim.blockerCount; }
    Enemy const& GetEnemy(int index) const { return sim.enemies[index]; }
    Enemy const& GetFollower(int index) const { return sim.followers[index]; }
    Enemy const& GetBlocker(int index) const { return sim.blockers[index]; }
    bool EnemyBelowCentre() const { return sim.enemyBelowCentre != 0; }

    int BulletCount() const { return sim.bulletCount; }
    Bullet const& GetBullet(int index) const { return sim.bullets[index]; }
    ParticleSystem const& Particles() const { return sim.particles; }
    int FireworksCount() const { return int(sim.fireworks.size()); }

    std::map<int, AngularLock> const& Locks() const { return sim.locks; }
    std::vector<AimMark> const& AimMarks() const { return sim.aimMarks; }
    float FiringLevel() const { return sim.firingLevel; }

    int TutorialStep() const { return sim.tutorialStep; }
    int TutorialWave() const { return sim.tutorialWave; }
    bool TutorialAwaitingTap() const { return sim.tutorialAwaitingTap != 0; }
    bool TutorialFinished() const { return sim.tutorialFinished != 0; }

    ViewFrame const& View() const { return sim.view; }
    bool Paused() const { return sim.paused != 0; }

private:
    Simulation const& sim;
};
