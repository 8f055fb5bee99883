// The 19 movement behaviours behind Enemy: each is a small state machine
// kept in the enemy's 16 movement bytes (byte 0 the behaviour, byte 1 the
// ticks since the last hit, the rest the behaviour's own state), with an
// initialiser fed by the kind's constants and an update run once per tick.
// Behaviours that launch other enemies append spawn requests.
#pragma once

#include "game/simulation/SpawnRequest.h"

#include <cstdint>
#include <vector>

class Enemy;

namespace Vexel
{
class Random;
}

struct MovementContext
{
    std::vector<SpawnRequest>& requests;
    Enemy const* leaders; // the array the leader index refers to, or null
    int leaderCount;
    int ownIndex;
    Vexel::Random& random;
    float speedFactor; // step / 256
    bool wholeStep;
};

// The behaviour number of a kind (0..18).
int GetKindBehaviour(int kind);

// Fills the movement bytes of a freshly placed enemy of request.kind; some
// kinds draw their mirroring or side from random.
void InitMovement(Enemy& enemy, SpawnRequest const& request, Vexel::Random& random);

// One tick of the enemy's behaviour.
void UpdateMovement(Enemy& enemy, MovementContext& context);

// A hive's brood on death: one request per unit of its spawn counter.
void RunDeathAction(Enemy& enemy, std::vector<SpawnRequest>& requests, Vexel::Random& random);

// True when the bytes could have come from InitMovement and updates: a
// known behaviour, launched kinds in the table (or none), non-zero periods
// where they divide, finite floats.
bool IsMovementValid(uint8_t const* movement);
