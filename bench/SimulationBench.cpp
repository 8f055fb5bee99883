// The simulation's tick under load: designed levels 51, 29, 35 and 54 and a
// Classic game, each 5,000 ticks with eight turning aims firing all the
// time. Per scene: ticks per second, median and worst tick, the peak counts
// of enemies, followers, blockers, bullets and particles, heap allocations
// per tick (counted by the replaced operator new below) and the games played
// (a game that ends starts again, so that every tick is one of play). Each
// scene runs three times; the least disturbed run is shown.
//
// Goal: a median tick under 1% of the 33.3 ms frame (0.33 ms) and the worst
// under 3% (1 ms).
#include "bench/BenchSupport.h"
#include "game/simulation/Simulation.h"
#include "game/simulation/SimulationView.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <time.h>
#include <vector>

namespace
{
using Vexel::kTwoPi;
using Vexel::Bench::Milliseconds;
using Vexel::Bench::ThreadCpuMs;
using Vexel::Bench::WrapAngle;
std::atomic<uint64_t> allocations{0};
} // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    std::abort(); // a benchmark has no use for running out of memory
}

void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
const int kTicks = 5000;

struct Scene
{
    const char* name;
    int mode;
    int level;
};

struct Result
{
    double ticksPerSecond;
    double medianMs; // wall clock
    double worstMs;
    double cpuMedianMs; // this thread's CPU time: without the time the
    double cpuWorstMs;  // scheduler gave to other processes
    int peakEnemies, peakFollowers, peakBlockers, peakBullets, peakParticles;
    double allocationsPerTick;
    int games;
};

void Start(Simulation& sim, Scene const& scene)
{
    if (scene.mode == 1)
        sim.StartGame(1, 1);
    else
        sim.StartGameAtLevel(scene.level, scene.mode, 1);
}

Result Run(Scene const& scene)
{
    Simulation sim(12345);
    Start(sim, scene);

    Result result{};
    result.games = 1;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    times.reserve(kTicks);
    cpuTimes.reserve(kTicks);
    SimulationInput input;
    uint64_t allocated = 0;
    for (int tick = 0; tick < kTicks; tick++)
    {
        // A game that ends (the planet lost, the level won) starts again, so
        // that every tick is one of play.
        if (sim.IsGameOver())
        {
            Start(sim, scene);
            result.games += 1;
        }
        // Eight fingers turning together; the input is built outside the
        // timed part, like the play screen's.
        for (int id = 0; id < 8; id++)
            input.aims[id] = WrapAngle(0.013f * float(tick) + kTwoPi * float(id) / 8.0f);
        const uint64_t before = allocations.load(std::memory_order_relaxed);
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        sim.Update(Simulation::kTickSeconds, input);
        const auto end = std::chrono::steady_clock::now();
        cpuTimes.push_back(ThreadCpuMs() - cpuStart);
        allocated += allocations.load(std::memory_order_relaxed) - before;
        times.push_back(Milliseconds(end - start));

        SimulationView view = sim.View();
        result.peakEnemies = std::max(result.peakEnemies, view.EnemyCount());
        result.peakFollowers = std::max(result.peakFollowers, view.FollowerCount());
        result.peakBlockers = std::max(result.peakBlockers, view.BlockerCount());
        result.peakBullets = std::max(result.peakBullets, view.BulletCount());
        result.peakParticles = std::max(result.peakParticles, view.Particles().GetLiveCount());
    }
    double total = 0.0;
    for (double t : times)
        total += t;
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    result.cpuMedianMs = cpuTimes[cpuTimes.size() / 2];
    result.cpuWorstMs = cpuTimes.back();
    result.ticksPerSecond = total > 0.0 ? 1000.0 * kTicks / total : 0.0;
    result.medianMs = times[times.size() / 2];
    result.worstMs = times.back();
    result.allocationsPerTick = double(allocated) / kTicks;
    return result;
}
} // namespace

int main()
{
    const Scene scenes[] = {
        {"level 51", 3, 51}, {"level 29", 3, 29}, {"level 35", 3, 35},
        {"level 54", 3, 54}, {"classic", 1, 64},
    };
    std::cout << "                    wall clock ms     thread CPU ms     peak counts\n"
                 "scene      ticks/s  median   worst    median   worst  enemies followers blockers bullets "
                 "particles  allocs/tick games\n";
    for (Scene const& scene : scenes)
    {
        // The game is the same on every run; only the machine's other work
        // differs. Of three runs the one least disturbed (smallest worst
        // CPU tick) is shown.
        Result r = Run(scene);
        for (int run = 1; run < 3; run++)
        {
            const Result again = Run(scene);
            if (again.cpuWorstMs < r.cpuWorstMs)
                r = again;
        }
        char line[240];
        snprintf(line, sizeof(line), "%-9s %8.0f %7.4f %7.4f   %7.4f %7.4f  %7d %9d %8d %7d %9d  %11.3f %5d",
                 scene.name, r.ticksPerSecond, r.medianMs, r.worstMs, r.cpuMedianMs, r.cpuWorstMs,
                 r.peakEnemies, r.peakFollowers, r.peakBlockers, r.peakBullets, r.peakParticles,
                 r.allocationsPerTick, r.games);
        std::cout << line << '\n';
    }
    return 0;
}
