#include "game/frontend/text/LevelDescriptions.h"

// clang-format off
const LevelDescription LevelDescriptions[kLevelDescriptionCount] = {
    {1, "One", "15 seconds", "Like shooting fish in a barrel."}, // 0
    {1, "One", "30 seconds", "Kill the Carriers first!"}, // 1
    {2, "One", "1 minute", "This guy's pretty big... can you handle him on your own?"}, // 2
    {1, "One", "20 seconds", "These guys try to get around you..."}, // 3
    {1, "One", "35 seconds", "Kill the heads, and the rest will follow..."}, // 4
    {1, "One", "20 seconds", "Hulk smash!"}, // 5
    {1, "One", "35 seconds", "Don't let the Splicers surround you!"}, // 6
    {2, "One", "1 minute", "Two bosses? Don't waste your shots!"}, // 7
    {1, "One", "20 seconds", "Honestly, not what it looks like..."}, // 8
    {2, "One", "40 seconds", "Space Snakes? Are they like space cakes?"}, // 9
    {2, "One", "25 seconds", "Stop the Builders!"}, // 10
    {2, "One", "15 seconds", "Too many Hulks, too many Speeders!"}, // 11
    {2, "One", "20 seconds", "Splice! Splice! Nahh, not as catchy as 'snikt'..."}, // 12
    {2, "One", "30 seconds", "Seriously, stop those Builders..."}, // 13
    {3, "One", "35 seconds", "Drilling into the core is just playing dirty pool, Red!"}, // 14
    {3, "One", "1 minute", "It spawns spawns that spawn more spawns??"}, // 15
    {1, "One", "20 seconds", "Expendable? Really?"}, // 16
    {1, "One", "25 seconds", "Nameless Wanderers..."}, // 17
    {2, "One", "40 seconds", "Gunships in high orbit!"}, // 18
    {2, "One", "30 seconds", "Surrounded by Carriers..."}, // 19
    {3, "One", "20 seconds", "Predators, circling in for the kill..."}, // 20
    {3, "One", "40 seconds", "Shooting the Converters is... bad...?"}, // 21
    {3, "One", "35 seconds", "Mmmm, Starbursts! ... Owww!"}, // 22
    {4, "One", "1 minute", "You're under Lockdown!"}, // 23
    {1, "One", "20 seconds", "Poor, little Expendables... I feel for them. I mean, easy points! woo!"}, // 24
    {3, "One", "35 seconds", "Proven in battle, eh? We'll see about that."}, // 25
    {4, "One", "40 seconds", "Beacons summon way too many spawns!"}, // 26
    {4, "One", "30 seconds", "Lockdown those Carriers!"}, // 27
    {4, "One", "1 minute", "Convert those Gunships!"}, // 28
    {4, "One", "50 seconds", "Missile those Beacons...? That makes no sense."}, // 29
    {4, "One", "1.5 minutes", "Don't get locked down when there's a Carrier boss in orbit..."}, // 30
    {5, "One", "50 seconds", "Try not to get killed by a pinwheel, that's just embarassing..."}, // 31
    {3, "One", "40 seconds", "It's Christmas!"}, // 32
    {4, "One", "35 seconds", "No immediate threat?"}, // 33
    {5, "One", "35 seconds", "Take down those blockers!"}, // 34
    {5, "One", "35 seconds", "Please, no more Snakes..."}, // 35
    {5, "One", "30 seconds", "Some Builders are more important."}, // 36
    {5, "One", "50 seconds", "Starburst those Hives!"}, // 37
    {6, "One", "1.5 minutes", "Comboboss!"}, // 38
    {6, "One", "2 minutes", "Multiboss!"}, // 39
    {4, "One", "20 seconds", "Bait and Switch!"}, // 40
    {6, "One", "1.5 minutes", "Everything is an immediate threat??"}, // 41
    {6, "One", "30 seconds", "You're flanked!"}, // 42
    {6, "One", "50 seconds", "Hulk Rush!"}, // 43
    {7, "One", "1 minute", "Divided loyalties..."}, // 44
    {6, "One", "40 seconds", "Splice that Builder! Build that Splicer!"}, // 45
    {6, "One", "2 minutes", "Shot blocking..."}, // 46
    {7, "One", "2 minutes", "Protected Splicers!"}, // 47
    {6, "One", "1 minute", "Converter Chaos!"}, // 48
    {6, "One", "40 seconds", "Wandering Predators"}, // 49
    {7, "One", "1 minute", "Pillars of society"}, // 50
    {7, "One", "30 seconds", "Beacon and eggs"}, // 51
    {8, "One", "1 minute", "Crouching Lockdown, hidden Pillar"}, // 52
    {7, "One", "1 minute", "Late-game Lockdowns"}, // 53
    {8, "One", "1 minute", "Surrounded!"}, // 54
    {8, "One", "1 minute", "Just one Converter, that's all it takes..."}, // 55
    {7, "One", "30 seconds", "Break through!"}, // 56
    {8, "One", "1.5 minutes", "It's just one thing after another!"}, // 57
    {8, "One", "2 minutes", "Triple threat!"}, // 58
    {8, "One", "50 seconds", "Green phalanx!"}, // 59
    {9, "One", "1.5 minutes", "Quadraboss!"}, // 60
    {8, "One", "40 seconds", "Hulking Converters"}, // 61
    {9, "One", "1.5 minutes", "Splicer haven"}, // 62
    {9, "One", "2.5 minutes", "Pentaboss!"}, // 63
};

const LevelDescription GauntletDescriptions[kGauntletDescriptionCount] = {
    {1, "Eight", "5 minutes", "Red has arrived... survive these eight easy waves!"}, // 0
    {2, "Eight", "5 minutes", "The Red units are teaming up now... try to keep up!"}, // 1
    {3, "Eight", "5 minutes", "Green has entered the battle! Hold them off at all cost!"}, // 2
    {4, "Eight", "6 minutes", "Watch out, Green is starting to use special tactics!"}, // 3
    {5, "Eight", "7 minutes", "God help us... they're working together!"}, // 4
    {6, "Eight", "8 minutes", "Red is swarming the planet... We must survive!"}, // 5
    {7, "Eight", "8 minutes", "The full force of the Green horde is upon us! Flee!"}, // 6
    {8, "Eight", "10 minutes", "It's all over... tell my wife... I said hello..."}, // 7
    {9, "Sixty Four!", "45-65 minutes", "Anyone up for some Gauntlet 64?"}, // 8
};
// clang-format on

namespace
{
const LevelDescription kUnknownLevel = {1, "One", "Unknown Time", "Unknown Description"};
} // namespace

LevelDescription const* GetLevelDescription(int level)
{
    if (level < 0 || level >= kLevelDescriptionCount)
        return &kUnknownLevel;
    return &LevelDescriptions[level];
}
