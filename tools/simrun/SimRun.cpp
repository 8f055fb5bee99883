#include "tools/simrun/SimRun.h"

#include "engine/core/HashBytes.h"
#include "engine/core/Log.h"
#include "game/simulation/DesignedLevels.h"
#include "game/simulation/GameMode.h"
#include "engine/core/VectorMath.h"
#include "game/simulation/Simulation.h"
#include "game/simulation/SimulationView.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

namespace
{
using Vexel::kPi;
using Vexel::kTwoPi;

bool ParseInt(const char* text, long long low, long long high, long long& value)
{
    if (text == nullptr || *text == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    value = strtoll(text, &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool ParseFloat(std::string const& text, float& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = strtof(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

struct Command
{
    enum Kind
    {
        Aim,
        Spin,
        Release,
        Cannon,
        CannonUp,
        Continue,
        Pause,
        Resume
    };
    int tick;
    Kind kind;
    int id;
    float a;
    float b;
};

bool ReadScript(std::string const& path, std::vector<Command>& commands)
{
    std::ifstream in(path);
    if (!in)
    {
        Vexel::Log::Error("simrun", "\"%s\" cannot be opened", path.c_str());
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line))
    {
        number++;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string tickText, name;
        if (!(words >> tickText))
            continue;
        words >> name;
        std::vector<std::string> args;
        std::string arg;
        while (words >> arg)
            args.push_back(arg);

        Command command{};
        long long tick = 0;
        long long id = 0;
        bool ok = ParseInt(tickText.c_str(), 0, 100000000, tick);
        command.tick = int(tick);
        const size_t want = name == "aim"       ? 2
                            : name == "spin"    ? 3
                            : name == "release" ? 1
                            : name == "cannon"  ? 2
                                                : 0;
        ok = ok && args.size() == want;
        if (ok && name == "aim")
        {
            command.kind = Command::Aim;
            ok = ParseInt(args[0].c_str(), 0, 1000000, id) && ParseFloat(args[1], command.a);
        }
        else if (ok && name == "spin")
        {
            command.kind = Command::Spin;
            ok = ParseInt(args[0].c_str(), 0, 1000000, id) && ParseFloat(args[1], command.a) &&
                 ParseFloat(args[2], command.b);
        }
        else if (ok && name == "release")
        {
            command.kind = Command::Release;
            ok = ParseInt(args[0].c_str(), 0, 1000000, id);
        }
        else if (ok && name == "cannon")
        {
            command.kind = Command::Cannon;
            ok = ParseFloat(args[0], command.a) && ParseFloat(args[1], command.b);
        }
        else if (ok && name == "cannon-up")
            command.kind = Command::CannonUp;
        else if (ok && name == "continue")
            command.kind = Command::Continue;
        else if (ok && name == "pause")
            command.kind = Command::Pause;
        else if (ok && name == "resume")
            command.kind = Command::Resume;
        else
            ok = false;
        if (!ok)
        {
            Vexel::Log::Error("simrun", "\"%s\" line %d is not a command: %s", path.c_str(), number,
                              line.c_str());
            return false;
        }
        command.id = int(id);
        commands.push_back(command);
    }
    // Stable: commands of one tick keep their order.
    std::stable_sort(commands.begin(), commands.end(),
                     [](Command const& x, Command const& y) { return x.tick < y.tick; });
    return true;
}

struct AimState
{
    float angle;
    float rate;
    int since;
};

// Into [-pi, pi] by whole turns, as the play screen's angles are; bounded,
// so that an absurd script cannot hang the run.
float WrapAngle(float angle)
{
    for (int i = 0; i < 1000 && angle > kPi; i++)
        angle -= kTwoPi;
    for (int i = 0; i < 1000 && angle < -kPi; i++)
        angle += kTwoPi;
    return angle;
}

void StartMode(Simulation& sim, SimRunOptions const& options)
{
    const int level = options.level;
    switch (options.mode)
    {
    case GameMode::Classic:
    case GameMode::Quickstart:
        sim.StartGame(options.mode, options.wave);
        break;
    case GameMode::Level:
    case GameMode::Practice:
    case GameMode::GauntletStage:
    case GameMode::FullGauntlet:
        sim.StartGameAtLevel(level, options.mode, 1);
        break;
    case GameMode::Tutorial:
        sim.StartTutorial(0);
        break;
    default:
        break; // GameMode::None: the world behind the menus, as built
    }
}

void WriteLine(std::ostream& out, int tick, Simulation const& sim)
{
    std::ostringstream saved;
    sim.Save(saved);
    const std::string bytes = saved.str();
    const uint32_t hash = HashBytes(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
    SimulationView view(sim);
    char line[320];
    snprintf(line, sizeof(line),
             "%d %08" PRIx32 " pop=%" PRIu64 " score=%" PRIu64 " mult=%" PRId64
             " kills=%d wave=%d state=%d enemies=%d followers=%d blockers=%d bullets=%d particles=%d "
             "charges=%d locks=%d step=%d",
             tick, hash, view.Population(), view.Score(), view.Multiplier(), view.Kills(), view.WaveNumber(),
             view.WaveState(), view.EnemyCount(), view.FollowerCount(), view.BlockerCount(),
             view.BulletCount(), view.Particles().GetLiveCount(), view.CannonCharges(),
             int(view.Locks().size()), view.TutorialStep());
    out << line << '\n';
}
} // namespace

bool ParseSimRunArguments(int argc, char const* const* argv, SimRunOptions& options, std::string& error)
{
    bool haveSeed = false, haveMode = false, haveLevel = false;
    for (int i = 1; i < argc; i++)
    {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long long number = 0;
        if (name == "--seed" && ParseInt(value, 0, UINT32_MAX, number))
        {
            options.seed = unsigned(number);
            haveSeed = true;
        }
        else if (name == "--mode" && ParseInt(value, GameMode::None, GameMode::Last, number))
        {
            options.mode = int(number);
            haveMode = true;
        }
        else if (name == "--level")
        {
            if (!ParseInt(value, 0, kDesignedLevelCount - 1, number))
            {
                error = std::string("--level ") + (value != nullptr ? value : "without a value") +
                        " is not a level: levels are 0 to " + std::to_string(kDesignedLevelCount - 1);
                return false;
            }
            options.level = int(number);
            haveLevel = true;
        }
        else if (name == "--wave" && ParseInt(value, 0, 1000000, number))
            options.wave = int(number);
        else if (name == "--ticks" && ParseInt(value, 0, 100000000, number))
            options.ticks = int(number);
        else if (name == "--every" && ParseInt(value, 1, 100000000, number))
            options.every = int(number);
        else if (name == "--script" && value != nullptr)
            options.scriptPath = value;
        else if (name == "--load" && value != nullptr)
            options.loadPath = value;
        else if (name == "--save-at" && ParseInt(value, 0, 100000000, number) && i + 2 < argc)
        {
            options.saveAt = int(number);
            options.savePath = argv[i + 2];
            i++;
        }
        else
        {
            error = "bad argument \"" + name + "\"" + (value != nullptr ? std::string(" ") + value : "");
            return false;
        }
        i++;
    }
    if (!haveSeed || !haveMode)
    {
        error = "--seed and --mode are required";
        return false;
    }
    if (GameMode::StartsAtLevel(options.mode) && !haveLevel)
    {
        error = "mode " + std::to_string(options.mode) + " needs --level, a level from 0 to " +
                std::to_string(kDesignedLevelCount - 1);
        return false;
    }
    return true;
}

int RunSimulation(SimRunOptions const& options, std::ostream& out)
{
    std::vector<Command> commands;
    if (!options.scriptPath.empty() && !ReadScript(options.scriptPath, commands))
        return 1;

    Simulation sim(options.seed);
    if (!options.loadPath.empty())
    {
        std::ifstream in(options.loadPath, std::ios::binary);
        if (!in)
        {
            Vexel::Log::Error("simrun", "\"%s\" cannot be opened", options.loadPath.c_str());
            return 1;
        }
        if (!sim.Load(in))
            return 1;
    }
    else
    {
        StartMode(sim, options);
    }

    const float dt = Simulation::kTickSeconds;
    std::map<int, AimState> aims;
    Vector2 cannonPoint;
    bool cannonHeld = false;
    bool paused = false;
    size_t next = 0;
    WriteLine(out, 0, sim);
    for (int tick = 1; tick <= options.ticks; tick++)
    {
        bool tap = false;
        for (; next < commands.size() && commands[next].tick <= tick; next++)
        {
            Command const& c = commands[next];
            switch (c.kind)
            {
            case Command::Aim:
                aims[c.id] = AimState{c.a, 0.0f, tick};
                break;
            case Command::Spin:
                aims[c.id] = AimState{c.a, c.b, tick};
                break;
            case Command::Release:
                aims.erase(c.id);
                break;
            case Command::Cannon:
                cannonPoint = Vector2(c.a, c.b);
                cannonHeld = true;
                break;
            case Command::CannonUp:
                cannonHeld = false;
                break;
            case Command::Continue:
                tap = true;
                break;
            case Command::Pause:
                paused = true;
                break;
            case Command::Resume:
                paused = false;
                break;
            }
        }
        sim.SetPaused(paused, paused);
        if (tap)
            sim.ContinueTutorial();
        if (!paused)
        {
            SimulationInput input;
            for (auto const& aim : aims)
            {
                const float turned = aim.second.rate * float(tick - aim.second.since);
                input.aims[aim.first] = WrapAngle(aim.second.angle + turned);
            }
            input.cannonAim = cannonPoint;
            // As on the play screen, the tutorial keeps the cannon locked
            // outside its cannon step.
            input.cannonHeld = cannonHeld && !sim.IsCannonLockedByTutorial() ? 1 : 0;
            sim.Update(dt, input);
        }
        sim.UpdateFiringSound(dt);

        if (tick == options.saveAt)
        {
            std::ofstream file(options.savePath, std::ios::binary | std::ios::trunc);
            sim.Save(file);
            if (!file)
            {
                Vexel::Log::Error("simrun", "\"%s\" cannot be written", options.savePath.c_str());
                return 1;
            }
        }
        if (tick % options.every == 0 || tick == options.ticks)
            WriteLine(out, tick, sim);
    }

    const HighScores::ScoreStats entry = sim.GetScoreEntry();
    char line[200];
    snprintf(line, sizeof(line), "entry score=%" PRId64 " kills=%d lastWaveIndex=%d extraWaves=%d seconds=%d",
             entry.score, entry.kills, entry.lastWaveIndex, int(entry.extraWaves), entry.seconds);
    out << line << '\n';
    return 0;
}
