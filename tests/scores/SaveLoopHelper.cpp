// Saves one kind of file over and over until killed, so that a test can kill
// it at random moments and then inspect what is on disk. The save folder
// comes from XDG_DATA_HOME.
//   scores_save_loop prefs|awards|scores <saves>
//   scores_save_loop deviceid
//   scores_save_loop start      (reads every file as a start does, then ends)
#include "engine/platform/PlatformLibrary.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/ModeHighScores.h"
#include "tests/scores/SaveLoopContent.h"

#include <cstdlib>
#include <cstring>

namespace
{
class OfflineHost : public IScoreTableHost
{
public:
    double Now() override { return 1.0e9; }
    IScoreService* CreateService() override { return nullptr; }
};
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const int saves = argc > 2 ? atoi(argv[2]) : 0;
    if (strcmp(argv[1], "prefs") == 0)
    {
        for (int i = 1; i <= saves; i++)
        {
            GamePrefs::SetStartingWave(i);
            GamePrefs::SetPlayerName(SaveLoopContent::NameFor(i));
            GamePrefs::Save();
        }
        return 0;
    }
    if (strcmp(argv[1], "awards") == 0)
    {
        // Flags in a fixed order: whatever survives must be a prefix of it.
        for (int step = 0; step < SaveLoopContent::AwardSteps && step < saves; step++)
        {
            const int award = step / 3;
            Award* target = award < 64 ? AllAwards::GetAward(award) : AllAwards::GetGroupAward(award - 64);
            target->SetFlag(step % 3);
        }
        return 0;
    }
    if (strcmp(argv[1], "scores") == 0)
    {
        OfflineHost host;
        ModeHighScores table("level", 1007, &host);
        for (int i = 1; i <= saves; i++)
        {
            HighScores::ScoreStats stats;
            stats.score = i;
            stats.kills = i;
            table.AddScore(stats, SaveLoopContent::NameFor(i));
        }
        return 0;
    }
    if (strcmp(argv[1], "start") == 0)
    {
        GamePrefs::GetStartingWave();
        AllAwards::GetAward(0);
        OfflineHost host;
        ModeHighScores table("level", 1007, &host);
        char id[65];
        return PDL_GetUniqueID(id, sizeof(id)) == PDL_NOERROR ? 0 : 1;
    }
    if (strcmp(argv[1], "deviceid") == 0)
    {
        char id[65];
        if (PDL_GetUniqueID(id, sizeof(id)) != PDL_NOERROR)
            return 1;
        return 0;
    }
    return 2;
}
