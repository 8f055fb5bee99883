// Bullets, auto-fire, the collision passes (bullet hits, the cannon beam,
// landings), scoring and the multiplier, and the auto-fire loop's sound.
#include "game/simulation/Simulation.h"

#include "engine/core/Platform.h"
#include "game/audio/GameSounds.h"
#include "game/scores/GamePrefs.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
const float kBulletSpeed = 7.3333335f; // 22/3 units per tick
const int kBulletLife = 64;
const float kAimJitter = 0.05f;
const float kBulletStart = 47.0f;
// 64% of one tick's flight, so consecutive shots do not bunch up.
const float kBulletStartSpread = 4.6933333f;
const float kBeamHalfWidth = 45.0f;
const float kBlastRadius = 102.0f;
const float kFiringLevel = 0.65f;
const int kFiringSoundId = 7;
} // namespace

// Ages the bullets and compacts the array first, then moves every survivor
// and files it in the tree under its final index: an index in the tree
// always names the bullet at that slot when the collision passes run.
void Simulation::MoveBullets()
{
    for (int i = bulletCount - 1; i >= 0; i--)
    {
        bullets[i].life -= 1;
        if (bullets[i].life < 1)
        {
            bulletCount -= 1;
            if (i != bulletCount)
                bullets[i] = bullets[bulletCount];
        }
    }
    for (int i = 0; i < bulletCount; i++)
    {
        bullets[i].position += bullets[i].velocity;
        bulletTree.Insert(bullets[i].position, uint8_t(i));
    }
}

bool Simulation::IsLockFired(int id) const
{
    return std::binary_search(firedLocks.begin(), firedLocks.end(), id);
}

void Simulation::MarkLockFired(int id)
{
    auto at = std::lower_bound(firedLocks.begin(), firedLocks.end(), id);
    if (at == firedLocks.end() || *at != id)
        firedLocks.insert(at, id);
}

// One shot per tick at the next lock in turn.
void Simulation::FireAtLocks()
{
    const bool noEnemies = enemyCount == 0 && followerCount == 0 && blockerCount == 0;
    const bool anyLock = !locks.empty();
    const bool tutorialDemo = anyLock && cannonArmed == 0 && mode == GameMode::Tutorial && tutorialStep == 2;
    const bool playing = anyLock && !noEnemies && population != 0 && cannonArmed == 0;
    // The tutorial's cannon step holds fire while the cannon has shots.
    const bool heldBack = mode == GameMode::Tutorial && tutorialStep == 3 && cannonCharges > 0;
    if (!(tutorialDemo || playing) || heldBack)
        return;

    firingLevel = kFiringLevel;
    if (bulletCount >= kMaxBullets)
        return;
    auto lock = locks.begin();
    while (lock != locks.end() && IsLockFired(lock->first))
        ++lock;
    if (lock == locks.end())
    {
        firedLocks.clear();
        lock = locks.begin();
    }
    const float angle = lock->second.current + random.NextFloat(-kAimJitter, kAimJitter);
    const float start = kBulletStart + random.NextFloat(0.0f, kBulletStartSpread);
    const Vector2 direction(-sinf(angle), cosf(angle));
    Bullet& bullet = bullets[bulletCount];
    bullet.velocity = direction * kBulletSpeed;
    bullet.position = direction * start;
    bullet.angle = angle;
    bullet.life = kBulletLife;
    bulletTree.Insert(bullet.position, uint8_t(bulletCount));
    bulletCount += 1;
    MarkLockFired(lock->first);
}

// One pass over an enemy array, from the last enemy down, so that an enemy
// moved into a freed slot (it comes from the end) is not processed twice.
// The pass over `enemies` records moves and deaths (moveMap, deadLeaderSet);
// the follower pass hands the leaders' array to the behaviours.
void Simulation::CollideEnemies(Enemy* array, Enemy* leaderArray, int32_t& count, ByteMap* moveMap,
                                ByteSet* deadLeaderSet)
{
    const Vector2 dir = cannonAim.Normalized();
    const Vector2 perp = dir.Perpendicular();
    ByteSet found;
    for (int index = count - 1; index >= 0; index--)
    {
        Enemy& enemy = array[index];
        EnemyType const& type = enemy.GetType();
        bool hit = false;

        // Bullets, once the enemy has faded in for a few steps.
        if (enemy.ticks > 4)
        {
            found.clear();
            bulletTree.Query(enemy.position, type.maxHalfExtent, found);
            for (uint8_t b : found)
            {
                if (usedBullets.contains(b) || !enemy.HitTest(bullets[b].position))
                    continue;
                enemy.health = int16_t(enemy.health - 10);
                particles.AddHitFlash(bullets[b].position);
                usedBullets.insert(b); // each bullet hits one enemy
                hit = true;
            }
        }

        // The cannon beam, and the blast around the planet, behind it too.
        if (cannonFired != 0)
        {
            cannonUsed = 1;
            const float along = enemy.position.x * dir.x + enemy.position.y * dir.y;
            const float across = enemy.position.x * perp.x + enemy.position.y * perp.y;
            const bool inBeam = along > 0.0f && fabsf(across) < type.maxHalfExtent + kBeamHalfWidth;
            const bool inBlast = enemy.position.Length() - type.halfExtent.y < kBlastRadius;
            if (inBeam || inBlast)
            {
                enemy.health = BeamStrikeHealth(enemy.health, type.hitPoints);
                hit = true;
            }
        }

        if (hit)
            particles.AddHitDebris(enemy.position, enemy.rotation, type.halfExtent, type.faction,
                                   type.sparkStyle != 0);

        if (enemy.HasLanded())
        {
            enemy.health = 0;
            const uint64_t loss = type.populationLoss;
            // Kinds that never land on their own cost nothing and leave no mark.
            if (loss != 0)
                particles.AddPlanetImpact(enemy.position, enemy.distance, loss);
            if (population != 0)
            {
                multiplier = multiplier * 3 / 4;
                if (multiplier <= 0)
                    multiplier = 1;
                if (mode != GameMode::None && GamePrefs::GetVibration())
                    Vexel::Platform::Vibrate();
                const int faction = int(type.faction & 1);
                if (population > loss)
                {
                    casualties[faction] += loss;
                    population -= loss;
                }
                else
                {
                    casualties[faction] += population;
                    population = 0;
                }
                // The tutorial's planet cannot die.
                if (mode == GameMode::Tutorial && population == 0)
                    population = 1;
                shake.KickLanding();
            }
        }

        if (enemy.health > 0)
        {
            enemy.Update(requests, leaderArray, leaderArray != nullptr ? enemyCount : 0, index, particles,
                         hit, random);
            if (enemy.position.y > 0.0f)
                enemyBelowCentre = 1;
        }

        if (enemy.health >= 1)
            continue;

        // Death: quieter behind the menus and after a lost game.
        const float volume = (population == 0 || mode == GameMode::None) ? 0.52f : 1.0f;
        GameSounds::Play(int(type.deathSound), volume, 1.0f);
        if (hit && population != 0)
        {
            kills += 1;
            score += uint64_t(multiplier) * uint64_t(type.points);
            // The step is a 32-bit product, sign-extended.
            multiplier += int64_t(int32_t(int64_t(waveNumber) * int64_t(type.multiplierStep)));
        }
        enemy.Kill(particles, requests, random);

        count -= 1;
        if (index != count)
        {
            // The last record moves into the hole and takes its trail along.
            array[index] = std::move(array[count]);
            if (moveMap != nullptr)
            {
                if (moveMap->contains(count))
                {
                    moveMap->set(uint8_t(index), moveMap->at(count));
                    moveMap->erase(uint8_t(count));
                }
                else
                {
                    moveMap->set(uint8_t(index), uint8_t(count));
                }
            }
        }
        if (deadLeaderSet != nullptr)
            deadLeaderSet->insert(uint8_t(index));
    }
}

void Simulation::RemoveUsedBullets()
{
    for (int b = usedBullets.PreviousFrom(255); b >= 0; b = b > 0 ? usedBullets.PreviousFrom(b - 1) : -1)
    {
        bulletCount -= 1;
        bullets[b] = bullets[bulletCount];
    }
}

void Simulation::UpdateFiringSound(float dt)
{
    if (firingLevel > 0.01f)
    {
        if (firingSound == -1)
            firingSound = GameSounds::Play(kFiringSoundId, firingLevel, 0.9f);
        if (firingSound != -1)
            GameSounds::SetVolumeAndPitch(firingSound, firingLevel, 0.9f);
        firingLevel -= dt * 1.75f;
    }
    else
    {
        firingLevel = 0.0f;
        if (firingSound != -1)
        {
            GameSounds::Stop(firingSound);
            firingSound = -1;
        }
    }
}
