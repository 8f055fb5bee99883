// Plumbing for the Simulation tests: a builder of saved games (the way tests
// set up a scene without touching private fields), recorders for sounds and
// vibration, and tick helpers.
#pragma once

#include "engine/core/Platform.h"
#include "engine/core/Random.h"
#include "engine/core/VectorMath.h"
#include "game/audio/GameSounds.h"
#include "game/simulation/Enemy.h"
#include "game/simulation/Flash.h"
#include "game/simulation/RawFields.h"
#include "game/simulation/Simulation.h"
#include "game/simulation/SimulationView.h"

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace SimTest
{

const float kTick = Simulation::kTickSeconds;

template <class T> void Put(std::string& out, T const& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

inline void PutInt(std::string& out, int32_t value)
{
    Put(out, value);
}

// An enemy as Enemy::Save writes it, made from a spawn request; tests patch
// its bytes to make bad records (kind at 25, behaviour at 28, trail flag at
// 44, trail capacity at 45).
struct EnemyRecord
{
    std::string bytes;

    static EnemyRecord Make(SpawnRequest const& request, uint16_t ticks = 10, int health = -1)
    {
        Vexel::Random random(2, 99);
        Enemy enemy;
        enemy.Init(request, random);
        enemy.ticks = ticks;
        if (health >= 0)
            enemy.health = int16_t(health);
        std::ostringstream out;
        enemy.Save(out);
        return EnemyRecord{out.str()};
    }

    // An enemy of a kind at a point, facing the planet, without a leader.
    static EnemyRecord At(int kind, Vector2 position, uint16_t ticks = 10, int health = -1,
                          uint8_t leader = SpawnRequest::kNoLeader)
    {
        return Make(SpawnRequest(position, position.Angle() + Vexel::kPi, uint8_t(kind), 128, leader), ticks,
                    health);
    }
};

// A saved game with every field at the value of a running Classic game;
// tests change what their scene needs and Load it into a Simulation.
struct SavedGame
{
    int32_t version = 1;
    Vector2 viewOrigin;
    float viewScale = 2.0f;
    uint8_t paused = 0;
    uint8_t flatWarning = 0;
    float stepAccumulator = 0.0f;
    uint64_t population = Simulation::kStartPopulation;
    uint64_t lossFreePopulation = Simulation::kStartPopulation;
    uint64_t casualties[2] = {0, 0};
    uint64_t score = 0;
    int64_t multiplier = 1;
    int32_t kills = 0;
    std::vector<int32_t> waves{0};
    int32_t waveState = 1;
    int32_t stateTicks = 0;
    int32_t waveNumber = 1;
    int32_t mode = 1;
    // A record that waits far longer than any test runs keeps the wave going.
    std::vector<SpawnRecord> spawns{SpawnRecord(60000, 0.0f, 500.0f, 0)};
    int32_t seconds = 0;
    int32_t secondTicks = 30;
    std::vector<Bullet> bullets;
    int32_t cannonCharges = 3;
    uint8_t cannonUsed = 0;
    uint8_t cannonFired = 0;
    float cannonCooldown = 0.0f;
    std::vector<EnemyRecord> enemies;
    std::vector<EnemyRecord> followers;
    std::vector<EnemyRecord> blockers;
    uint8_t enemyBelowCentre = 0;
    uint8_t tutorialAwaitingTap = 0;
    uint8_t tutorialTapped = 0;
    int32_t tutorialWave = 0;
    int32_t tutorialStep = -1;
    uint8_t tutorialPaused = 0;
    uint8_t tutorialFinished = 0;
    uint8_t glow[4] = {127, 212, 255, 112};
    float glowLevel = 0.0f;
    // Counts written instead of the real ones when set (>= 0 or != -2).
    int32_t bulletCountOverride = -2;
    int32_t enemyCountOverride = -2;
    int32_t waveCountOverride = -2;

    std::string Bytes() const
    {
        std::string out;
        PutInt(out, version);
        Put(out, viewOrigin.x);
        Put(out, viewOrigin.y);
        Put(out, viewScale);
        Put(out, paused);
        Put(out, flatWarning);
        Put(out, stepAccumulator);
        Put(out, population);
        Put(out, lossFreePopulation);
        Put(out, casualties[0]);
        Put(out, casualties[1]);
        Put(out, score);
        Put(out, multiplier);
        PutInt(out, kills);
        PutInt(out, waveCountOverride != -2 ? waveCountOverride : int32_t(waves.size()));
        for (int32_t w : waves)
            PutInt(out, w);
        PutInt(out, waveState);
        PutInt(out, stateTicks);
        PutInt(out, waveNumber);
        PutInt(out, mode);
        PutInt(out, int32_t(spawns.size()));
        for (SpawnRecord const& record : spawns)
        {
            uint8_t raw[SpawnRecord::kBytes];
            record.ToBytes(raw);
            out.append(reinterpret_cast<const char*>(raw), sizeof(raw));
        }
        PutInt(out, seconds);
        PutInt(out, secondTicks);
        PutInt(out, bulletCountOverride != -2 ? bulletCountOverride : int32_t(bullets.size()));
        for (Bullet const& bullet : bullets)
            Put(out, bullet);
        PutInt(out, cannonCharges);
        Put(out, cannonUsed);
        Put(out, cannonFired);
        Put(out, cannonCooldown);
        PutInt(out, enemyCountOverride != -2 ? enemyCountOverride : int32_t(enemies.size()));
        for (EnemyRecord const& e : enemies)
            out += e.bytes;
        PutInt(out, int32_t(followers.size()));
        for (EnemyRecord const& e : followers)
            out += e.bytes;
        PutInt(out, int32_t(blockers.size()));
        for (EnemyRecord const& e : blockers)
            out += e.bytes;
        Put(out, enemyBelowCentre);
        Put(out, tutorialAwaitingTap);
        Put(out, tutorialTapped);
        PutInt(out, tutorialWave);
        PutInt(out, tutorialStep);
        Put(out, tutorialPaused);
        Put(out, tutorialFinished);
        out.append(reinterpret_cast<const char*>(glow), 4);
        Put(out, glowLevel);
        return out;
    }
};

// A still bullet at a point with some life left: it hits whatever covers the
// point on the next tick.
inline Bullet StillBullet(Vector2 position, int life = 30)
{
    Bullet bullet;
    bullet.position = position;
    bullet.life = life;
    return bullet;
}

inline std::unique_ptr<Simulation> MakeSimulation(unsigned seed = 1)
{
    return std::unique_ptr<Simulation>(new Simulation(seed));
}

inline bool LoadBytes(Simulation& sim, std::string const& bytes)
{
    std::istringstream in(bytes);
    return sim.Load(in);
}

// A Simulation holding the saved game (the load must succeed).
inline std::unique_ptr<Simulation> FromSave(SavedGame const& game, unsigned seed = 1)
{
    std::unique_ptr<Simulation> sim = MakeSimulation(seed);
    if (!LoadBytes(*sim, game.Bytes()))
        return nullptr;
    return sim;
}

inline std::string SaveBytes(Simulation const& sim)
{
    std::ostringstream out;
    sim.Save(out);
    return out.str();
}

// Runs n ticks of one frame each with the same input.
inline void Ticks(Simulation& sim, int n, SimulationInput const& input = SimulationInput())
{
    for (int i = 0; i < n; i++)
        sim.Update(kTick, input);
}

// Records every sound call in order.
class SoundRecorder : public GameSounds::IObserver
{
public:
    struct Call
    {
        char what; // 'p' play, 's' stop, 'v' volume and pitch
        int id;    // sound id for a play, handle otherwise
        float volume;
        float pitch;
    };

    SoundRecorder() : previous(GameSounds::SetObserver(this)) {}
    ~SoundRecorder() override { GameSounds::SetObserver(previous); }

    void OnPlay(int id, float volume, float pitch) override { calls.push_back(Call{'p', id, volume, pitch}); }
    void OnStop(int handle) override { calls.push_back(Call{'s', handle, 0.0f, 0.0f}); }
    void OnSetVolumeAndPitch(int handle, float volume, float pitch) override
    {
        calls.push_back(Call{'v', handle, volume, pitch});
    }

    int CountPlays(int id) const
    {
        int n = 0;
        for (Call const& c : calls)
            n += c.what == 'p' && c.id == id;
        return n;
    }

    std::vector<Call> calls;

private:
    GameSounds::IObserver* previous;
};

// Counts Vibrate calls while it lives.
class VibrationCounter
{
public:
    VibrationCounter() : previous(Vexel::Platform::SetVibrateHook(&Count)) { Counter() = 0; }
    ~VibrationCounter() { Vexel::Platform::SetVibrateHook(previous); }
    int Calls() const { return Counter(); }

private:
    static int& Counter()
    {
        static int count = 0;
        return count;
    }
    static void Count() { Counter() += 1; }
    Vexel::Platform::VibrateHook previous;
};

} // namespace SimTest
