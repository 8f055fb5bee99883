#include "game/scores/HighScores.h"

namespace HighScores
{

ITopScore* GetInfiniteScores()
{
    return nullptr;
}
ITopScore* GetLevelScores(int /*level*/)
{
    return nullptr;
}
ITopScore* GetStageScores(int /*stage*/)
{
    return nullptr;
}

} // namespace HighScores
