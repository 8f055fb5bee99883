// The 55 enemy kinds: every fixed property of an enemy (size, hit points,
// score, the population it destroys on landing, trail, faction, death
// sound) lives here; an enemy record keeps only its kind number. Kinds 0-24
// are Red (faction 0), 25-51 Green (faction 1), 52-54 the targets.
//
// The derived fields are computed once from the given ones and never
// change. The table is built on first use, so static initialisers elsewhere
// may read it.
#pragma once

#include "engine/core/Vector2.h"

#include <cstdint>

class EnemyType
{
public:
    static constexpr int kCount = 55;

    // The record of a kind. Callers pass 0..54; anything else reads kind 0
    // rather than past the table.
    static EnemyType const& Get(int kind);

    EnemyType(const char* name, uint32_t populationLoss, uint16_t points, uint16_t multiplierStep,
              uint16_t bodyTile, Vector2 size, float radiusFactor, int16_t hitPoints, uint8_t trailLength,
              uint16_t trailTile, float trailWidth, uint8_t blocker, uint32_t faction, uint8_t debris,
              uint8_t sparkStyle, uint32_t deathSound);

    uint32_t populationLoss; // people lost when one lands; 0 for kinds that never land on their own
    uint16_t points;         // score of a kill, times the multiplier
    uint16_t multiplierStep; // added to the multiplier per kill (times the wave)
    Vector2 size;            // drawn size in pixels
    // Derived from size and the radius factor.
    Vector2 inverseHalfExtent; // infinite for a zero-sized kind: it is never hit
    Vector2 halfExtent;        // the hit ellipse's half axes
    float maxHalfExtent;       // radius of the bullet query around the enemy
    float viewMargin;          // halfExtent.y, + 14 from 750 hit points up
    float viewSpan;            // 2 x viewMargin
    float landingInset;        // halfExtent.y: landed when distance - inset < 40
    int16_t hitPoints;
    uint8_t trailLength; // 0, or the points of the position trail (6, 12 or 20)
    uint8_t blocker;     // 1: lives in the blocker list
    uint8_t debris;      // 1: the death explosion throws sparks
    uint8_t sparkStyle;  // 1: wide hit debris, sparser explosion
    uint16_t bodyTile;   // tile numbers of the game's tile table
    uint16_t trailTile;
    float trailWidth;
    const char* name;
    uint32_t faction;    // 0 Red, 1 Green; indexes the casualty counters
    uint32_t deathSound; // GameSounds id: 0 small, 1 heavy, 2 boss, 3 medium
};
