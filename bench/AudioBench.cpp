// Two figures of the audio engine, printed as text (run by hand):
// - the time to load all nine of the game's effects (what their first play
//   does first: read and check each WAV file and make its instances), on
//   SDL's dummy driver, repeated to show both the first and a warm load;
// - the CPU time of SDL's mixer thread while eight looping voices resample
//   at different pitches for 10 s of audio, on the disk driver paced at
//   about real time (SDL_DISKAUDIODELAY=23 ms per 1024 frames, written to
//   /dev/null), as a share of one core. The main thread sleeps meanwhile,
//   so the process's CPU time less the main thread's is the mixer thread's.
#include "bench/BenchSupport.h"
#include "engine/audio/AudioDevice.h"
#include "engine/audio/Effect.h"
#include "engine/audio/EffectImpl.h"
#include "engine/audio/SoundEffects.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Thread.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace Vexel::Audio;

namespace
{
using Vexel::Bench::CpuSeconds;
using Vexel::Bench::Milliseconds;

struct Row
{
    const char* name;
    int instances;
    bool loop;
};

// The game's nine sounds with their instance counts.
const Row kRows[9] = {
    {"explosion_rcq1", 4, false},
    {"explosion_rcq2", 4, false},
    {"explosion_rcq5", 3, false},
    {"explosion_rcq4", 3, false},
    {"explosion_rcq0", 3, false},
    {"beam_charge", 2, true},
    {"beam_fire__81103__Pellwick__Blast_Revisited", 1, false},
    {"laserfire", 1, true},
    {"sfx_menubeep", 2, false},
};

std::string DataFile(const char* name)
{
    return std::string(VEXEL_DATA_DIR) + "/" + name;
}

void MeasureLoad()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoundEffects::Initialize(8, true);
    if (!SoundEffects::IsActive())
    {
        std::printf("load: no audio device\n");
        return;
    }
    const int repeats = 20;
    std::vector<double> times;
    for (int repeat = 0; repeat < repeats; ++repeat)
    {
        std::vector<std::unique_ptr<Effect>> effects;
        for (Row const& row : kRows)
            effects.emplace_back(new Effect(DataFile(row.name), row.instances, 1.0f, 50, row.loop, 0));
        const auto start = std::chrono::steady_clock::now();
        for (auto& effect : effects)
            if (!effect->GetImpl()->Load())
                std::printf("load: %s did not load\n", effect->GetName().c_str());
        const auto end = std::chrono::steady_clock::now();
        times.push_back(Milliseconds(end - start));
        effects.clear();
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("load all nine effects: first %.3f ms, median %.3f ms, min %.3f ms over %d runs\n", first,
                times[times.size() / 2], times.front(), repeats);
    SoundEffects::SetEnabled(false);
}

void MeasureMixerThread()
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "23", 1);
    SoundEffects::SetEnabled(true);
    if (!SoundEffects::IsActive())
    {
        std::printf("mixer: the disk driver could not be opened\n");
        return;
    }
    Effect voices(DataFile("beam_charge"), 8, 1.0f, 50, true, 1);
    for (int i = 0; i < 8; ++i)
        if (voices.Play(0.8f, 0.6f + 0.15f * float(i)) == -1)
            std::printf("mixer: voice %d did not play\n", i);
    const int seconds = 10;
    const double processBefore = CpuSeconds(RUSAGE_SELF);
    const double mainBefore = CpuSeconds(RUSAGE_THREAD);
    const auto start = std::chrono::steady_clock::now();
    // Frames keep the effects layer's refresh running, as in the game.
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds))
    {
        Vexel::FrameEvents::Updating.Raise(1.0f / 30.0f);
        Vexel::Threading::Thread::Sleep(33);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double mixer = (CpuSeconds(RUSAGE_SELF) - processBefore) - (CpuSeconds(RUSAGE_THREAD) - mainBefore);
    std::printf("mixer thread, 8 looping voices resampling: %.3f s CPU over %.2f s = %.2f%% of one core "
                "(playing %d)\n",
                mixer, wall, 100.0 * mixer / wall, voices.GetPlayingCount());
    SoundEffects::Shutdown();
}

} // namespace

int main()
{
    MeasureLoad();
    MeasureMixerThread();
    return 0;
}
