#include "game/simulation/EnemyType.h"

namespace
{

// Trail tiles: Red kinds draw theirs with tile 66, Green kinds with 51.
const uint16_t kRedTrail = 66;
const uint16_t kGreenTrail = 51;

struct Table
{
    EnemyType rows[EnemyType::kCount];
};

// Columns: name, population loss, points, multiplier step, body tile, size,
// radius factor, hit points, trail length, trail tile, trail width, blocker,
// faction, debris, spark style, death sound.
Table const& GetTable()
{
    // clang-format off
    static const Table table = {{
        {"Peon", 310230171u, 1, 1, 17, Vector2(12, 12), 0.49f, 10, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 0},
        {"Drifter", 330230171u, 1, 1, 17, Vector2(12, 16), 0.49f, 20, 6, kRedTrail, 1.25f, 0, 0, 0, 0, 0},
        {"Hulk", 721294521u, 5, 3, 16, Vector2(20, 16), 0.4f, 50, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 1},
        {"Streamer", 557824715u, 2, 2, 17, Vector2(14, 20), 0.49f, 10, 12, kRedTrail, 1.5f, 0, 0, 0, 0, 0},
        {"Speeder", 257824715u, 2, 2, 18, Vector2(12, 28), 0.49f, 10, 12, kRedTrail, 1.5f, 0, 0, 0, 0, 0},
        {"Snake", 1041294174u, 5, 3, 16, Vector2(15, 24), 0.4f, 100, 20, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Snake", 1041294174u, 5, 3, 16, Vector2(15, 24), 0.4f, 100, 20, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Snake", 1041294174u, 5, 3, 16, Vector2(15, 24), 0.4f, 100, 20, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Snake Body", 0u, 2, 2, 17, Vector2(14, 27), 0.4f, 40, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 0},
        {"Carrier", 1271023789u, 5, 3, 8, Vector2(22, 22), 0.4f, 80, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Blocker", 101041258u, 2, 2, 6, Vector2(64, 16), 0.47f, 300, 0, kRedTrail, 1.5f, 1, 0, 1, 0, 3},
        {"Builder", 691046244u, 10, 5, 7, Vector2(30, 18), 0.4f, 120, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Splicer", 1338474662u, 10, 5, 20, Vector2(28, 28), 0.37f, 110, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Half Splicer", 1157362146u, 5, 3, 19, Vector2(23, 23), 0.4f, 80, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 3},
        {"Driller", 0u, 10, 5, 9, Vector2(33, 33), 0.4f, 900, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 1},
        {"Driller Bomb", 1974451561u, 1, 1, 17, Vector2(0, 0), 0.4f, 10, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 0},
        {"Hive", 158283817u, 10, 5, 10, Vector2(28, 28), 0.4f, 150, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 3},
        {"Chevron Boss", 2468547286u, 100, 10, 61, Vector2(84, 48), 0.4f, 6000, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Chevron Boss(2)", 2112741927u, 100, 10, 61, Vector2(84, 48), 0.4f, 3200, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Missile Boss", 2930975772u, 100, 10, 64, Vector2(100, 48), 0.4f, 8000, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Missile Boss(2)", 2130975772u, 100, 10, 64, Vector2(100, 48), 0.4f, 5000, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Carrier Boss", 3730975772u, 100, 10, 60, Vector2(115, 66), 0.4f, 8000, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Carrier Boss(2)", 3230975772u, 100, 10, 60, Vector2(115, 66), 0.4f, 5000, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Snake Boss", 4072847261u, 100, 10, 65, Vector2(150, 80), 0.4f, 8500, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Snake Boss(2)", 3772847261u, 100, 10, 65, Vector2(150, 80), 0.4f, 3800, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 2},
        {"Expendable", 350230171u, 1, 1, 47, Vector2(14, 14), 0.49f, 10, 0, kGreenTrail, 3.6f, 0, 1, 0, 0, 0},
        {"Wanderer", 375230171u, 1, 1, 47, Vector2(14, 19), 0.49f, 20, 6, kGreenTrail, 2.4f, 0, 1, 0, 0, 0},
        {"Wanderer(2)", 375230171u, 1, 1, 47, Vector2(14, 19), 0.49f, 20, 6, kGreenTrail, 2.4f, 0, 1, 0, 0, 0},
        {"Proven", 795230171u, 5, 3, 44, Vector2(24, 19), 0.4f, 60, 0, kGreenTrail, 2.4f, 0, 1, 1, 0, 1},
        {"Missile", 595824715u, 2, 2, 44, Vector2(16, 26), 0.4f, 10, 12, kGreenTrail, 2.4f, 0, 1, 0, 0, 0},
        {"Predator", 1241294174u, 5, 3, 44, Vector2(18, 29), 0.4f, 90, 20, kGreenTrail, 3.6f, 0, 1, 0, 0, 3},
        {"Predator", 1241294174u, 5, 3, 44, Vector2(18, 29), 0.4f, 90, 20, kGreenTrail, 3.6f, 0, 1, 0, 0, 3},
        {"Predator", 1241294174u, 5, 3, 44, Vector2(18, 29), 0.4f, 90, 20, kGreenTrail, 3.6f, 0, 1, 0, 0, 3},
        {"Predator Body", 0u, 2, 2, 47, Vector2(15, 37), 0.4f, 60, 0, kGreenTrail, 3.6f, 0, 1, 0, 0, 0},
        {"Gunship", 624612741u, 10, 5, 41, Vector2(26, 39), 0.4f, 120, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Gunship", 624612741u, 10, 5, 41, Vector2(26, 39), 0.4f, 120, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Gunship", 624612741u, 10, 5, 41, Vector2(26, 39), 0.4f, 120, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Carrier", 1371023789u, 5, 3, 38, Vector2(36, 36), 0.4f, 150, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Starburst", 311023789u, 5, 3, 49, Vector2(44, 44), 0.38f, 250, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Lockdown", 1672671235u, 10, 5, 48, Vector2(68, 68), 0.34f, 1500, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Lockdown Ring", 0u, 10, 5, 44, Vector2(80, 23), 0.4f, 400, 0, kGreenTrail, 3.6f, 0, 1, 0, 1, 3},
        {"Converter", 0u, 10, 5, 40, Vector2(38, 38), 0.4f, 900, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 1},
        {"Beacon", 0u, 10, 5, 31, Vector2(48, 48), 0.4f, 220, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Pillar", 916263912u, 5, 3, 45, Vector2(25, 27), 0.4f, 150, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 3},
        {"Carrier Boss", 3877826319u, 100, 10, 39, Vector2(120, 60), 0.4f, 9500, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Carrier Boss(2)", 3577826319u, 100, 10, 39, Vector2(120, 60), 0.4f, 4000, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Starburst Boss", 4117234162u, 100, 10, 50, Vector2(90, 105), 0.4f, 8500, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Starburst Boss(2)", 3717234162u, 100, 10, 50, Vector2(90, 105), 0.4f, 4000, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Predator Boss", 4282716526u, 100, 10, 46, Vector2(140, 60), 0.4f, 7500, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Predator Boss(2)", 4082716526u, 100, 10, 46, Vector2(140, 60), 0.4f, 3500, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Expendable Boss", 1973286322u, 100, 10, 30, Vector2(136, 50), 0.4f, 7000, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Expendable Boss(2)", 1673286322u, 100, 10, 30, Vector2(136, 50), 0.4f, 3000, 0, kGreenTrail, 3.6f, 0, 1, 1, 0, 2},
        {"Basic Target", 158283817u, 10, 5, 10, Vector2(28, 28), 0.4f, 120, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 3},
        {"Cannon LargeTarget", 721294521u, 5, 3, 16, Vector2(20, 16), 0.4f, 50, 0, kRedTrail, 1.5f, 0, 0, 1, 0, 1},
        {"Cannon Fodder", 310230171u, 1, 1, 17, Vector2(12, 12), 0.49f, 10, 0, kRedTrail, 1.5f, 0, 0, 0, 0, 0},
    }};
    // clang-format on
    return table;
}

} // namespace

EnemyType const& EnemyType::Get(int kind)
{
    Table const& table = GetTable();
    if (kind < 0 || kind >= kCount)
        kind = 0;
    return table.rows[kind];
}

EnemyType::EnemyType(const char* name, uint32_t populationLoss, uint16_t points, uint16_t multiplierStep,
                     uint16_t bodyTile, Vector2 size, float radiusFactor, int16_t hitPoints,
                     uint8_t trailLength, uint16_t trailTile, float trailWidth, uint8_t blocker,
                     uint32_t faction, uint8_t debris, uint8_t sparkStyle, uint32_t deathSound)
    : populationLoss(populationLoss), points(points), multiplierStep(multiplierStep), size(size),
      halfExtent(size * radiusFactor), hitPoints(hitPoints), trailLength(trailLength), blocker(blocker),
      debris(debris), sparkStyle(sparkStyle), bodyTile(bodyTile), trailTile(trailTile),
      trailWidth(trailWidth), name(name), faction(faction), deathSound(deathSound)
{
    // A zero half extent gives an infinite inverse: the hit test then never
    // passes, which is what a zero-sized kind wants.
    inverseHalfExtent = Vector2(1.0f / halfExtent.x, 1.0f / halfExtent.y);
    maxHalfExtent = halfExtent.x > halfExtent.y ? halfExtent.x : halfExtent.y;
    viewMargin = halfExtent.y + (hitPoints > 749 ? 14.0f : 0.0f);
    viewSpan = viewMargin * 2.0f;
    landingInset = halfExtent.y;
}
