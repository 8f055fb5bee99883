// Stand-in until the awards land: the award record, and a table that has no
// awards (every lookup answers null).
#pragma once

#include "engine/core/Event.h"

#include <cstdint>

// The three flags of a level or stage: kill, no-cannon and no-loss awards.
class Award
{
public:
    Award();
    explicit Award(int32_t value) : flags{0, 0, 0}, value(value) {}

    unsigned char flags[3];
    int value;
    Vexel::Event<> Changed;

    // The kill goal of the level or stage (0 for none).
    int32_t GetValue() const { return value; }

    // Sets flag 0..2 and tells the subscribers; other indexes do nothing.
    void SetFlag(int index);
};

class AllAwards
{
public:
    // Level 0..63 and group 0..8 (8 the full gauntlet); null here.
    static Award* GetAward(int level);
    static Award* GetGroupAward(int group);
};
