// Construction, game start and end, and the results the front end reads.
#include "game/simulation/Simulation.h"

#include "engine/core/DateTime.h"
#include "engine/core/Platform.h"
#include "game/scores/Awards.h"
#include "game/simulation/FireworksPiece.h"
#include "game/simulation/SimBeamChargeLine.h"
#include "game/simulation/SimulationView.h"

#include <algorithm>

namespace
{
// Added to each faction's losses by a surrender: the planet burns heavily.
const uint64_t kSurrenderCasualties = 38127471282ull;
const Color kCannonGlowColour(127, 212, 255, 112);

unsigned ClockSeed()
{
    return unsigned(Vexel::DateTime::ToInt64(Vexel::DateTime::Now()));
}
} // namespace

int16_t BeamStrikeHealth(int16_t health, int16_t hitPoints)
{
    return int16_t(int(health) - int(hitPoints) / 2 - 500);
}

Simulation::Simulation() : Simulation(ClockSeed()) {}

Simulation::Simulation(unsigned seedValue)
    : view(Vector2(0.0f, 0.0f), float(Vexel::Platform::GetScreenWidth()) / 160.0f,
           Vexel::Platform::GetScreenSize()),
      seed(seedValue), random(2, seedValue), bulletTree(kMaxBullets)
{
    Initialise();
    waveList.reserve(64);
    firedLocks.reserve(32);
    requests.reserve(64);
    waveRequests.reserve(16);
    discardedRequests.reserve(64);
    BuildWaveList(spawnList, mode, waveNumber, tutorialWave, &random, waveList, kNoDesignedLevel);
    AddTint(&cannonGlow);
}

Simulation::~Simulation()
{
    RemoveTint(&cannonGlow);
    for (FireworksPiece* piece : fireworks)
        delete piece;
    for (SimBeamChargeLine* line : chargeLines)
        delete line;
}

// The constructor's values of every field but the generator and the view.
void Simulation::Initialise()
{
    paused = 0;
    flatWarning = 0;
    stepAccumulator = 0.0f;
    population = kStartPopulation;
    lossFreePopulation = kStartPopulation;
    casualties[0] = 0;
    casualties[1] = 0;
    score = 0;
    multiplier = 1;
    kills = 0;
    waveList.clear();
    waveState = 0;
    stateTicks = 0;
    waveNumber = 1;
    mode = GameMode::None;
    ClearSpawnList(spawnList);
    seconds = 0;
    secondTicks = 0;
    bulletCount = 0;
    locks.clear();
    aimMarks.clear();
    firedLocks.clear();
    cannonAim = Vector2(0.0f, 0.0f);
    cannonArmed = 0;
    cannonCharges = 0;
    cannonUsed = 0;
    cannonFired = 0;
    cannonCooldown = 0.0f;
    enemyCount = 0;
    followerCount = 0;
    blockerCount = 0;
    enemyBelowCentre = 0;
    hudScale = float(Vexel::Platform::GetScreenWidth()) / 320.0f;
    hudAlpha = 0.0f;
    zoomVelocity = 0.0f;
    panVelocity = Vector2(0.0f, 0.0f);
    activeChargeLine = nullptr;
    tutorialAwaitingTap = 0;
    tutorialTapped = 0;
    tutorialWave = 0;
    tutorialStep = -1;
    tutorialPaused = 0;
    tutorialFinished = 0;
    firingSound = -1;
    firingLevel = 0.0f;
    fireworksTimer = 0.0f;
    cannonGlow.colour = kCannonGlowColour;
    cannonGlow.factor = 0.0f;
}

// What a rejected saved game leaves behind: the world of a new Simulation
// built with the same seed (the cannon glow stays registered).
void Simulation::ResetToFresh()
{
    for (int i = 0; i < kMaxEnemies; i++)
        enemies[i].Clear();
    for (int i = 0; i < kMaxFollowers; i++)
        followers[i].Clear();
    for (int i = 0; i < kBlockerSlots; i++)
        blockers[i].Clear();
    for (FireworksPiece* piece : fireworks)
        delete piece;
    fireworks.clear();
    for (SimBeamChargeLine* line : chargeLines)
        delete line;
    chargeLines.clear();
    Initialise();
    view = ViewFrame(Vector2(0.0f, 0.0f), float(Vexel::Platform::GetScreenWidth()) / 160.0f,
                     Vexel::Platform::GetScreenSize());
    random.Seed(seed);
    BuildWaveList(spawnList, mode, waveNumber, tutorialWave, &random, waveList, kNoDesignedLevel);
}

// Kills everything on the field with its death effects; the spawn requests
// the dying make are thrown away.
void Simulation::KillAllEnemies()
{
    discardedRequests.clear();
    for (int i = 0; i < enemyCount; i++)
        enemies[i].Kill(particles, discardedRequests, random);
    for (int i = 0; i < followerCount; i++)
        followers[i].Kill(particles, discardedRequests, random);
    for (int i = 0; i < blockerCount; i++)
        blockers[i].Kill(particles, discardedRequests, random);
    discardedRequests.clear();
    enemyCount = 0;
    followerCount = 0;
    blockerCount = 0;
}

void Simulation::StartGameAtLevel(int levelIndex, int gameMode, int firstWave)
{
    tutorialFinished = 0;
    KillAllEnemies();
    bulletCount = 0;
    ClearSpawnList(spawnList);
    lossFreePopulation = kStartPopulation;
    population = kStartPopulation;
    casualties[0] = 0;
    casualties[1] = 0;
    score = 0;
    multiplier = 1;
    kills = 0;
    stepAccumulator = 0.0f;
    cannonCharges = 3;
    cannonUsed = 0;
    seconds = 0;
    secondTicks = 30;
    waveList.clear();
    mode = gameMode;
    waveNumber = firstWave;
    BuildWaveList(spawnList, mode, waveNumber, tutorialWave, &random, waveList, levelIndex);
    waveState = 0;
    if (hud)
        hud->waveStarted();
    stateTicks = 0;
}

void Simulation::StartGame(int gameMode, int firstWave)
{
    StartGameAtLevel(64, gameMode, firstWave);
}

void Simulation::Surrender()
{
    population = 0;
    casualties[0] += kSurrenderCasualties;
    casualties[1] += kSurrenderCasualties;
}

void Simulation::SetPaused(bool isPaused, bool byPlayer)
{
    paused = isPaused ? 1 : 0;
    if (isPaused && byPlayer)
        tutorialPaused = 1;
}

void Simulation::SetFlatWarning(bool flat)
{
    flatWarning = flat ? 1 : 0;
}

Vector2 Simulation::ScreenToWorld(Vector2 point) const
{
    return view.Inverse(point);
}

Vector2 Simulation::WorldToScreen(Vector2 point) const
{
    return view.Apply(point);
}

bool Simulation::IsGameOver() const
{
    return population == 0 || waveState == 2;
}

bool Simulation::IsGauntletWon() const
{
    return (mode == GameMode::GauntletStage || mode == GameMode::FullGauntlet) && IsGameOver() && population != 0;
}

HighScores::ITopScore* Simulation::GetHighScores() const
{
    switch (mode)
    {
    case GameMode::Classic:
    case GameMode::Quickstart:
        return HighScores::GetInfiniteScores();
    case GameMode::Level:
        return waveList.empty() ? nullptr : HighScores::GetLevelScores(waveList[0]);
    case GameMode::GauntletStage:
        return waveList.empty() ? nullptr : HighScores::GetStageScores(waveList[0] / 8);
    case GameMode::FullGauntlet:
        return HighScores::GetStageScores(8);
    default:
        return nullptr;
    }
}

Award* Simulation::GetAward() const
{
    switch (mode)
    {
    case GameMode::Level:
        return waveList.empty() ? nullptr : AllAwards::GetAward(waveList[0]);
    case GameMode::GauntletStage:
        return waveList.empty() ? nullptr : AllAwards::GetGroupAward(waveList[0] / 8);
    case GameMode::FullGauntlet:
        return AllAwards::GetGroupAward(8);
    default:
        return nullptr;
    }
}

HighScores::ScoreStats Simulation::GetScoreEntry() const
{
    HighScores::ScoreStats stats;
    const int waves = int(waveList.size());
    stats.score = int64_t(score);
    stats.kills = kills;
    stats.lastWaveIndex = waves - 1;
    stats.extraWaves = uint8_t(std::min(std::max(waveNumber - waves, 0), 255));
    stats.seconds = seconds;
    return stats;
}

SimulationView Simulation::View() const
{
    return SimulationView(*this);
}
