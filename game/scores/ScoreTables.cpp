// The tables of the game, made on first request and deleted at Shutdown.
#include "engine/core/AppEvents.h"
#include "engine/core/DateTime.h"
#include "game/scores/HighScores.h"
#include "game/scores/IScoreService.h"
#include "game/scores/ModeHighScores.h"

#include <map>

namespace HighScores
{

namespace
{
// The host of tables with no leaderboard: the wall clock and no service.
class OfflineTableHost : public IScoreTableHost
{
public:
    double Now() override { return Vexel::DateTime::Now(); }
    IScoreService* CreateService() override { return nullptr; }
};

class ScoreTables
{
public:
    // Never destroyed: tables still open at exit (no Shutdown came) must not
    // be saved from a static destructor, after the leaderboard may be gone.
    static ScoreTables& Instance()
    {
        static ScoreTables* tables = new ScoreTables();
        return *tables;
    }

    ITopScore* Get(std::map<int, ModeHighScores*>& map, int n, const char* name, int16_t modeId)
    {
        if (!watching)
            Vexel::AppEvents::Shutdown().Subscribe(Vexel::Action<>(this, &ScoreTables::OnShutdown));
        watching = true;
        ModeHighScores*& table = map[n];
        if (table == nullptr)
            table = new ModeHighScores(name, modeId, host);
        return table;
    }

    std::map<int, ModeHighScores*> stages, levels, infinite;
    OfflineTableHost offline;
    IScoreTableHost* host = &offline;

private:
    void OnShutdown()
    {
        for (std::map<int, ModeHighScores*>* map : {&stages, &levels, &infinite})
        {
            std::map<int, ModeHighScores*> tables;
            tables.swap(*map);
            for (auto& entry : tables)
                delete entry.second;
        }
    }

    bool watching = false;
};
} // namespace

void SetTableHost(IScoreTableHost* host)
{
    ScoreTables& tables = ScoreTables::Instance();
    tables.host = host != nullptr ? host : &tables.offline;
}

ITopScore* GetInfiniteScores()
{
    ScoreTables& tables = ScoreTables::Instance();
    return tables.Get(tables.infinite, 0, "infinite", InfiniteModeId);
}

ITopScore* GetLevelScores(int level)
{
    if (level < 0 || level > 63)
        return nullptr;
    ScoreTables& tables = ScoreTables::Instance();
    return tables.Get(tables.levels, level, "level", int16_t(LevelModeBase + level));
}

ITopScore* GetStageScores(int stage)
{
    if (stage < 0 || stage > 8)
        return nullptr;
    ScoreTables& tables = ScoreTables::Instance();
    return tables.Get(tables.stages, stage, "stage", int16_t(StageModeBase + stage));
}

} // namespace HighScores
