#include "game/frontend/FrontEndTables.h"

#include "engine/graphics/ReferenceTiles.h"

const PageTableEntry PageTable[44] = {
    {4, nullptr},                // 0: no page
    {2, "Cobalt Keep"},          // 1: the title menu
    {4, nullptr},                // 2: a game running
    {4, nullptr},                // 3: results, planet alive
    {4, nullptr},                // 4: results, planet lost
    {2, "Name Entry"},           // 5
    {0, "Leaderboard"},          // 6
    {0, "Device Too Flat"},      // 7
    {2, "Quickstart Mode"},      // 8
    {2, "Classic Mode"},         // 9
    {2, "Gauntlet"},             // 10
    {2, "Select a Stage"},       // 11
    {0, "Stage: Chaos"},         // 12
    {0, "Stage: Order"},         // 13
    {1, "Stage: Vanguard"},      // 14
    {1, "Stage: Tactical"},      // 15
    {0, "Stage: Flanked"},       // 16
    {0, "Stage: Swarm"},         // 17
    {1, "Stage: Horde"},         // 18
    {0, "Stage: Ganked"},        // 19
    {0, "Selected Level"},       // 20
    {0, "Gauntlet Stage"},       // 21
    {0, "Surrender?"},           // 22
    {2, "Game Options"},         // 23
    {0, "Tilt Calibration"},     // 24
    {2, "Audio Options"},        // 25
    {2, "Vibration"},            // 26
    {2, "Control Options"},      // 27
    {2, "Information"},          // 28
    {2, "Know Your Enemy"},      // 29
    {2, "Score Keeping"},        // 30
    {2, "Achievements"},         // 31
    {2, "Shooting"},             // 32
    {2, "Lock Tactics"},         // 33
    {2, "Planet Cannon"},        // 34
    {2, "General Strategy"},     // 35
    {2, "How Many??"},           // 36
    {2, "Basic Enemies"},        // 37
    {2, "Spawners"},             // 38
    {2, "Landers"},              // 39
    {2, "Builders"},             // 40
    {2, "Bosses"},               // 41
    {2, "Spawner Bosses"},       // 42
    {2, "Strategy Tips"},        // 43
};

const Color TitleBarColors[3] = {
    Color(255, 127, 127, 255),
    Color(127, 255, 212, 255),
    Color(127, 212, 255, 255),
};

const int32_t StageStart[8] = {0, 8, 16, 24, 32, 40, 48, 56};
const int32_t GridOrder[9] = {0, 1, 5, 2, 3, 6, 4, 7, 8};

TileInfo const* MenuTile(int id)
{
    if (id < 0)
        return nullptr;
    return Vexel::Graphics::GetReferenceTiles().GetTile(uint32_t(id));
}

TileInfo const* TitleBarTile(int kind)
{
    // Kinds count down the tile table.
    return kind >= 0 && kind < 3 ? MenuTile(185 - kind) : nullptr;
}

TileInfo const* GauntletTile(int stage)
{
    if (stage == 8)
        return MenuTile(168);
    return stage >= 0 && stage < 8 ? MenuTile(169 + stage) : nullptr;
}

TileInfo const* LevelTile(int level)
{
    return level >= 0 && level < 64 ? MenuTile(89 + level) : nullptr;
}
