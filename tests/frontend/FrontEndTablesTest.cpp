// The front end's constant tables, layout metrics, stream helpers and the
// "More Games!" address rule.
#include "engine/graphics/ReferenceTiles.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/pages/PageTable.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/MoreGames.h"
#include "game/frontend/StreamHelpers.h"
#include "game/widgets/UIPalette.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace
{

TEST(FrontEndTables, PageTitlesAndTitleKinds)
{
    struct Row
    {
        int page;
        int kind;
        const char* title;
    };
    const Row rows[44] = {
        {0, 4, nullptr},
        {1, 2, "Cobalt Keep"},
        {2, 4, nullptr},
        {3, 4, nullptr},
        {4, 4, nullptr},
        {5, 2, "Name Entry"},
        {6, 0, "Leaderboard"},
        {7, 0, "Device Too Flat"},
        {8, 2, "Quickstart Mode"},
        {9, 2, "Classic Mode"},
        {10, 2, "Gauntlet"},
        {11, 2, "Select a Stage"},
        {12, 0, "Stage: Chaos"},
        {13, 0, "Stage: Order"},
        {14, 1, "Stage: Vanguard"},
        {15, 1, "Stage: Tactical"},
        {16, 0, "Stage: Flanked"},
        {17, 0, "Stage: Swarm"},
        {18, 1, "Stage: Horde"},
        {19, 0, "Stage: Ganked"},
        {20, 0, "Selected Level"},
        {21, 0, "Gauntlet Stage"},
        {22, 0, "Surrender?"},
        {23, 2, "Game Options"},
        {24, 0, "Tilt Calibration"},
        {25, 2, "Audio Options"},
        {26, 2, "Vibration"},
        {27, 2, "Control Options"},
        {28, 2, "Information"},
        {29, 2, "Know Your Enemy"},
        {30, 2, "Score Keeping"},
        {31, 2, "Achievements"},
        {32, 2, "Shooting"},
        {33, 2, "Lock Tactics"},
        {34, 2, "Planet Cannon"},
        {35, 2, "General Strategy"},
        {36, 2, "How Many??"},
        {37, 2, "Basic Enemies"},
        {38, 2, "Spawners"},
        {39, 2, "Landers"},
        {40, 2, "Builders"},
        {41, 2, "Bosses"},
        {42, 2, "Spawner Bosses"},
        {43, 2, "Strategy Tips"},
    };
    for (Row const& row : rows)
    {
        SCOPED_TRACE(row.page);
        EXPECT_EQ(row.kind, PageTable[row.page].titleKind);
        if (row.title)
            EXPECT_STREQ(row.title, PageTable[row.page].title);
        else
            EXPECT_EQ(nullptr, PageTable[row.page].title);
    }
}

TEST(FrontEndTables, TitleBarStylesStagesAndPictures)
{
    const int barTiles[3] = {185, 184, 183};
    const Color colours[3] = {Color(255, 127, 127, 255), Color(127, 255, 212, 255), Color(127, 212, 255, 255)};
    for (int kind = 0; kind < 3; kind++)
    {
        ASSERT_NE(nullptr, TitleBarTile(kind));
        EXPECT_EQ(uint32_t(barTiles[kind]), TitleBarTile(kind)->id);
        EXPECT_EQ(colours[kind], TitleBarColors[kind]);
    }
    EXPECT_EQ(nullptr, TitleBarTile(4));

    const int32_t starts[8] = {0, 8, 16, 24, 32, 40, 48, 56};
    const int32_t order[9] = {0, 1, 5, 2, 3, 6, 4, 7, 8};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(starts[i], StageStart[i]);
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(order[i], GridOrder[i]);

    struct Picture
    {
        TileInfo const* tile;
        int id;
    };
    const Picture pictures[] = {
        {LevelTile(0), 89}, {LevelTile(63), 152}, {GauntletTile(0), 169}, {GauntletTile(7), 176},
        {GauntletTile(8), 168},
    };
    for (Picture const& picture : pictures)
    {
        ASSERT_NE(nullptr, picture.tile);
        EXPECT_EQ(uint32_t(picture.id), picture.tile->id);
    }
    EXPECT_EQ(nullptr, LevelTile(64));
    EXPECT_EQ(nullptr, LevelTile(-1));
    EXPECT_EQ(nullptr, GauntletTile(9));
    EXPECT_EQ(nullptr, MenuTile(186));
    EXPECT_EQ(nullptr, MenuTile(-1));
}

TEST(FrontEndTables, Palette)
{
    const uint8_t rgb[20][3] = {{255, 255, 255}, {0, 0, 0},       {170, 225, 255}, {127, 212, 255}, {100, 180, 255},
                                {70, 90, 255},   {255, 30, 30},   {255, 180, 180}, {255, 127, 127}, {255, 100, 110},
                                {255, 70, 90},   {170, 255, 225}, {127, 255, 212}, {100, 255, 180}, {70, 255, 90},
                                {255, 255, 110}, {230, 230, 90},  {245, 180, 140}, {240, 155, 120}, {180, 210, 220}};
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(Color(rgb[i][0], rgb[i][1], rgb[i][2], 255), UIPalette[i]) << i;
}

TEST(MenuMetrics, ScreenSizes)
{
    const MenuMetrics small = MenuMetrics::Compute(320.0f, 480.0f);
    EXPECT_FLOAT_EQ(0.5f, small.scale);
    EXPECT_FLOAT_EQ(35.0f, small.titleBarHeight);
    EXPECT_EQ(Vector2(107.0f, 35.0f), small.buttonSize);
    EXPECT_EQ(Vector2(97.0f, 45.0f), small.buttonCell);
    EXPECT_FLOAT_EQ(0.5f, small.contentScale);
    EXPECT_EQ(Vector2(0.0f, -2.5f), small.buttonShift);
    EXPECT_EQ(Vector2(97.0f, 0.0f), small.bottomButtonPosition);
    EXPECT_EQ(Vector2(97.0f, 90.0f), small.tallButtonCell);

    const MenuMetrics large = MenuMetrics::Compute(640.0f, 960.0f);
    EXPECT_FLOAT_EQ(1.0f, large.scale);
    EXPECT_EQ(Vector2(194.0f, 90.0f), large.buttonCell);
    EXPECT_FLOAT_EQ(70.0f, large.titleBarHeight);
    EXPECT_FLOAT_EQ(1.0f, large.contentScale);
    EXPECT_EQ(Vector2(254.0f, 320.0f), large.bigButtonSize);
    EXPECT_EQ(Vector2(286.0f, 352.0f), large.bigButtonCell);
    EXPECT_EQ(Vector2(188.0f, 260.0f), large.gridButtonCell);
    EXPECT_EQ(Vector2(380.0f, 110.0f), large.wideRowCell);

    // 1024 / 960 lies just above 1: snapped back to pixel-exact art.
    const MenuMetrics tablet = MenuMetrics::Compute(768.0f, 1024.0f);
    EXPECT_FLOAT_EQ(1.0f, tablet.scale);
    EXPECT_FLOAT_EQ(70.0f, tablet.titleBarHeight);

    // Wider than 3:4 widens the big buttons, at most by 1.0666667.
    const MenuMetrics wide = MenuMetrics::Compute(640.0f, 640.0f);
    EXPECT_NEAR(254.0f * (640.0f / 960.0f) * 1.0666667f, wide.bigButtonSize.x, 1e-3f);

    struct Snap
    {
        float in, out;
    };
    const Snap snaps[] = {{1.0f, 1.0f}, {1.1f, 1.0f}, {1.15f, 1.0f}, {1.2f, 1.2f},
                          {0.5f, 0.5f}, {0.55f, 0.5f}, {0.575f, 0.5f}, {0.6f, 0.6f}};
    for (Snap const& snap : snaps)
        EXPECT_FLOAT_EQ(snap.out, MenuMetrics::Snap(snap.in)) << snap.in;
}

TEST(StreamHelpers, LittleEndianInt32AndMinusOneAtTheEnd)
{
    std::ostringstream out;
    WriteInt32(out, 3);
    WriteInt32(out, -2);
    WriteInt32(out, 0x01020304);
    const std::string bytes = out.str();
    ASSERT_EQ(12u, bytes.size());
    EXPECT_EQ(std::string("\x03\x00\x00\x00\xfe\xff\xff\xff\x04\x03\x02\x01", 12), bytes);

    std::istringstream in(bytes + std::string("\x07\x00", 2));
    EXPECT_EQ(3, ReadInt32(in));
    EXPECT_EQ(-2, ReadInt32(in));
    EXPECT_EQ(0x01020304, ReadInt32(in));
    EXPECT_EQ(-1, ReadInt32(in)); // two bytes left
    EXPECT_EQ(-1, ReadInt32(in));
}

TEST(MoreGames, OnlyPlainWebAddresses)
{
    struct Case
    {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"https://example.org/games", true},
        {"http://example.org", true},
        {"https://", false},
        {"ftp://example.org", false},
        {"--help", false},
        {"https://example.org/a b", false},
        {"https://example.org/\n", false},
        {"javascript:alert(1)", false},
        {"", false},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.ok, IsWebAddress(c.text)) << c.text;
}

} // namespace
