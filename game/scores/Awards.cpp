#include "game/scores/Awards.h"

Award::Award() : flags{0, 0, 0}, value(0) {}

void Award::SetFlag(int index)
{
    if (index < 0 || index > 2 || flags[index] != 0)
        return;
    flags[index] = 1;
    Changed.Raise();
}

Award* AllAwards::GetAward(int /*level*/)
{
    return nullptr;
}

Award* AllAwards::GetGroupAward(int /*group*/)
{
    return nullptr;
}
