// The world of one game: the planet and its population, score and
// multiplier, the waves, bullets, the three enemy arrays, the angular target
// locks, the planet cannon, the tutorial and the effects.
//
// The play screen owns one Simulation for the whole run of the program. It is
// built in GameMode::None (no game: a trickle of enemies drifts in behind the menus
// and lands), restarted for every game, and advanced in whole ticks of 1/30 s
// by Update. Everything the game logic draws at random comes from its own
// MT19937 in a fixed order, so equal seeds and equal inputs give equal games
// (simrun relies on this for replays). Main thread only.
//
// The game modes are GameMode's; mode fields and arguments hold its numbers,
// as the saved form does.
//
// Draw and the drawing of the world's parts live in draw/, a library of its
// own and the only one of the world that reaches GL; the fields they need
// (camera springs, star field, HUD state) are kept here.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Random.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/VertexFormat.h"
#include "game/scores/HighScores.h"
#include "game/simulation/AngularLock.h"
#include "game/simulation/Bullet.h"
#include "game/simulation/ByteMap.h"
#include "game/simulation/ByteSet.h"
#include "game/simulation/Enemy.h"
#include "game/simulation/SpawnRequest.h"
#include "game/simulation/KDTree.h"
#include "game/simulation/ParticleSystem.h"
#include "game/simulation/Flash.h"
#include "game/simulation/GameMode.h"
#include "game/simulation/ScreenShake.h"
#include "game/simulation/SimulationHud.h"
#include "game/simulation/SimulationInput.h"
#include "game/simulation/StarField.h"
#include "game/simulation/SpawnList.h"
#include "game/simulation/ViewFrame.h"
#include "game/simulation/WaveList.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Award;
class FireworksPiece;
class SimBeamChargeLine;
class SimulationView;

// A beam strike's damage in the enemy's own 16-bit health arithmetic:
// health - hitPoints / 2 - 500.
int16_t BeamStrikeHealth(int16_t health, int16_t hitPoints);

class Simulation
{
public:
    static constexpr int kMaxBullets = 128;
    static constexpr int kMaxEnemies = 160;
    static constexpr int kMaxFollowers = 128;
    static constexpr int kMaxBlockers = 64;
    static constexpr int kBlockerSlots = 128;
    static constexpr uint64_t kStartPopulation = 6838751032ull;
    // One tick in seconds, as the float the tick loop divides by.
    static constexpr float kTickSeconds = 1.0f / 30.0f;

    // Seeded from the clock's whole seconds.
    Simulation();
    explicit Simulation(unsigned seed);
    virtual ~Simulation();
    Simulation(Simulation const&) = delete;
    Simulation& operator=(Simulation const&) = delete;

    // Game control (the front end).
    // levelIndex 0..63 starts on a designed level, 64 means none.
    void StartGameAtLevel(int levelIndex, int mode, int waveNumber);
    void StartGame(int mode, int waveNumber);
    void StartTutorial(int step);
    // Empties the population: the game is lost and the planet burns.
    void Surrender();
    void SetPaused(bool paused, bool byPlayer);
    void SetFlatWarning(bool flat);

    // Runs as many whole ticks as dt and the carried remainder make.
    void Update(float dt, SimulationInput const& input);
    // The auto-fire loop's sound; once per frame, also while paused.
    void UpdateFiringSound(float dt);

    Vector2 ScreenToWorld(Vector2 point) const;
    Vector2 WorldToScreen(Vector2 point) const;

    // Tutorial (GameMode::Tutorial).
    bool IsCannonLockedByTutorial() const;
    bool IsPlanetTapBlocked() const { return false; }
    bool IsTutorialFinished() const;
    bool IsWaitingForTap() const;
    void ContinueTutorial();

    // Results, read when a game ends and by the HUD.
    bool IsGameOver() const;
    int GetMode() const { return mode; }
    bool HasPopulation() const { return population != 0; }
    bool HasUsedCannon() const { return cannonUsed != 0; }
    bool HasLostPopulation() const { return population != lossFreePopulation; }
    bool IsGauntletWon() const;
    HighScores::ITopScore* GetHighScores() const;
    Award* GetAward() const;
    HighScores::ScoreStats GetScoreEntry() const;

    // The saved form (raw little-endian, version 1). Load is meant for a
    // freshly built Simulation and trusts nothing: on any fault it leaves a
    // fresh GameMode::None world, logs one line and returns false.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    // Read-only accessors for tests and tools.
    SimulationView View() const;

    // Drawing (draw/SimulationDraw.cpp, the camera in SimulationCamera.cpp).
    // Renders the world and the HUD into the area once per frame, behind the
    // menus as in play, and moves the self-framing camera one step first.
    void Draw(Vexel::Rectangle const& area, float alpha);
    // The world rectangle the camera wants in view: the planet, every enemy
    // with its margin and the lock marks, grown 3.6% on every side.
    Vexel::Rectangle ComputeViewBounds() const;
    // current + clamp((target - current) x rate, -maxStep, maxStep).
    static float SpringStep(float current, float target, float maxStep, float rate);
    // One step of the camera springs towards bounds (world units) shown in
    // an area of the screen. No GL: touch mapping and tests use it headless.
    // The scale never drops below kMinimumViewScale.
    static void StepCamera(ViewFrame& view, float& zoomVelocity, Vector2& panVelocity,
                           Vexel::Rectangle const& bounds, Vexel::Rectangle const& area);
    // Draw's camera step: the view takes the area's half size, then the
    // springs move towards ComputeViewBounds.
    void StepCamera(Vexel::Rectangle const& area);
    static constexpr float kMinimumViewScale = 1e-3f;
    ViewFrame const& GetView() const { return view; }
    float GetZoomVelocity() const { return zoomVelocity; }
    Vector2 GetPanVelocity() const { return panVelocity; }

    // The HUD, owned; null shows none (tools and tests).
    void SetHud(std::unique_ptr<ISimulationHud> newHud);
    ISimulationHud* GetHud() const { return hud.get(); }
    float GetHudAlpha() const { return hudAlpha; }
    StarField const& GetStars() const { return stars; }

private:
    friend class SimulationView;

    void Initialise();

    void DrawGrid(Vexel::Rectangle const& area, ViewFrame const& frame, Color colour);
    void DrawHud(Vexel::Rectangle const& area, Color colour);
    void DrawTrails(Color colour);
    void ResetToFresh();
    void KillAllEnemies();
    bool LoadFields(std::istream& in, std::string& error);

    // One tick and its steps, in order.
    void Tick(SimulationInput const& input);
    void UpdateInput(SimulationInput const& input, float tickSeconds);
    void UpdateCannon(SimulationInput const& input, float tickSeconds);
    void GlideLocks();
    void UpdateWaves();
    void GrowPopulation();
    void MoveBullets();
    void FireAtLocks();
    void CollideEnemies(Enemy* array, Enemy* leaderArray, int32_t& count, ByteMap* moveMap,
                        ByteSet* deadLeaderSet);
    void RemoveUsedBullets();
    void CarryOutSpawnRequests(std::vector<SpawnRequest> const& list, size_t presentFrom,
                               ByteSet const& deadLeaderSet, ByteMap const& movedMap);
    void RebindFollowers();
    void UpdateSmoke();
    void UpdateFireworks();
    bool UpdateTutorialStep(bool waveDone);

    float NearestHeldLockAngle(float angle) const;
    bool FindNearestFreeLock(float angle, int& id, bool onlyFree) const;
    bool IsLockFired(int id) const;
    void MarkLockFired(int id);

    // View, pause and flat warning (the play screen's).
    ViewFrame view;
    uint8_t paused;
    uint8_t flatWarning;

    unsigned seed;
    Vexel::Random random;

    // All world and HUD drawing goes through this one batch.
    Vexel::Graphics::Sprites::TransientBatch spriteBatch{512};
    // Stars drawn behind the world; seeded from the game's seed so that a
    // replay shows the same sky (they never touch the game's generator).
    StarField stars{0.4f, seed};
    float stepAccumulator;

    uint64_t population;
    uint64_t lossFreePopulation;
    uint64_t casualties[2]; // by faction: 0 Red, 1 Green
    uint64_t score;
    int64_t multiplier;
    int32_t kills;

    WaveList waveList;
    int32_t waveState; // 0 intermission, 1 running, 2 finished
    int32_t stateTicks;
    int32_t waveNumber;
    int32_t mode;
    SpawnList spawnList;
    int32_t seconds;
    int32_t secondTicks;

    Bullet bullets[kMaxBullets];
    int32_t bulletCount;

    std::map<int, AngularLock> locks;
    std::vector<AimMark> aimMarks;
    // Ids of the locks that had their shot in this round of auto-fire, sorted
    // (a set; kept in a reserved vector so that firing allocates nothing).
    std::vector<int> firedLocks;

    Vector2 cannonAim;
    uint8_t cannonArmed;
    int32_t cannonCharges;
    uint8_t cannonUsed;
    uint8_t cannonFired;
    float cannonCooldown;

    Enemy enemies[kMaxEnemies];
    int32_t enemyCount;
    Enemy followers[kMaxFollowers];
    int32_t followerCount;
    Enemy blockers[kBlockerSlots];
    int32_t blockerCount;
    uint8_t enemyBelowCentre;

    ParticleSystem particles;

    // Drawing state for the play screen: HUD scale and fade, camera springs.
    float hudScale;
    float hudAlpha;
    std::unique_ptr<ISimulationHud> hud;
    float zoomVelocity;
    Vector2 panVelocity;
    // The enemies whose trails are drawn this frame, and the trails' strip
    // storage; kept between frames only for their capacity.
    std::vector<Enemy const*> drawnTrails;
    std::vector<Vexel::Graphics::Geometry::VertexP2T2C> trailVertices;
    std::vector<uint16_t> trailIndices;

    // Owned; in creation order, so that updates (and their sounds) come in
    // the same order on every run.
    std::vector<SimBeamChargeLine*> chargeLines;
    SimBeamChargeLine* activeChargeLine;

    uint8_t tutorialAwaitingTap;
    uint8_t tutorialTapped;
    int32_t tutorialWave;
    int32_t tutorialStep;
    uint8_t tutorialPaused;
    uint8_t tutorialFinished;

    int32_t firingSound;
    float firingLevel;

    float fireworksTimer;
    // Owned; in creation order (the order decides only which particles come
    // first, but replays must not depend on heap addresses).
    std::vector<FireworksPiece*> fireworks;

    FlashTint cannonGlow;
    ScreenShake shake;

    // Per-tick scratch, kept between ticks only for its storage.
    KDTree<unsigned char, 5> bulletTree;
    std::vector<SpawnRequest> requests;
    std::vector<SpawnRequest> waveRequests;
    std::vector<SpawnRequest> discardedRequests;
    ByteSet usedBullets;
    ByteSet deadLeaders;
    ByteMap moves; // present index -> index at the start of the tick
    ByteMap moved; // index at the start of the tick -> present index
    // Always empty: the wave state machine's requests have no dead leaders
    // and no moves.
    ByteSet noDeadLeaders;
    ByteMap noMoves;
};
