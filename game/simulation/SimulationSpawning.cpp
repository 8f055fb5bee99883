// Carrying out spawn requests, keeping followers bound to their leaders while
// the leader array is reordered, the smoke of a planet that lost people, and
// the fireworks over a won gauntlet.
#include "game/simulation/Simulation.h"

#include "game/simulation/FireworksPiece.h"

namespace
{
const uint8_t kNoLeader = 255;
// Smoke puffs per tick at most: far beyond any real loss, it only keeps an
// absurd loss ratio from looping without end.
const float kMaxSmokeRate = 32.0f;
} // namespace

// Requests before presentFrom come from the pass over `enemies` and name
// leaders by their index at the start of the tick: children of a leader that
// died are dropped and the others follow their leader's move. Later requests
// (made by followers and blockers) already name present indexes: they are
// dropped only when that leader is gone.
void Simulation::CarryOutSpawnRequests(std::vector<SpawnRequest> const& list, size_t presentFrom,
                                       ByteSet const& deadLeaderSet, ByteMap const& movedMap)
{
    for (size_t i = 0; i < list.size(); i++)
    {
        SpawnRequest request = list[i];
        if (i < presentFrom)
        {
            if (request.leader != kNoLeader && deadLeaderSet.contains(request.leader))
                continue;
            if (movedMap.contains(request.leader))
                request.leader = movedMap.at(request.leader);
        }
        else if (request.leader != kNoLeader &&
                 (request.leader >= enemyCount || enemies[request.leader].health < 1))
        {
            continue;
        }

        Enemy* array;
        int32_t* count;
        int limit;
        if (request.leader < kMaxEnemies)
        {
            array = followers;
            count = &followerCount;
            limit = kMaxFollowers;
        }
        else if (EnemyType::Get(request.kind).blocker != 0)
        {
            array = blockers;
            count = &blockerCount;
            limit = kMaxBlockers;
        }
        else
        {
            array = enemies;
            count = &enemyCount;
            limit = kMaxEnemies;
        }
        // A full array drops the request.
        if (*count < limit)
        {
            array[*count].Init(request, random);
            *count += 1;
        }
    }
}

void Simulation::RebindFollowers()
{
    for (int i = 0; i < followerCount; i++)
    {
        Enemy& follower = followers[i];
        const uint8_t leader = follower.leader;
        if (deadLeaders.contains(leader))
        {
            follower.health = 0;
            continue;
        }
        if (moved.contains(leader))
            follower.leader = moved.at(leader);
        if (!(follower.leader < enemyCount && enemies[follower.leader].health > 0))
            follower.health = 0;
    }
}

void Simulation::UpdateSmoke()
{
    for (int faction = 0; faction < 2; faction++)
    {
        const float ratio = float(casualties[faction]) / float(lossFreePopulation);
        if (!(ratio > 0.01f))
            continue;
        float k = ratio * 0.24f;
        if (k > kMaxSmokeRate)
            k = kMaxSmokeRate;
        while (k > 0.0f)
        {
            if (k >= 1.0f || random.NextFloat(0.0f, 1.0f) < k)
                particles.AddPlanetSmoke(faction, 16.0f, 38.0f, 47.0f);
            k -= 1.0f;
        }
    }
}

void Simulation::UpdateFireworks()
{
    if (!IsGauntletWon())
    {
        fireworksTimer = 0.0f;
        for (FireworksPiece* piece : fireworks)
            delete piece;
        fireworks.clear();
        return;
    }
    fireworksTimer -= kTickSeconds;
    if (fireworksTimer <= 0.0f)
    {
        fireworks.push_back(new FireworksPiece(random));
        const float a = random.NextFloat(1.0f, 2.0f);
        const float b = random.NextFloat(1.0f, 3.0f);
        fireworksTimer = a * b * 0.132f;
    }
    size_t kept = 0;
    for (size_t i = 0; i < fireworks.size(); i++)
    {
        fireworks[i]->Update(particles);
        if (fireworks[i]->IsDone())
            delete fireworks[i];
        else
            fireworks[kept++] = fireworks[i];
    }
    fireworks.resize(kept);
}
