// The level catalogue: the 64 level rows, the 9 Gauntlet rows, the fallback
// record, and the hints' shape (paragraph count, length, first sentence).
#include "game/frontend/text/LevelDescriptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

struct LevelRow
{
    int level;
    int difficulty;
    const char* duration;
    const char* description;
};

struct GauntletRow
{
    int index;
    int difficulty;
    const char* waves;
    const char* duration;
    const char* description;
};

struct HintRow
{
    int level;
    int paragraphs;
    size_t length;
    const char* firstSentence;
};

std::vector<std::string> Paragraphs(std::string const& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find("\n\n", start);
        out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return out;
        start = end + 2;
    }
}

} // namespace

TEST(LevelDescriptions, EveryLevelRowAsTheCatalogueGivesIt)
{
    // clang-format off
    const std::vector<LevelRow> rows = {
        {0, 1, "15 seconds", "Like shooting fish in a barrel."},
        {1, 1, "30 seconds", "Kill the Carriers first!"},
        {2, 2, "1 minute", "This guy's pretty big... can you handle him on your own?"},
        {3, 1, "20 seconds", "These guys try to get around you..."},
        {4, 1, "35 seconds", "Kill the heads, and the rest will follow..."},
        {5, 1, "20 seconds", "Hulk smash!"},
        {6, 1, "35 seconds", "Don't let the Splicers surround you!"},
        {7, 2, "1 minute", "Two bosses? Don't waste your shots!"},
        {8, 1, "20 seconds", "Honestly, not what it looks like..."},
        {9, 2, "40 seconds", "Space Snakes? Are they like space cakes?"},
        {10, 2, "25 seconds", "Stop the Builders!"},
        {11, 2, "15 seconds", "Too many Hulks, too many Speeders!"},
        {12, 2, "20 seconds", "Splice! Splice! Nahh, not as catchy as 'snikt'..."},
        {13, 2, "30 seconds", "Seriously, stop those Builders..."},
        {14, 3, "35 seconds", "Drilling into the core is just playing dirty pool, Red!"},
        {15, 3, "1 minute", "It spawns spawns that spawn more spawns??"},
        {16, 1, "20 seconds", "Expendable? Really?"},
        {17, 1, "25 seconds", "Nameless Wanderers..."},
        {18, 2, "40 seconds", "Gunships in high orbit!"},
        {19, 2, "30 seconds", "Surrounded by Carriers..."},
        {20, 3, "20 seconds", "Predators, circling in for the kill..."},
        {21, 3, "40 seconds", "Shooting the Converters is... bad...?"},
        {22, 3, "35 seconds", "Mmmm, Starbursts! ... Owww!"},
        {23, 4, "1 minute", "You're under Lockdown!"},
        {24, 1, "20 seconds", "Poor, little Expendables... I feel for them. I mean, easy points! woo!"},
        {25, 3, "35 seconds", "Proven in battle, eh? We'll see about that."},
        {26, 4, "40 seconds", "Beacons summon way too many spawns!"},
        {27, 4, "30 seconds", "Lockdown those Carriers!"},
        {28, 4, "1 minute", "Convert those Gunships!"},
        {29, 4, "50 seconds", "Missile those Beacons...? That makes no sense."},
        {30, 4, "1.5 minutes", "Don't get locked down when there's a Carrier boss in orbit..."},
        {31, 5, "50 seconds", "Try not to get killed by a pinwheel, that's just embarassing..."},
        {32, 3, "40 seconds", "It's Christmas!"},
        {33, 4, "35 seconds", "No immediate threat?"},
        {34, 5, "35 seconds", "Take down those blockers!"},
        {35, 5, "35 seconds", "Please, no more Snakes..."},
        {36, 5, "30 seconds", "Some Builders are more important."},
        {37, 5, "50 seconds", "Starburst those Hives!"},
        {38, 6, "1.5 minutes", "Comboboss!"},
        {39, 6, "2 minutes", "Multiboss!"},
        {40, 4, "20 seconds", "Bait and Switch!"},
        {41, 6, "1.5 minutes", "Everything is an immediate threat??"},
        {42, 6, "30 seconds", "You're flanked!"},
        {43, 6, "50 seconds", "Hulk Rush!"},
        {44, 7, "1 minute", "Divided loyalties..."},
        {45, 6, "40 seconds", "Splice that Builder! Build that Splicer!"},
        {46, 6, "2 minutes", "Shot blocking..."},
        {47, 7, "2 minutes", "Protected Splicers!"},
        {48, 6, "1 minute", "Converter Chaos!"},
        {49, 6, "40 seconds", "Wandering Predators"},
        {50, 7, "1 minute", "Pillars of society"},
        {51, 7, "30 seconds", "Beacon and eggs"},
        {52, 8, "1 minute", "Crouching Lockdown, hidden Pillar"},
        {53, 7, "1 minute", "Late-game Lockdowns"},
        {54, 8, "1 minute", "Surrounded!"},
        {55, 8, "1 minute", "Just one Converter, that's all it takes..."},
        {56, 7, "30 seconds", "Break through!"},
        {57, 8, "1.5 minutes", "It's just one thing after another!"},
        {58, 8, "2 minutes", "Triple threat!"},
        {59, 8, "50 seconds", "Green phalanx!"},
        {60, 9, "1.5 minutes", "Quadraboss!"},
        {61, 8, "40 seconds", "Hulking Converters"},
        {62, 9, "1.5 minutes", "Splicer haven"},
        {63, 9, "2.5 minutes", "Pentaboss!"},
    };
    // clang-format on
    ASSERT_EQ(size_t(kLevelDescriptionCount), rows.size());
    for (LevelRow const& row : rows)
    {
        SCOPED_TRACE("level " + std::to_string(row.level));
        LevelDescription const* d = GetLevelDescription(row.level);
        ASSERT_EQ(&LevelDescriptions[row.level], d);
        EXPECT_EQ(row.difficulty, d->difficulty);
        EXPECT_STREQ("One", d->waves);
        EXPECT_STREQ(row.duration, d->duration);
        EXPECT_STREQ(row.description, d->description);
    }
}

TEST(LevelDescriptions, EveryGauntletRowAsTheCatalogueGivesIt)
{
    // clang-format off
    const std::vector<GauntletRow> rows = {
        {0, 1, "Eight", "5 minutes", "Red has arrived... survive these eight easy waves!"},
        {1, 2, "Eight", "5 minutes", "The Red units are teaming up now... try to keep up!"},
        {2, 3, "Eight", "5 minutes", "Green has entered the battle! Hold them off at all cost!"},
        {3, 4, "Eight", "6 minutes", "Watch out, Green is starting to use special tactics!"},
        {4, 5, "Eight", "7 minutes", "God help us... they're working together!"},
        {5, 6, "Eight", "8 minutes", "Red is swarming the planet... We must survive!"},
        {6, 7, "Eight", "8 minutes", "The full force of the Green horde is upon us! Flee!"},
        {7, 8, "Eight", "10 minutes", "It's all over... tell my wife... I said hello..."},
        {8, 9, "Sixty Four!", "45-65 minutes", "Anyone up for some Gauntlet 64?"},
    };
    // clang-format on
    ASSERT_EQ(size_t(kGauntletDescriptionCount), rows.size());
    for (GauntletRow const& row : rows)
    {
        SCOPED_TRACE("stage " + std::to_string(row.index));
        LevelDescription const& d = GauntletDescriptions[row.index];
        EXPECT_EQ(row.difficulty, d.difficulty);
        EXPECT_STREQ(row.waves, d.waves);
        EXPECT_STREQ(row.duration, d.duration);
        EXPECT_STREQ(row.description, d.description);
    }
}

TEST(LevelDescriptions, LevelsOutsideTheCatalogueGetTheFallback)
{
    for (int level : {-1, 64, -1000, 1 << 30, int(0x80000000u)})
    {
        SCOPED_TRACE(level);
        LevelDescription const* d = GetLevelDescription(level);
        ASSERT_NE(nullptr, d);
        EXPECT_EQ(1, d->difficulty);
        EXPECT_STREQ("One", d->waves);
        EXPECT_STREQ("Unknown Time", d->duration);
        EXPECT_STREQ("Unknown Description", d->description);
    }
    EXPECT_EQ(GetLevelDescription(-1), GetLevelDescription(64));
}

TEST(LevelHints, EveryHintHasItsLengthParagraphsAndFirstSentence)
{
    // clang-format off
    const std::vector<HintRow> rows = {
        {0, 2, 58, "There are only Red Peons in this wave."},
        {1, 2, 140, "The Red Carriers in this level need to be dealt with quickly."},
        {2, 2, 208, "The first boss!"},
        {3, 2, 170, "Red Drifters circle around the planet, slowly closing in on it."},
        {4, 2, 181, "Snakes!"},
        {5, 2, 179, "Red Hulks are just like the Red Peons, but a bit slower and a lot tougher."},
        {6, 2, 307, "Red Splicers are dangerous!"},
        {7, 2, 96, "Two bosses at once!"},
        {8, 2, 135, "Peons are teaming up with Streamers..."},
        {9, 2, 198, "The Carriers are the bigger threat in this wave, but the Snakes will block your shots with their bodies if you let them!"},
        {10, 2, 174, "Builders leave nasty blockers in your orbit, which won't go away between levels!"},
        {11, 2, 198, "Hulks and Speeders are teaming up here."},
        {12, 2, 246, "The Splicers are definitely the biggest threat in this wave, but deal carefully with the Hives..."},
        {13, 2, 187, "The Builders are getting a bit more organized now, trying to block you from killing specific Carriers and Streamers that come in later."},
        {14, 3, 209, "The Hives are back, and they're here to distract you from a new threat - the Driller!"},
        {15, 2, 197, "This boss spawns Red Carriers, that spawn more Red Streamers in turn!"},
        {16, 2, 150, "The Greens go as far as to call these units \"Expendable\"..."},
        {17, 3, 252, "Green Wanderers are urged into battle as all Greens are, but they're more cautious..."},
        {18, 2, 133, "Green Gunships prefer to stay high up in orbit, sending Green Wanderers down at a distance."},
        {19, 2, 273, "Green Carriers shoot four Green Missiles at a time!"},
        {20, 2, 186, "Green Predators also prefer to encircle their enemies, and are quite fast about it."},
        {21, 2, 242, "The Green Converter will not cause you any threat until you shoot it - when you do, it will convert your shots into Green missiles!"},
        {22, 3, 237, "The Starburst enemy shoots a whopping six Green Missiles at a time!"},
        {23, 2, 264, "The Green Lockdown boss encircles the entire planet with strong shields, making it next to impossible to shoot past it."},
        {24, 3, 176, "The Greens don't think much of these Expendables, so they sent some Missiles along with them!"},
        {25, 2, 171, "The Green Proven enemy is an upgraded Expendable - it basically has ten times the shielding."},
        {26, 2, 171, "Beacons, if allowed to count down, will summon Carriers, Proven, and Wanderers all at once!"},
        {27, 2, 137, "Now the Lockdown is blocking you from Carriers!"},
        {28, 2, 192, "Don't let the Converters swamp you!"},
        {29, 2, 145, "Destroy the Beacons as they come up, they're definitely the largest threat here..."},
        {30, 2, 240, "This Lockdown is covering up one of the most dangerous bosses in the game!"},
        {31, 1, 184, "The Starburst boss is a strange threat - be sure to kill the Starbursts as they are spawned, because if they are allowed to live they will divide your firepower far away from the boss."},
        {32, 2, 164, "The Red Hulks and the Green Proven are teaming up here!"},
        {33, 2, 255, "The Green Converters are only a threat because they eventually block your shots on the Red Peons."},
        {34, 2, 192, "There are some blockers here, but no Builders building more of them."},
        {35, 3, 172, "This time, the Lockdown is guarding..."},
        {36, 2, 192, "Red Builders are getting in the way of Green Beacons!"},
        {37, 1, 101, "The Starbursts are definitely the more immediate threat, but don't let those Hives build up too much!"},
        {38, 2, 216, "The Predators spawned here are really no more than a distraction."},
        {39, 3, 300, "This level is tough."},
        {40, 2, 253, "Be thorough when cleaning up the enemies in one direction, because faster enemies will soon be coming from the other direction!"},
        {41, 2, 156, "Take out the Drillers as soon as they come up!"},
        {42, 2, 170, "Destroy as many streamers as possible as quickly as possible, so you can concentrate on the Builders!"},
        {43, 2, 268, "Try to punch through the blockers to get to the Carriers early on, the fewer Carriers the better."},
        {44, 2, 240, "The Red Streamer boss is weaker, but is a threat because it splits your attention and firepower."},
        {45, 2, 205, "The Builders would normally be the highest priority, but there are enough Splicers that you really need to take them down first!"},
        {46, 2, 308, "The smaller Red Boss protects a whole line of Red Carriers spawned behind it, and is a large threat."},
        {47, 2, 295, "The Splicers spawn in the midst of the Snakes, with good reason: they're the biggest threat!"},
        {48, 2, 272, "You should destroy the Converters as soon as possible, because they'll quickly clutter up your firing field."},
        {49, 3, 285, "In the end, the Predators will be the last thing to hit the planet."},
        {50, 3, 247, "The Green Pillar is an interesting enemy, because until you've destroyed the top enemy in the pillar, it will just get taller and taller!"},
        {51, 2, 287, "There are a lot of Beacons here!"},
        {52, 2, 254, "Kill the Pillars first!"},
        {53, 2, 253, "Destroy the Carriers as quickly as possible, then if the Lockdowns haven't arrived yet, kill off one or two of the Converters."},
        {54, 2, 252, "The Green Proven enemies look like they're far away at the beginning, but there are so many of them, you'll be hard-pressed to kill them all before they hit the planet!"},
        {55, 2, 251, "Clear out the field of Proven enemies in front of the Predator boss, because a Converter will eventually show up in that direction."},
        {56, 2, 311, "You should break through the central wall of Green Proven to get at those dangerous Red Splicers first!"},
        {57, 3, 263, "Basically, deal with the enemies as they come, in order!"},
        {58, 2, 216, "Clear out the Red Streamers as they come, so that you're not distracted when the Lockdowns come!"},
        {59, 2, 275, "When the giant phalanx of Green Carriers comes in, do your best to cut them down before they have a chance to spawn Missiles at you."},
        {60, 2, 233, "The two Green bosses are more of a threat than the Red bosses, due to the high number of Expendables they spawn at you."},
        {61, 1, 192, "Though you can win by destroying each Converter-Hulk group one at a time, it will take a lot of pressure off if you kill the Converters first, then make the rounds, destroying the Hulks after."},
        {62, 2, 299, "Those Red Splicers are the most dangerous thing in this whole level, and it will take a lot of concentration to take them down in time."},
        {63, 2, 217, "Consider carefully the order in which you kill the bosses - which one poses the most threat?"},
    };
    // clang-format on
    ASSERT_EQ(size_t(kLevelDescriptionCount), rows.size());
    for (HintRow const& row : rows)
    {
        SCOPED_TRACE("hint " + std::to_string(row.level));
        std::string const& hint = GetLevelHint(row.level);
        EXPECT_EQ(row.length, hint.size());
        EXPECT_EQ(0u, hint.rfind(row.firstSentence, 0)) << hint;
        const std::vector<std::string> paragraphs = Paragraphs(hint);
        EXPECT_EQ(size_t(row.paragraphs), paragraphs.size()) << hint;
        for (std::string const& p : paragraphs)
        {
            // No stray line breaks, empty paragraphs or edge spaces.
            EXPECT_FALSE(p.empty());
            EXPECT_EQ(std::string::npos, p.find('\n')) << p;
            EXPECT_NE(' ', p.front()) << p;
            EXPECT_NE(' ', p.back()) << p;
            EXPECT_EQ(std::string::npos, p.find("  ")) << p;
        }
        // Plain printable ASCII: the menu font has nothing else.
        for (char c : hint)
            EXPECT_TRUE(c == '\n' || (c >= 32 && c < 127)) << int(c);
        // A hint ends a sentence.
        EXPECT_NE(std::string::npos, std::string(".!?").find(hint.back())) << hint;
    }
}

TEST(LevelHints, LevelsOutsideTheCatalogueReadUnknownLevel)
{
    for (int level : {64, -5, -1, 1000, int(0x80000000u)})
        EXPECT_EQ("Unknown Level", GetLevelHint(level)) << level;
    // One string serves them all and the references stay put.
    EXPECT_EQ(&GetLevelHint(64), &GetLevelHint(-5));
    EXPECT_EQ(&GetLevelHint(0), &GetLevelHint(0));
    EXPECT_EQ(58u, GetLevelHint(0).size());
    EXPECT_EQ(0u, GetLevelHint(0).rfind("There are only Red Peons in this wave.", 0));
}
