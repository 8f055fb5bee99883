// The constant tables the menu pages index: the title-bar styles, the
// Gauntlet stages' first levels, grid order and pictures, and the level
// pictures (the page table is pages/PageTable.h). Tile pointers come from the
// tile table and live for the run.
#pragma once

#include "engine/core/Color.h"

#include <cstdint>

struct TileInfo;

// Title-bar tile and title colour of a title kind 0..2 (tiles 185, 184, 183).
TileInfo const* TitleBarTile(int kind);
extern const Color TitleBarColors[3];

// The first designed level of each Gauntlet stage.
extern const int32_t StageStart[8];
// Which stage stands in each cell of the Gauntlet grids, in reading order.
extern const int32_t GridOrder[9];

// Stage pictures by stage 0..8 (8 the full Gauntlet): tiles 169..176, 168.
TileInfo const* GauntletTile(int stage);
// Level pictures by level 0..63: tile 89 + level.
TileInfo const* LevelTile(int level);
// Any tile of the tile table by number (null out of range).
TileInfo const* MenuTile(int id);
