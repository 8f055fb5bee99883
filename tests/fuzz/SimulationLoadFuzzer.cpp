// libFuzzer target over Simulation::Load: any bytes must be refused (leaving
// the world of a new Simulation) or give a game that saves, reloads and
// saves to the same bytes, and that then runs and saves again.
#include "engine/core/Log.h"
#include "game/simulation/Simulation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace
{
// Refusals are logged once each; the fuzzer has no use for the lines.
class QuietLog : public Vexel::Log::ISink
{
public:
    void Write(Vexel::Log::Level::Enum, const char*, const char*) override {}
};

std::string SaveOf(Simulation const& sim)
{
    std::ostringstream out;
    sim.Save(out);
    return out.str();
}

bool LoadFrom(Simulation& sim, std::string const& bytes)
{
    std::istringstream in(bytes);
    return sim.Load(in);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietLog quiet;
    Vexel::Log::SetSink(&quiet);

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<Simulation> sim(new Simulation(1));
    if (!LoadFrom(*sim, bytes))
    {
        std::unique_ptr<Simulation> fresh(new Simulation(1));
        if (SaveOf(*sim) != SaveOf(*fresh))
            abort();
        return 0;
    }
    const std::string saved = SaveOf(*sim);
    std::unique_ptr<Simulation> again(new Simulation(2));
    if (!LoadFrom(*again, saved) || SaveOf(*again) != saved)
        abort();

    // The accepted game runs: a finger, a cannon shot, a continue tap.
    SimulationInput input;
    input.aims[0] = 0.7f;
    input.aims[13] = -2.0f;
    for (int tick = 0; tick < 12; tick++)
    {
        input.cannonAim = Vector2(40.0f, -60.0f);
        input.cannonHeld = tick < 6 ? 1 : 0;
        if (tick == 8)
            sim->ContinueTutorial();
        sim->Update(Simulation::kTickSeconds, input);
        sim->UpdateFiringSound(Simulation::kTickSeconds);
    }
    // What it saves now loads, or is refused, without a fault; accepted, it
    // round-trips again. (Records the loader accepts may still carry
    // behaviour speeds that no wave makes and move out of the world.)
    const std::string later = SaveOf(*sim);
    std::unique_ptr<Simulation> after(new Simulation(3));
    if (LoadFrom(*after, later) && SaveOf(*after) != later)
        abort();
    return 0;
}
