// Writes "state.sav" files into the folder given as the last argument (made
// when missing): a finished state, and resumable ones with a running
// Classic game, the tutorial and a lost level's results: the seeds of the
// state file fuzzer.
#include "engine/core/Log.h"
#include "game/simulation/Simulation.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
template <class T> void Put(std::string& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

std::string StateFile(std::vector<int32_t> const& pages, Simulation const& sim, int32_t track)
{
    std::string b;
    Put<int32_t>(b, 3);
    Put<uint8_t>(b, 1);
    Put<int32_t>(b, int32_t(pages.size()));
    for (int32_t page : pages)
        Put(b, page);
    Put<int32_t>(b, pages.back());
    Put<int32_t>(b, 35);
    Put<int32_t>(b, 8);
    b += std::string("\x01\x00\x01", 3);
    Put<int64_t>(b, 98765);
    Put<int32_t>(b, 321);
    Put<int32_t>(b, 7);
    Put<uint8_t>(b, 2);
    b += std::string(3, '\0');
    Put<int32_t>(b, 754);
    std::ostringstream game;
    sim.Save(game);
    b += game.str();
    Put<float>(b, 0.5f);
    Put<float>(b, -2.0f);
    Put<int32_t>(b, track);
    Put<uint8_t>(b, 1);
    Put<float>(b, 2.0f);
    Put<int32_t>(b, 0);
    Put<uint8_t>(b, 1);
    return b;
}

void Played(Simulation& sim, int ticks)
{
    SimulationInput input;
    for (int tick = 0; tick < ticks; tick++)
    {
        input.aims[0] = -2.0f + 0.02f * float(tick);
        sim.Update(Simulation::kTickSeconds, input);
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        Vexel::Log::Error("fuzz", "usage: make_state_seeds <folder>");
        return 2;
    }
    const std::string folder = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back("finished.sav", std::string("\x03\x00\x00\x00\x00", 5));
    {
        Simulation sim(5);
        sim.StartGame(1, 1);
        Played(sim, 90);
        files.emplace_back("classic.sav", StateFile({1, 9, 2}, sim, 1));
    }
    {
        Simulation sim(6);
        sim.StartTutorial(0);
        Played(sim, 30);
        files.emplace_back("tutorial.sav", StateFile({1, 2, 23}, sim, 2));
    }
    {
        Simulation sim(7);
        sim.StartGameAtLevel(35, 3, 1);
        Played(sim, 60);
        sim.Surrender();
        Played(sim, 5);
        files.emplace_back("results.sav", StateFile({1, 11, 16, 20, 4}, sim, 0));
    }
    for (auto const& file : files)
    {
        std::ofstream out(folder + "/" + file.first, std::ios::binary);
        out << file.second;
        if (!out)
        {
            Vexel::Log::Error("fuzz", "\"%s\" cannot be written", folder.c_str());
            return 1;
        }
    }
    return 0;
}
