#include "game/frontend/text/HelpTexts.h"

#include "game/frontend/Page.h"

namespace
{

const int kFirstHelpPage = Page::ScoreKeeping;
const int kHelpPageCount = Page::SpawnerBosses - Page::ScoreKeeping + 1;

const char* const kHelpTexts[kHelpPageCount] = {
    // 30: Score Keeping
    "Your score will go up faster as you advance through the levels. This is because of the score "
    "multiplier.\n\nThe multiplier grows as you kill enemies, and it grows fastar in higher waves.\n\nEach "
    "enemy is worth a certain number of points, but the higher the multiplier is, the more points you "
    "get!\n\nDon't get hit! When an enemy hits your planet, the multiplier will be cut to 75% of its value.",
    // 31: Achievements
    "There are three achievements to collect in each wave and gauntlet wave set:\n\n1) Kill Count - Destroy "
    "a certain number of enemies. To kill more, you can allow spawners to live a little longer.\n\n2) No "
    "Planet Cannon -\nDon't rely on that cannon!\n\n3) Perfection - Complete the level without losing a "
    "single life!",
    // 32: Shooting
    "Standard firing control involves tilting the device to shoot bullets \"straight up\". If the device is "
    "too flat to the ground, the input will not register. The tilt controls can be turned off, if you prefer "
    "touch-only controls.\n\nMultiple touches can direct your shots in more than one direction! When firing "
    "with multitouch, the shots are divided between the targets, so you don't do any more damage.\n\nTarget "
    "locks can be acquired by double-tapping. You can move the targets by dragging, or clear them by "
    "tapping once more.",
    // 33: Lock Tactics
    "An advanced user might consider using target locks (double-tap) to help focus their attention on "
    "threatening enemies.\n\nAcquiring a lock on a large enemy, or on areas containing many enemies, frees "
    "up your fingers to target other, more threatening enemies.\n\nShots are divided evenly among all "
    "targets, so acquiring 3 locks near an enemy and actively selecting a 4th will send 25% of your "
    "firepower to the active target, and 75% to the locks.",
    // 34: Planet Cannon
    "Those maniacs! They've gone and built a cannon the size of the planet!\n\nTo shoot the planet cannon, "
    "touch the planet and drag in the direction you want to shoot.\n\nYou have a limited number of cannon "
    "shots per game, so use them only in dire emergencies!",
    // 35: General Strategy
    "In general, the most dangerous enemies are the ones that can spawn more enemies. If you leave them "
    "alone, you might get overrun!\n\nIn infinite mode, it's always best to deal with these enemies as "
    "quickly as possible.\n\nIn gauntlet mode, where the number of waves is finite, you might want to "
    "maximize your score by leaving these spawners alive a little longer - the more enemies they spawn, the "
    "more points you'll get!",
    // 36: How Many??
    "There are 24 different types of enemies! They all have their own unique behaviours, so do your best to "
    "learn them all, and figure out how best to destroy each one.\n\nOn top of that, there are 9 different "
    "bosses, all of which can easily withstand a single blast from the planet cannon!\n\nDon't worry though "
    "- a second blast will always finish them off...",
    // 37: Basic Enemies
    "These enemies do nothing more than directly attack your planet.\n\nSome fall straight down to the "
    "planet, others drift around or encircle it.\n\nThey are the easiest enemies to defeat.\n\nBut watch "
    "out for the red and green Hulks - their shields are strong enough to seriously slow you down!",
    // 38: Spawners
    "Some enemies can create more enemies! Destroy these enemies first, so they don't have time to "
    "spawn.\n\nThis is especially true for the red Hive and the green Beacon:\n\nThe Hive creates more "
    "enemies inside itself - and when it explodes, it releases them all!\n\nThe green Beacon, if allowed to "
    "count down, will spawn many tough enemies.",
    // 39: Landers
    "These enemies actually land on your planet!\n\nThe red Driller is an immediate threat - it will burrow "
    "into the planet's core, and detonate a huge bomb!\n\nThe green Converter can actually be ignored as "
    "long as you want... but when you start shooting it, it will convert your shots into green Missiles!",
    // 40: Builders
    "The red Builder is unique.\n\nIt creates giant Blockers in space, with a ton of shielding! Anything "
    "behind a Blocker will be shielded until you can destroy the Blocker.\n\nWhat makes them even more "
    "dangerous is that the Blockers don't disappear between levels!",
    // 41: Bosses
    "Bosses have a huge amount of shielding...\n\nIf you're not concentrating on killing spawner types or "
    "Builders, you should definitely be concentrating most of your firepower on these guys!\n\nSome are "
    "stronger than others... If you're facing more than one boss, destroying the weaker one first will let "
    "you concentrate your firepower more effectively.",
    // 42: Spawner Bosses
    "These bosses spawn more enemies... that will then spawn more enemies!!\n\nBy far, these are the most "
    "threatening bosses in the game.\n\nThe red and green Carrier bosses spawn more Carriers, and the green "
    "Starburst boss will create Starburst enemies. If the Carriers and Starbursts are not destroyed quickly, "
    "you'll be overrun with more enemies than you can handle!",
};

} // namespace

const char* GetHelpText(int page)
{
    const int index = page - kFirstHelpPage;
    if (index < 0 || index >= kHelpPageCount)
        return nullptr;
    return kHelpTexts[index];
}

const char* const kEndlessTip =
    "Survival is key, don't let those spawns get out of control!\n\nTo maximize your score in infinite mode, "
    "you must survive longer. You get more multiplier points the higher the wave is, which makes your score "
    "actually accelerate!\n\nDefeat enemies as quickly as possible!";

const char* const kGauntletTip =
    "Each gauntlet mode has a set number of levels that you play in a row. That means you have to maximize "
    "your score in each level, not just survive!\n\nYou should leave spawner enemies and bosses alive as "
    "long as possible, so they give you more enemies to kill!";
