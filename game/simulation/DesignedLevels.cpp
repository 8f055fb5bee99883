#include "game/simulation/DesignedLevels.h"

namespace
{

// Rows of the enemy kinds table used by the scripts. Kinds that share a name
// carry their row number.
struct Kind
{
    enum Enum : uint8_t
    {
        Peon = 0,
        Drifter = 1,
        Hulk = 2,
        Streamer = 3,
        Speeder = 4,
        Snake5 = 5,
        Snake6 = 6,
        Snake7 = 7,
        Carrier9 = 9,
        Blocker = 10,
        Builder = 11,
        Splicer = 12,
        Driller = 14,
        Hive = 16,
        ChevronBoss = 17,
        ChevronBoss2 = 18,
        MissileBoss = 19,
        MissileBoss2 = 20,
        CarrierBoss21 = 21,
        CarrierBoss2_22 = 22,
        SnakeBoss = 23,
        SnakeBoss2 = 24,
        Expendable = 25,
        Wanderer = 26,
        Proven = 28,
        Missile = 29,
        Predator30 = 30,
        Predator31 = 31,
        Predator32 = 32,
        Gunship34 = 34,
        Gunship35 = 35,
        Gunship36 = 36,
        Carrier37 = 37,
        Starburst = 38,
        Lockdown = 39,
        Converter = 41,
        Beacon = 42,
        Pillar = 43,
        CarrierBoss44 = 44,
        CarrierBoss2_45 = 45,
        StarburstBoss = 46,
        StarburstBoss2 = 47,
        PredatorBoss = 48,
        PredatorBoss2 = 49,
        ExpendableBoss = 50,
        ExpendableBoss2 = 51,
    };
};

// Writes a level's groups in the notation of the level scripts: delays are
// relative to the previous group; `half` is half the sector's width.
class Script
{
public:
    explicit Script(SpawnList& list) : list(list) {}

    // One enemy at a fixed angle and distance.
    void One(int delay, Kind::Enum kind, float angle, float radius)
    {
        list.push_back(SpawnRecord(Delay(delay), angle, radius, static_cast<uint8_t>(kind)));
    }

    // One enemy in the sector angle ± half and the distance range [rMin, rMax).
    void OneIn(int delay, Kind::Enum kind, float angle, float half, float rMin, float rMax)
    {
        list.push_back(SpawnRecord(Delay(delay), angle, half * 2.0f, rMin, rMax, static_cast<uint8_t>(kind)));
    }

    // `count` enemies, one every `interval` ticks, in a sector and distance range.
    void Group(int delay, int count, Kind::Enum kind, int interval, float angle, float half, float rMin,
               float rMax)
    {
        list.push_back(SpawnRecord(Delay(delay), angle, half * 2.0f, rMin, rMax, static_cast<uint8_t>(kind),
                                   static_cast<uint8_t>(count), static_cast<uint8_t>(interval)));
    }

private:
    static uint16_t Delay(int delay) { return static_cast<uint16_t>(delay); }

    SpawnList& list;
};

// a + i x s in single precision, as the scripts' loops compute it.
float Step(float a, int i, float s)
{
    float offset = static_cast<float>(i) * s;
    return a + offset;
}

void Level(Script& s, int level, DesignedLevelStyle& style)
{
    switch (level)
    {
    case 0:
        style = {1.0f, 0};
        s.Group(0, 40, Kind::Peon, 6, 0, 25, 320, 320);
        break;
    case 1:
        style = {1.0f, 0};
        s.Group(0, 40, Kind::Peon, 7, 0, 25, 320, 320);
        s.Group(60, 5, Kind::Carrier9, 24, 0, 25, 260, 320);
        break;
    case 2:
        style = {1.0f, 0};
        s.Group(0, 40, Kind::Peon, 9, 0, 25, 240, 320);
        s.One(0, Kind::MissileBoss, 0, 290);
        s.Group(90, 3, Kind::Carrier9, 40, 0, 25, 240, 320);
        break;
    case 3:
        style = {1.0f, 0};
        s.Group(0, 70, Kind::Drifter, 3, 0, 60, 310, 340);
        break;
    case 4:
        style = {1.0f, 0};
        s.Group(0, 20, Kind::Snake7, 18, 0, 90, 220, 320);
        break;
    case 5:
        style = {1.0f, 2};
        s.Group(0, 45, Kind::Hulk, 10, 0, 27.5f, 150, 200);
        s.Group(60, 30, Kind::Peon, 7, 0, 17.5f, 180, 230);
        break;
    case 6:
        style = {1.0f, 4};
        s.OneIn(0, Kind::Splicer, 0, 60, 230, 240);
        s.OneIn(30, Kind::Splicer, 120, 60, 260, 270);
        s.OneIn(50, Kind::Splicer, 240, 60, 290, 300);
        break;
    case 7:
        style = {1.0f, 2};
        s.Group(0, 60, Kind::Peon, 14, 0, 25, 220, 300);
        s.One(0, Kind::ChevronBoss, -22, 320);
        s.One(0, Kind::ChevronBoss, 22, 320);
        s.OneIn(90, Kind::Splicer, 0, 7, 300, 320);
        break;
    case 8:
        style = {0.65f, 4};
        s.Group(0, 25, Kind::Peon, 1, 0, 180, 240, 240);
        s.Group(0, 42, Kind::Peon, 9, 0, 180, 190, 240);
        s.Group(90, 30, Kind::Streamer, 5, 0, 180, 190, 240);
        break;
    case 9:
        style = {1.0f, 2};
        s.Group(0, 3, Kind::Carrier9, 4, 0, 15, 270, 290);
        s.Group(20, 11, Kind::Carrier9, 48, 0, 12, 250, 320);
        s.Group(40, 24, Kind::Snake7, 32, 0, 5, 250, 310);
        break;
    case 10:
        style = {0.92f, 2};
        s.Group(0, 3, Kind::Builder, 7, 0, 20, 180, 210);
        s.Group(0, 4, Kind::Builder, 7, 180, 20, 190, 220);
        s.Group(30, 20, Kind::Peon, 1, 0, 180, 220, 250);
        s.Group(20, 8, Kind::Streamer, 5, 0, 180, 235, 250);
        s.Group(170, 15, Kind::Streamer, 8, 0, 15, 260, 320);
        s.Group(30, 15, Kind::Streamer, 8, 180, 15, 260, 320);
        break;
    case 11:
        style = {0.88f, 2};
        s.Group(0, 15, Kind::Hulk, 1, 90, 80, 200, 205);
        s.Group(60, 22, Kind::Hulk, 1, 90, 70, 215, 220);
        s.Group(80, 16, Kind::Speeder, 10, 90, 50, 260, 300);
        break;
    case 12:
        style = {1.0f, 2};
        s.One(0, Kind::Splicer, 60, 195);
        s.One(0, Kind::Splicer, 120, 195);
        s.Group(60, 8, Kind::Hive, 10, 90, 45, 270, 300);
        break;
    case 13:
    {
        style = {0.85f, 2};
        const float angles[] = {-15, 15, 75, 105, 165, 195, 255, 285};
        for (float angle : angles)
            s.One(0, Kind::Builder, angle, 195);
        s.Group(80, 6, Kind::Carrier9, 28, 0, 25, 235, 280);
        s.Group(100, 10, Kind::Hulk, 24, 180, 25, 235, 280);
        break;
    }
    case 14:
        style = {0.74f, 2};
        s.Group(0, 5, Kind::Hive, 45, 130, 10, 270, 285);
        s.Group(0, 4, Kind::Hive, 50, 40, 10, 270, 285);
        s.OneIn(110, Kind::Driller, 50, 5, 180, 180);
        s.OneIn(30, Kind::Driller, 90, 5, 180, 180);
        s.OneIn(60, Kind::Driller, 120, 5, 180, 180);
        s.OneIn(200, Kind::Driller, 90, 15, 280, 300);
        break;
    case 15:
        style = {1.0f, 2};
        s.One(0, Kind::CarrierBoss21, 0, 300);
        s.Group(30, 15, Kind::Drifter, 15, 0, 15, 240, 300);
        s.Group(250, 60, Kind::Peon, 12, 0, 25, 220, 270);
        s.Group(60, 15, Kind::Streamer, 35, 0, 30, 240, 250);
        break;
    case 16:
        style = {1.0f, 3};
        s.Group(0, 32, Kind::Expendable, 7, 0, 30, 200, 270);
        s.Group(140, 32, Kind::Expendable, 3, 90, 25, 190, 240);
        s.Group(140, 32, Kind::Expendable, 1, 0, 20, 150, 210);
        break;
    case 17:
        style = {1.0f, 3};
        s.Group(0, 32, Kind::Wanderer, 9, 0, 30, 240, 240);
        s.Group(90, 32, Kind::Expendable, 9, 0, 2.5f, 230, 240);
        break;
    case 18:
        style = {0.88f, 2};
        s.Group(0, 10, Kind::Gunship36, 35, 0, 10, 210, 250);
        break;
    case 19:
    {
        style = {1.0f, 3};
        s.One(0, Kind::Carrier37, 0, 230);
        s.One(0, Kind::Carrier37, 11, 210);
        s.One(0, Kind::Carrier37, -11, 220);
        s.Group(50, 24, Kind::Expendable, 10, 0, 35, 200, 240);
        const float angles[] = {0, -9, 9, -18, 18, -27, 27, -36, 36, -45, 45};
        for (int i = 0; i < 11; ++i)
            s.One(i == 0 ? 110 : 0, Kind::Carrier37, angles[i], 290);
        break;
    }
    case 20:
        style = {1.0f, 2};
        for (int k = 0; k <= 4; ++k)
        {
            float radius = static_cast<float>(145 + 20 * k);
            s.One(0, Kind::Predator31, static_cast<float>(-30 - k), radius);
            s.One(0, Kind::Predator31, static_cast<float>(150 - k), radius);
        }
        s.Group(120, 22, Kind::Expendable, 10, 0, 35, 190, 240);
        s.Group(6, 22, Kind::Expendable, 10, 180, 35, 190, 240);
        break;
    case 21:
        style = {1.0f, 4};
        for (int i = 0; i < 5; ++i)
            s.One(0, Kind::Proven, Step(0, i, 72), 250);
        for (int i = 0; i < 5; ++i)
            s.One(i == 0 ? 60 : 0, Kind::Converter, Step(36, i, 72), 230);
        break;
    case 22:
        style = {1.0f, 2};
        s.One(0, Kind::Starburst, 90, 260);
        s.Group(30, 44, Kind::Expendable, 12, 90, 45, 220, 270);
        s.Group(132, 9, Kind::Starburst, 14, 90, 45, 230, 240);
        break;
    case 23:
        style = {0.95f, 2};
        s.One(0, Kind::Converter, 180, 290);
        s.One(60, Kind::Lockdown, 0, 250);
        s.One(30, Kind::Starburst, 10, 260);
        s.One(20, Kind::Starburst, -10, 260);
        s.One(270, Kind::Lockdown, 180, 210);
        s.One(150, Kind::Beacon, 180, 320);
        s.One(80, Kind::Beacon, 180, 280);
        s.One(90, Kind::Beacon, 180, 240);
        break;
    case 24:
        style = {1.0f, 2};
        s.Group(0, 28, Kind::Expendable, 1, 90, 45, 240, 240);
        s.Group(0, 45, Kind::Expendable, 7, 90, 45, 190, 240);
        s.Group(100, 45, Kind::Missile, 5, 90, 45, 190, 240);
        break;
    case 25:
        style = {1.0f, 3};
        s.Group(0, 8, Kind::Starburst, 33, 0, 70, 210, 270);
        s.Group(60, 35, Kind::Proven, 14, 0, 30, 200, 280);
        break;
    case 26:
        style = {0.9f, 3};
        s.One(0, Kind::Beacon, 0, 265);
        s.Group(60, 42, Kind::Expendable, 2, 180, 160, 250, 285);
        for (int i = 0; i < 3; ++i)
            s.One(i == 0 ? 110 : 10, Kind::Beacon, Step(160, i, 20), 260);
        break;
    case 27:
        style = {0.8f, 2};
        s.Group(0, 3, Kind::Carrier37, 35, 0, 25, 310, 340);
        s.Group(10, 3, Kind::Carrier37, 35, 180, 25, 310, 340);
        s.One(120, Kind::Lockdown, 80, 250);
        break;
    case 28:
    {
        style = {1.0f, 4};
        s.One(0, Kind::Gunship34, 180, 250);
        s.One(0, Kind::Gunship35, 180, 250);
        s.One(0, Kind::Converter, 0, 250);
        const float angles[] = {180, 60, -60, 120, -120};
        const float radii[] = {250, 230, 230, 260, 260};
        for (int i = 0; i < 5; ++i)
            s.One(i == 0 ? 220 : 0, Kind::Converter, angles[i], radii[i]);
        break;
    }
    case 29:
        style = {0.9f, 4};
        s.Group(0, 32, Kind::Missile, 25, 0, 180, 240, 270);
        s.One(105, Kind::Beacon, 0, 210);
        s.One(116, Kind::Beacon, 60, 210);
        s.One(127, Kind::Beacon, 120, 210);
        s.One(138, Kind::Beacon, 180, 210);
        s.One(149, Kind::Beacon, 240, 210);
        s.One(160, Kind::Beacon, 300, 210);
        break;
    case 30:
        style = {0.9f, 3};
        s.One(0, Kind::CarrierBoss44, 90, 290);
        s.Group(40, 50, Kind::Expendable, 20, 90, 25, 220, 280);
        s.One(150, Kind::Lockdown, 270, 240);
        break;
    case 31:
        style = {1.0f, 2};
        s.One(0, Kind::StarburstBoss, 0, 300);
        break;
    case 32:
        style = {1.0f, 4};
        s.Group(0, 20, Kind::Expendable, 11, -25, 25, 250, 280);
        s.Group(0, 20, Kind::Peon, 11, 25, 25, 250, 280);
        s.Group(120, 24, Kind::Proven, 17, 155, 25, 250, 280);
        s.Group(0, 24, Kind::Hulk, 17, 205, 25, 250, 280);
        break;
    case 33:
        style = {1.0f, 4};
        for (int i = 0; i < 3; ++i)
            s.One(i == 0 ? 0 : 20, Kind::Converter, Step(-60, i, 60), 140);
        s.Group(30, 5, Kind::Hive, 50, 180, 25, 220, 270);
        s.Group(240, 25, Kind::Peon, 7, 0, 30, 240, 250);
        break;
    case 34:
        style = {1.0f, 4};
        for (int i = 0; i < 20; ++i)
            s.One(2, Kind::Blocker, Step(0, i, 18), 180);
        s.One(125, Kind::Gunship35, 0, 230);
        s.One(25, Kind::Gunship35, 180, 230);
        break;
    case 35:
        style = {1.0f, 3};
        s.Group(0, 7, Kind::Snake5, 50, 30, 2, 190, 220);
        s.Group(16, 7, Kind::Snake7, 50, 0, 1.5f, 220, 240);
        s.Group(33, 7, Kind::Snake6, 50, -30, 2, 240, 260);
        s.One(120, Kind::Lockdown, 0, 290);
        break;
    case 36:
        style = {1.0f, 2};
        for (int i = 0; i < 7; ++i)
            s.One(0, Kind::Builder, Step(135, i, -15), 245);
        for (int i = 0; i < 3; ++i)
            s.One(i == 0 ? 190 : 0, Kind::Beacon, Step(120, i, -30), 288);
        break;
    case 37:
        style = {1.0f, 2};
        s.Group(0, 15, Kind::Starburst, 68, -20, 15, 250, 310);
        s.Group(40, 12, Kind::Hive, 81, 20, 15, 250, 310);
        break;
    case 38:
        style = {0.86f, 2};
        s.One(0, Kind::PredatorBoss, 0, 300);
        s.Group(10, 35, Kind::Expendable, 40, 0, 32.5f, 230, 280);
        s.Group(10, 40, Kind::Peon, 35, 0, 32.5f, 230, 280);
        s.One(140, Kind::MissileBoss2, 27, 335);
        s.One(0, Kind::MissileBoss2, -27, 335);
        break;
    case 39:
        style = {0.82f, 4};
        s.One(0, Kind::StarburstBoss2, 20, 335);
        s.One(120, Kind::CarrierBoss2_22, -50, 310);
        s.One(120, Kind::Lockdown, 0, 260);
        break;
    case 40:
        style = {1.0f, 2};
        s.Group(0, 40, Kind::Peon, 8, 0, 25, 220, 250);
        s.Group(80, 25, Kind::Streamer, 7, 180, 22, 240, 270);
        s.Group(150, 12, Kind::Speeder, 2, 0, 25, 250, 280);
        break;
    case 41:
        style = {0.99f, 2};
        s.One(0, Kind::CarrierBoss2_22, 90, 290);
        s.Group(20, 47, Kind::Peon, 25, 90, 25, 220, 270);
        s.One(50, Kind::Driller, 60, 220);
        s.One(190, Kind::Driller, 120, 220);
        s.One(220, Kind::Driller, 30, 220);
        s.One(90, Kind::Driller, 140, 220);
        s.One(340, Kind::Driller, 170, 180);
        s.One(420, Kind::Driller, 40, 160);
        s.One(60, Kind::Driller, 140, 160);
        break;
    case 42:
        style = {1.0f, 4};
        s.Group(0, 30, Kind::Streamer, 7, 0, 7, 220, 260);
        for (int i = 0; i < 6; ++i)
            s.One(i == 0 ? 90 : 5, Kind::Builder, Step(207.5f, i, -11), 210);
        s.Group(20, 45, Kind::Drifter, 2, 180, 12, 220, 280);
        s.Group(160, 55, Kind::Drifter, 3, 0, 30, 210, 240);
        break;
    case 43:
        style = {1.0f, 4};
        for (int k = 4; k >= -2; --k)
        {
            s.One(2, Kind::Blocker, static_cast<float>(12 * k), 210);
            s.One(2, Kind::Blocker, static_cast<float>(10 * k), 235);
        }
        s.Group(60, 15, Kind::Carrier9, 50, 0, 30, 250, 300);
        // Pairs of Hulks opening outward: the second of a pair one tick
        // after the first, each pair four ticks after the previous one.
        for (int k = 1; k <= 22; ++k)
        {
            float angle = Step(0, k, 1.85f);
            s.One(k == 1 ? 180 : 4, Kind::Hulk, angle, 225);
            s.One(1, Kind::Hulk, -angle, 225);
        }
        break;
    case 44:
        style = {0.85f, 4};
        s.One(0, Kind::CarrierBoss2_22, 0, 280);
        s.One(60, Kind::ChevronBoss2, 120, 270);
        s.Group(60, 45, Kind::Peon, 14, 0, 25, 250, 290);
        s.Group(60, 20, Kind::Streamer, 39, 0, 25, 250, 290);
        s.One(550, Kind::Driller, 60, 210);
        s.One(220, Kind::Driller, 240, 210);
        break;
    case 45:
        style = {0.9f, 4};
        for (int i = 0; i < 4; ++i)
            s.One(0, Kind::Splicer, Step(21, i, -14), Step(190, i, 18));
        for (int i = 0; i < 3; ++i)
            s.One(4, Kind::Builder, Step(95, i, -15), Step(220, i, 5));
        s.Group(120, 100, Kind::Drifter, 5, 220, 20, 265, 285);
        break;
    case 46:
        style = {0.88f, 4};
        s.One(0, Kind::CarrierBoss21, 0, 370);
        s.One(0, Kind::MissileBoss2, 10, 320);
        s.Group(200, 4, Kind::Hive, 60, 40, 20, 290, 320);
        s.Group(27, 4, Kind::Hive, 60, -40, 20, 290, 320);
        break;
    case 47:
    {
        style = {0.82f, 4};
        s.One(0, Kind::SnakeBoss, 0, 330);
        s.One(60, Kind::Splicer, 14, 280);
        s.One(120, Kind::Splicer, -14, 260);
        s.One(30, Kind::Splicer, 14, 260);
        s.One(40, Kind::Splicer, 0, 260);
        s.One(140, Kind::Splicer, -14, 260);
        const float angles[] = {14, 24, -24};
        for (int i = 0; i < 3; ++i)
            s.One(i == 0 ? 20 : 40, Kind::Splicer, angles[i], 260);
        s.Group(20, 8, Kind::Hive, 93, 140, 35, 260, 280);
        s.One(140, Kind::Splicer, 32, 240);
        s.One(10, Kind::Splicer, -32, 240);
        s.One(50, Kind::Splicer, 44, 240);
        s.One(10, Kind::Splicer, -44, 240);
        break;
    }
    case 48:
        style = {0.94f, 4};
        s.One(0, Kind::ExpendableBoss, 0, 275);
        s.One(140, Kind::Converter, 24, 210);
        s.One(60, Kind::Converter, -24, 210);
        s.One(360, Kind::Converter, -10, 200);
        s.One(240, Kind::Converter, 10, 200);
        s.One(200, Kind::Converter, 40, 200);
        s.One(40, Kind::Converter, -40, 200);
        break;
    case 49:
        style = {1.0f, 4};
        for (int i = 0; i < 3; ++i)
            s.One(i == 0 ? 0 : 3, Kind::Predator30, 0, Step(300, i, -15));
        for (int i = 0; i < 3; ++i)
            s.One(3, Kind::Wanderer, 0, Step(255, i, -15));
        s.Group(20, 27, Kind::Expendable, 10, 0, 15, 255, 290);
        s.Group(140, 17, Kind::Predator32, 12, 180, 30, 180, 210);
        s.Group(20, 55, Kind::Wanderer, 4, 180, 20, 260, 300);
        s.One(190, Kind::Converter, 10, 190);
        break;
    case 50:
    {
        style = {0.98f, 4};
        const float angles[] = {0, 6, -6};
        const float radii[] = {210, 240, 240};
        for (int i = 0; i < 3; ++i)
            s.One(i == 0 ? 0 : 3, Kind::Pillar, angles[i], radii[i]);
        s.One(5, Kind::Pillar, 30, 270);
        s.One(5, Kind::Pillar, -30, 270);
        s.Group(30, 18, Kind::Predator32, 49, 40, 30, 240, 280);
        s.Group(30, 35, Kind::Expendable, 28, -40, 30, 250, 270);
        s.One(800, Kind::Pillar, 20, 270);
        s.One(60, Kind::Pillar, -20, 270);
        break;
    }
    case 51:
        style = {1.0f, 4};
        s.One(0, Kind::Starburst, 0, 210);
        s.One(30, Kind::Beacon, 0, 240);
        s.One(40, Kind::Starburst, 0, 280);
        for (int k = 0; k < 10; ++k)
            s.One(k == 0 ? 100 : 15, Kind::Beacon, Step(90, k, 9.882353f), 242);
        break;
    case 52:
        style = {1.0f, 4};
        s.One(0, Kind::Lockdown, 0, 200);
        s.One(100, Kind::Pillar, 180, 230);
        s.One(20, Kind::Lockdown, 20, 250);
        s.One(65, Kind::Pillar, 194, 240);
        s.One(185, Kind::Lockdown, -10, 310);
        s.One(165, Kind::Pillar, -24, 310);
        s.One(195, Kind::Pillar, 4, 310);
        break;
    case 53:
    {
        style = {1.0f, 4};
        s.One(0, Kind::Carrier37, 0, 220);
        const float converters[] = {150, 210, 95, 265};
        for (int i = 0; i < 4; ++i)
            s.One(i == 0 ? 60 : 10, Kind::Converter, converters[i], 180);
        const float carriers[] = {11, -11, 22, -22, 33, -33, 44, -44, 55, -55, 66, -66};
        for (float angle : carriers)
            s.One(5, Kind::Carrier37, angle, 250);
        s.One(560, Kind::Lockdown, 180, 270);
        s.One(140, Kind::Lockdown, 0, 270);
        break;
    }
    case 54:
        style = {0.6f, 4};
        s.Group(0, 25, Kind::Proven, 1, 0, 10, 240, 280);
        s.Group(185, 95, Kind::Proven, 1, 180, 155, 250, 270);
        for (int i = 0; i < 4; ++i)
        {
            s.One(105, Kind::Gunship34, 180, 280);
            s.One(25, Kind::Gunship35, 180, 280);
        }
        break;
    case 55:
        style = {1.0f, 4};
        s.One(0, Kind::PredatorBoss, 0, 250);
        s.Group(30, 25, Kind::Proven, 23, 0, 27, 200, 230);
        s.Group(40, 29, Kind::Proven, 17, 0, 24, 180, 210);
        s.Group(360, 35, Kind::Proven, 15, 180, 24, 190, 230);
        s.One(320, Kind::Converter, 0, 200);
        break;
    case 56:
        style = {0.9f, 2};
        for (int i = 0; i < 37; ++i)
            s.One(0, Kind::Proven, Step(28.8f, i, 3.4f), 250);
        for (int i = 0; i < 10; ++i)
            s.One(0, Kind::Proven, Step(103.5f, i, -3), 260);
        for (int i = 0; i < 7; ++i)
            s.One(0, Kind::Proven, Step(97.5f, i, -2.5f), 270);
        s.One(0, Kind::Splicer, 90, 280);
        s.One(0, Kind::Splicer, 90, 300);
        s.One(30, Kind::Starburst, 120, 290);
        s.One(0, Kind::Starburst, 60, 290);
        break;
    case 57:
        style = {0.88f, 4};
        s.One(0, Kind::Driller, 0, 240);
        s.Group(10, 30, Kind::Peon, 6, 0, 25, 210, 250);
        s.One(35, Kind::Pillar, 8, 250);
        s.One(70, Kind::Pillar, -8, 250);
        s.One(200, Kind::Driller, 90, 240);
        s.One(70, Kind::Driller, 120, 240);
        s.Group(10, 45, Kind::Peon, 9, 105, 25, 210, 250);
        s.One(100, Kind::CarrierBoss44, 105, 310);
        s.One(140, Kind::Pillar, 75, 250);
        s.One(80, Kind::Pillar, 130, 250);
        break;
    case 58:
        style = {0.85f, 2};
        s.One(0, Kind::MissileBoss, -20, 320);
        s.One(0, Kind::MissileBoss, 20, 320);
        s.One(120, Kind::Lockdown, 0, 280);
        s.One(150, Kind::Lockdown, 120, 295);
        s.One(45, Kind::Lockdown, 240, 295);
        break;
    case 59:
    {
        style = {0.83f, 4};
        s.One(0, Kind::Hive, 0, 220);
        s.One(10, Kind::Carrier37, 0, 240);
        s.One(10, Kind::Carrier37, 0, 260);
        s.One(150, Kind::Carrier37, -80, 220);
        // Five columns of three, each column fanning out a little with the
        // distance.
        const float columns[5][3] = {
            {-98.8f, -98.4f, -98.0f}, {-89.4f, -89.2f, -89.0f}, {-80.0f, -80.0f, -80.0f},
            {-70.6f, -70.8f, -71.0f}, {-61.2f, -61.6f, -62.0f},
        };
        const float radii[3] = {242, 264, 286};
        const int delays[3] = {4, 3, 2};
        for (const auto& column : columns)
            for (int j = 0; j < 3; ++j)
                s.One(delays[j], Kind::Carrier37, column[j], radii[j]);
        s.Group(10, 5, Kind::Hive, 125, -45, 10, 255, 330);
        s.Group(15, 5, Kind::Hive, 125, -115, 10, 255, 330);
        s.Group(850, 14, Kind::Speeder, 22, -80, 30, 270, 320);
        break;
    }
    case 60:
        style = {0.55f, 4};
        s.One(0, Kind::ExpendableBoss2, 0, 270);
        s.One(5, Kind::MissileBoss2, 40, 270);
        s.One(30, Kind::ExpendableBoss2, 140, 270);
        s.One(15, Kind::MissileBoss2, 180, 270);
        break;
    case 61:
    {
        style = {0.67f, 4};
        const float angles[] = {-30, 30, 150, 210};
        for (int i = 0; i < 4; ++i)
        {
            s.One(i == 0 ? 0 : 65, Kind::Converter, angles[i], 210);
            s.Group(20, 19, Kind::Hulk, 9, angles[i], 7.5f, 265, 340);
        }
        break;
    }
    case 62:
        style = {1.0f, 4};
        s.One(0, Kind::Splicer, 0, 360);
        s.One(5, Kind::Splicer, 4, 343);
        for (int i = 0; i < 13; ++i)
            s.One(5, Kind::Carrier37, i % 2 == 0 ? -4.0f : 4.0f, Step(326, i, -17));
        s.One(155, Kind::ChevronBoss2, 22, 315);
        s.One(100, Kind::ChevronBoss2, -22, 315);
        s.One(85, Kind::ChevronBoss2, 0, 360);
        break;
    case 63:
        style = {0.58f, 4};
        s.One(0, Kind::SnakeBoss2, 0, 280);
        s.One(0, Kind::PredatorBoss2, 144, 300);
        s.One(150, Kind::CarrierBoss2_45, 72, 280);
        s.One(360, Kind::MissileBoss2, 216, 280);
        s.One(160, Kind::ExpendableBoss2, 288, 280);
        break;
    }
}

} // namespace

bool AppendDesignedLevelGroups(SpawnList& list, int level, DesignedLevelStyle& style)
{
    if (level < 0 || level >= kDesignedLevelCount)
        return false;
    Script script(list);
    Level(script, level, style);
    return true;
}
