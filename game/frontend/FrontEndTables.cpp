#include "game/frontend/FrontEndTables.h"

#include "engine/graphics/ReferenceTiles.h"

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
