// Stand-in until the awards land: the award record, and a table that has no
// awards (every lookup answers null).
#pragma once

#include "engine/core/Event.h"

// The three flags of a level or stage: kill, no-cannon and no-loss awards.
class Award
{
public:
    Award();

    unsigned char flags[3];
    int value;
    Vexel::Event<> Changed;

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
