// The saved form of a game: raw little-endian fields, no padding, embedded in
// "state.sav" by the play screen. Load trusts nothing: every count is checked
// against its capacity, every enumeration against its range, every float for
// being finite, and a short read fails. A rejected saved game leaves the
// world of a new Simulation behind and is reported once.
#include "game/simulation/Simulation.h"

#include "engine/core/Log.h"
#include "game/audio/GameSounds.h"
#include "game/simulation/FireworksPiece.h"
#include "game/simulation/RawFields.h"
#include "game/simulation/SimBeamChargeLine.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

namespace
{
const int32_t kSaveVersion = 1;
const int kMaxSavedWaves = 65535;
// Bullets never leave this box nor move faster than this in a real game.
const float kMaxBulletReach = 10000.0f;
const float kMaxBulletSpeed = 100.0f;
// Enemies live within some thousand units of the planet. Finite is not
// enough: a point near the float limit overflows to infinity once a segment
// extrapolates along its leader's trail.
const float kMaxEnemyReach = 100000.0f;

bool Within(float value, float limit)
{
    return value >= -limit && value <= limit;
}

bool IsInsideTheWorld(Enemy const& enemy)
{
    if (!Within(enemy.position.x, kMaxEnemyReach) || !Within(enemy.position.y, kMaxEnemyReach) ||
        !Within(enemy.distance, kMaxEnemyReach))
        return false;
    PositionTrail const* trail = enemy.GetTrail();
    if (trail == nullptr)
        return true;
    if (!(trail->GetPhase() >= 0.0f && trail->GetPhase() <= 1.0f))
        return false;
    for (int i = 0; i < trail->GetCapacity(); i++)
    {
        const Vector2 point = trail->GetPoint(i);
        if (!Within(point.x, kMaxEnemyReach) || !Within(point.y, kMaxEnemyReach))
            return false;
    }
    return true;
}

template <class T> void WriteRaw(std::ostream& out, T const& value)
{
    out.write(reinterpret_cast<const char*>(&value), sizeof(T));
}

// Reads raw fields and remembers the first fault.
class FieldReader
{
public:
    FieldReader(std::istream& in, std::string& error) : in(in), error(error) {}

    template <class T> bool Raw(T& value, const char* what)
    {
        std::memset(&value, 0, sizeof(T));
        in.read(reinterpret_cast<char*>(&value), sizeof(T));
        if (in.gcount() != std::streamsize(sizeof(T)))
            return Fail(std::string(what) + " is cut short");
        return true;
    }

    bool Int(int32_t& value, const char* what, int64_t low, int64_t high)
    {
        if (!Raw(value, what))
            return false;
        if (value < low || value > high)
            return Fail(std::string(what) + " " + std::to_string(value) + " is out of range");
        return true;
    }

    bool Flag(uint8_t& value, const char* what)
    {
        if (!Raw(value, what))
            return false;
        if (value > 1)
            return Fail(std::string(what) + " is not 0 or 1");
        return true;
    }

    bool Float(float& value, const char* what, float low, float high)
    {
        if (!Raw(value, what))
            return false;
        if (!std::isfinite(value) || value < low || value > high)
            return Fail(std::string(what) + " is out of range");
        return true;
    }

    bool Point(Vector2& value, const char* what, float limit)
    {
        return Float(value.x, what, -limit, limit) && Float(value.y, what, -limit, limit);
    }

    bool Fail(std::string const& message)
    {
        if (error.empty())
            error = message;
        return false;
    }

private:
    std::istream& in;
    std::string& error;
};
} // namespace

void Simulation::Save(std::ostream& out) const
{
    WriteInt32(out, kSaveVersion);
    WriteRaw(out, view.position.x);
    WriteRaw(out, view.position.y);
    WriteRaw(out, view.scale);
    WriteRaw(out, paused);
    WriteRaw(out, flatWarning);
    WriteRaw(out, stepAccumulator);
    WriteRaw(out, population);
    WriteRaw(out, lossFreePopulation);
    WriteRaw(out, casualties[0]);
    WriteRaw(out, casualties[1]);
    WriteRaw(out, score);
    WriteRaw(out, multiplier);
    WriteInt32(out, kills);
    WriteInt32(out, int32_t(waveList.size()));
    for (int32_t level : waveList)
        WriteInt32(out, level);

    WriteInt32(out, waveState);
    WriteInt32(out, stateTicks);
    WriteInt32(out, waveNumber);
    WriteInt32(out, mode);
    SaveSpawnList(spawnList, out);
    WriteInt32(out, seconds);
    WriteInt32(out, secondTicks);
    WriteInt32(out, bulletCount);
    for (int i = 0; i < bulletCount; i++)
        WriteRaw(out, bullets[i]);
    WriteInt32(out, cannonCharges);
    WriteRaw(out, cannonUsed);
    WriteRaw(out, cannonFired);
    WriteRaw(out, cannonCooldown);
    WriteInt32(out, enemyCount);
    for (int i = 0; i < enemyCount; i++)
        enemies[i].Save(out);
    WriteInt32(out, followerCount);
    for (int i = 0; i < followerCount; i++)
        followers[i].Save(out);
    WriteInt32(out, blockerCount);
    for (int i = 0; i < blockerCount; i++)
        blockers[i].Save(out);
    WriteRaw(out, enemyBelowCentre);
    particles.Save(out);
    WriteRaw(out, tutorialAwaitingTap);
    WriteRaw(out, tutorialTapped);
    WriteInt32(out, tutorialWave);
    WriteInt32(out, tutorialStep);
    WriteRaw(out, tutorialPaused);
    WriteRaw(out, tutorialFinished);
    WriteRaw(out, cannonGlow.colour.r);
    WriteRaw(out, cannonGlow.colour.g);
    WriteRaw(out, cannonGlow.colour.b);
    WriteRaw(out, cannonGlow.colour.a);
    WriteRaw(out, cannonGlow.factor);
}

bool Simulation::Load(std::istream& in)
{
    std::string error;
    const std::streamoff start = in.tellg();
    if (LoadFields(in, error))
        return true;
    // A read cut short leaves the stream failed, and a failed stream tells no
    // position: ask with its state cleared, then put the state back.
    const std::ios::iostate state = in.rdstate();
    in.clear();
    std::streamoff at = in.tellg();
    in.setstate(state);
    if (at < 0 || start < 0)
        at = -1;
    else
        at -= start;
    Vexel::Log::Error("simulation", "saved game rejected near byte %lld: %s", (long long)at, error.c_str());
    ResetToFresh();
    return false;
}

// Reads the saved form over this Simulation; on failure the fields are left
// half-read and the caller resets them.
bool Simulation::LoadFields(std::istream& in, std::string& error)
{
    FieldReader read(in, error);
    int32_t version = 0;
    if (!read.Raw(version, "version"))
        return false;
    if (version != kSaveVersion)
        return read.Fail("version " + std::to_string(version) + " is not " + std::to_string(kSaveVersion));
    if (!read.Point(view.position, "view origin", 1e9f) || !read.Float(view.scale, "view scale", 0.0f, 1e9f))
        return false;
    if (!(view.scale > 0.0f))
        return read.Fail("view scale is not positive");
    if (!read.Flag(paused, "paused") || !read.Flag(flatWarning, "flat warning"))
        return false;
    // What a frame leaves over is below one tick (a float remainder can be a
    // hair negative).
    if (!read.Float(stepAccumulator, "step accumulator", -kTickSeconds, 2.0f * kTickSeconds))
        return false;
    if (!read.Raw(population, "population") || !read.Raw(lossFreePopulation, "loss-free population") ||
        !read.Raw(casualties[0], "casualties") || !read.Raw(casualties[1], "casualties") ||
        !read.Raw(score, "score") || !read.Raw(multiplier, "multiplier"))
        return false;
    if (lossFreePopulation == 0 || population > lossFreePopulation)
        return read.Fail("population exceeds the loss-free population");
    if (multiplier < 1)
        return read.Fail("multiplier is below 1");
    if (!read.Int(kills, "kills", 0, INT32_MAX))
        return false;

    int32_t waves = 0;
    if (!read.Int(waves, "wave list count", 0, kMaxSavedWaves))
        return false;
    waveList.clear();
    waveList.reserve(size_t(waves));
    for (int i = 0; i < waves; i++)
    {
        int32_t level = 0;
        if (!read.Int(level, "wave list entry", 0, 64))
            return false;
        waveList.push_back(level);
    }

    if (!read.Int(waveState, "wave state", 0, 2) || !read.Int(stateTicks, "state ticks", 0, INT32_MAX) ||
        !read.Int(waveNumber, "wave number", 0, INT32_MAX) || !read.Int(mode, "mode", GameMode::None, GameMode::Last))
        return false;
    // The end marker 64 only closes the list of a finished game; any other
    // entry names a designed level.
    for (size_t i = 0; i < waveList.size(); i++)
        if (waveList[i] == 64 && !(waveState == 2 && i + 1 == waveList.size()))
            return read.Fail("wave list holds the end marker before the end");
    std::string spawnError;
    if (!LoadSpawnList(spawnList, in, &spawnError))
        return read.Fail("spawn list: " + spawnError);
    if (!read.Int(seconds, "seconds", 0, INT32_MAX) || !read.Int(secondTicks, "second ticks", 0, 30) ||
        !read.Int(bulletCount, "bullet count", 0, kMaxBullets))
        return false;
    for (int i = 0; i < bulletCount; i++)
    {
        Bullet& bullet = bullets[i];
        if (!read.Point(bullet.position, "bullet position", kMaxBulletReach) ||
            !read.Point(bullet.velocity, "bullet velocity", kMaxBulletSpeed) ||
            !read.Float(bullet.angle, "bullet angle", -1e6f, 1e6f) ||
            !read.Int(bullet.life, "bullet life", 1, 64))
            return false;
    }

    // Locks, the cannon aim, the charge lines, the firing sound and the HUD
    // fade start from rest.
    locks.clear();
    aimMarks.clear();
    firedLocks.clear();
    cannonAim = Vector2(0.0f, 0.0f);
    cannonArmed = 0;

    if (!read.Int(cannonCharges, "cannon charges", 0, INT32_MAX) || !read.Flag(cannonUsed, "cannon used") ||
        !read.Flag(cannonFired, "cannon fired") ||
        !read.Float(cannonCooldown, "cannon cooldown", -1.0f, 1.0f))
        return false;

    for (int i = 0; i < enemyCount; i++)
        enemies[i].Clear();
    for (int i = 0; i < followerCount; i++)
        followers[i].Clear();
    for (int i = 0; i < blockerCount; i++)
        blockers[i].Clear();
    enemyCount = 0;
    followerCount = 0;
    blockerCount = 0;
    struct Pass
    {
        Enemy* array;
        int32_t* count;
        int limit;
        const char* name;
    };
    const Pass passes[3] = {{enemies, &enemyCount, kMaxEnemies, "enemy"},
                            {followers, &followerCount, kMaxFollowers, "follower"},
                            {blockers, &blockerCount, kMaxBlockers, "blocker"}};
    for (Pass const& pass : passes)
    {
        int32_t count = 0;
        if (!read.Int(count, (std::string(pass.name) + " count").c_str(), 0, pass.limit))
            return false;
        for (int i = 0; i < count; i++)
        {
            if (!pass.array[i].Load(in))
                return read.Fail(std::string(pass.name) + " " + std::to_string(i) + " is not a valid record");
            // Counted at once, so that a failure further on clears this record.
            *pass.count = i + 1;
            if (!IsInsideTheWorld(pass.array[i]))
                return read.Fail(std::string(pass.name) + " " + std::to_string(i) +
                                 " lies outside the world");
            const uint8_t leader = pass.array[i].leader;
            if (leader != 255 && leader >= kMaxEnemies)
                return read.Fail(std::string(pass.name) + " leader is out of range");
            if (pass.array == followers && leader >= enemyCount)
                return read.Fail("follower leader " + std::to_string(leader) + " is not a live enemy");
        }
    }
    if (!read.Flag(enemyBelowCentre, "enemy below centre"))
        return false;
    if (!particles.Load(in))
        return read.Fail("particles are not valid");
    hudAlpha = 0.0f;

    for (SimBeamChargeLine* line : chargeLines)
        delete line;
    chargeLines.clear();
    activeChargeLine = nullptr;

    if (!read.Flag(tutorialAwaitingTap, "tutorial awaiting tap") ||
        !read.Flag(tutorialTapped, "tutorial tapped") || !read.Int(tutorialWave, "tutorial wave", 0, 20) ||
        !read.Int(tutorialStep, "tutorial step", -1, 6) || !read.Flag(tutorialPaused, "tutorial paused") ||
        !read.Flag(tutorialFinished, "tutorial finished"))
        return false;
    if (tutorialWave != 0 && tutorialWave != 10 && tutorialWave != 20)
        return read.Fail("tutorial wave " + std::to_string(tutorialWave) + " is not 0, 10 or 20");

    if (firingSound != -1)
        GameSounds::Stop(firingSound);
    firingSound = -1;
    firingLevel = 0.0f;
    fireworksTimer = 0.0f;

    if (!read.Raw(cannonGlow.colour.r, "cannon glow") || !read.Raw(cannonGlow.colour.g, "cannon glow") ||
        !read.Raw(cannonGlow.colour.b, "cannon glow") || !read.Raw(cannonGlow.colour.a, "cannon glow") ||
        !read.Float(cannonGlow.factor, "cannon glow level", 0.0f, 0.5f))
        return false;
    return true;
}
