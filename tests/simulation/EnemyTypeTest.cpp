#include "game/simulation/EnemyType.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

TEST(EnemyTypeTest, DerivedFieldsFollowSizeFactorAndHitPoints)
{
    struct Case
    {
        int kind;
        const char* name;
        float halfX, halfY, maxHalf, viewMargin;
    };
    const Case cases[] = {
        {10, "Blocker", 30.08f, 7.52f, 30.08f, 7.52f},     // the width is the larger
        {4, "Speeder", 5.88f, 13.72f, 13.72f, 13.72f},     // the height is the larger
        {0, "Peon", 5.88f, 5.88f, 5.88f, 5.88f},           // equal: y
        {14, "Driller", 13.2f, 13.2f, 13.2f, 27.2f},       // 900 hit points: + 14
        {39, "Lockdown", 23.12f, 23.12f, 23.12f, 37.12f},  // 1500
        {23, "Snake Boss", 60.0f, 32.0f, 60.0f, 46.0f},    // 8500
        {38, "Starburst", 16.72f, 16.72f, 16.72f, 16.72f}, // 250: no extra margin
    };
    for (Case const& c : cases)
    {
        EnemyType const& type = EnemyType::Get(c.kind);
        EXPECT_STREQ(c.name, type.name);
        EXPECT_FLOAT_EQ(c.halfX, type.halfExtent.x) << c.name;
        EXPECT_FLOAT_EQ(c.halfY, type.halfExtent.y) << c.name;
        EXPECT_FLOAT_EQ(c.maxHalf, type.maxHalfExtent) << c.name;
        EXPECT_FLOAT_EQ(c.viewMargin, type.viewMargin) << c.name;
        EXPECT_FLOAT_EQ(2.0f * c.viewMargin, type.viewSpan) << c.name;
        EXPECT_FLOAT_EQ(c.halfY, type.landingInset) << c.name;
        EXPECT_FLOAT_EQ(1.0f / c.halfX, type.inverseHalfExtent.x) << c.name;
        EXPECT_FLOAT_EQ(1.0f / c.halfY, type.inverseHalfExtent.y) << c.name;
    }
    // The exact single-precision products.
    EXPECT_EQ(64.0f * 0.47f, EnemyType::Get(10).maxHalfExtent);
    EXPECT_EQ(28.0f * 0.49f, EnemyType::Get(4).maxHalfExtent);
}

TEST(EnemyTypeTest, TheDrillerBombHasNoExtent)
{
    EnemyType const& bomb = EnemyType::Get(15);
    EXPECT_STREQ("Driller Bomb", bomb.name);
    EXPECT_EQ(0.0f, bomb.maxHalfExtent);
    EXPECT_EQ(0.0f, bomb.viewMargin);
    EXPECT_EQ(0.0f, bomb.landingInset);
    EXPECT_TRUE(std::isinf(bomb.inverseHalfExtent.x));
    EXPECT_TRUE(std::isinf(bomb.inverseHalfExtent.y));
}

TEST(EnemyTypeTest, TableColumns)
{
    int extraMargin = 0;
    for (int kind = 0; kind < EnemyType::kCount; ++kind)
    {
        EnemyType const& type = EnemyType::Get(kind);
        const uint32_t faction = kind >= 25 && kind <= 51 ? 1 : 0;
        EXPECT_EQ(faction, type.faction) << kind;
        EXPECT_EQ(faction == 1 ? 51 : 66, type.trailTile) << kind;
        EXPECT_TRUE(type.trailLength == 0 || type.trailLength == 6 || type.trailLength == 12 ||
                    type.trailLength == 20)
            << kind;
        EXPECT_EQ(kind == 10 ? 1 : 0, type.blocker) << kind;
        EXPECT_EQ(kind == 40 ? 1 : 0, type.sparkStyle) << kind;
        EXPECT_LE(type.deathSound, 3u);
        if (type.hitPoints > 749)
            ++extraMargin;
    }
    // The sixteen boss rows, the Driller, the Lockdown and the Converter.
    EXPECT_EQ(19, extraMargin);

    // Spot rows.
    EXPECT_EQ(721294521u, EnemyType::Get(2).populationLoss);
    EXPECT_EQ(5, EnemyType::Get(2).points);
    EXPECT_EQ(3, EnemyType::Get(2).multiplierStep);
    EXPECT_EQ(4072847261u, EnemyType::Get(23).populationLoss);
    EXPECT_EQ(8500, EnemyType::Get(23).hitPoints);
    EXPECT_EQ(1.25f, EnemyType::Get(1).trailWidth);
    EXPECT_EQ(20, EnemyType::Get(30).trailLength);
    EXPECT_EQ(61, EnemyType::Get(17).bodyTile);
    EXPECT_EQ(120, EnemyType::Get(52).hitPoints);
    EXPECT_EQ(std::string("Cannon Fodder"), EnemyType::Get(54).name);
}

TEST(EnemyTypeTest, KindsOutsideTheTableReadKindZero)
{
    EXPECT_EQ(&EnemyType::Get(0), &EnemyType::Get(55));
    EXPECT_EQ(&EnemyType::Get(0), &EnemyType::Get(255));
    EXPECT_EQ(&EnemyType::Get(0), &EnemyType::Get(-1));
}

} // namespace
