// Writes saved games of every mode, up to a few hundred ticks in, into the folder
// given as the last argument (made when missing): the seeds of the
// Simulation::Load fuzzer.
#include "engine/core/Log.h"
#include "game/simulation/Simulation.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        Vexel::Log::Error("fuzz", "usage: make_simulation_seeds <folder>");
        return 2;
    }
    const std::string folder = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (int mode = 0; mode < 8; mode++)
    {
        Simulation sim(100 + unsigned(mode));
        if (mode == 7)
            sim.StartTutorial(0);
        else if (mode >= 3)
            sim.StartGameAtLevel(mode == 5 ? 40 : 35, mode, 1);
        else if (mode != 0)
            sim.StartGame(mode, 1);
        // The fuzzer reads at most 4096 bytes: keep the latest saved game
        // that fits, every 25 ticks up to 400.
        std::string kept;
        SimulationInput input;
        for (int tick = 0; tick < 400; tick++)
        {
            input.aims[0] = -3.0f + 0.015f * float(tick);
            input.cannonAim = Vector2(0.0f, 80.0f);
            input.cannonHeld = tick % 100 < 90 ? 1 : 0;
            sim.Update(Simulation::kTickSeconds, input);
            if (tick % 25 != 24)
                continue;
            std::ostringstream saved;
            sim.Save(saved);
            if (saved.str().size() <= 4000)
                kept = saved.str();
        }
        std::ofstream out(folder + "/mode" + std::to_string(mode) + ".sav", std::ios::binary);
        out << kept;
        if (!out)
        {
            Vexel::Log::Error("fuzz", "\"%s\" cannot be written", folder.c_str());
            return 1;
        }
    }
    return 0;
}
