#include "game/frontend/text/LevelDescriptions.h"

std::string const& GetLevelHint(int level)
{
    // Built together on the first call; the strings live until exit.
    // clang-format off
    static const std::string hints[kLevelDescriptionCount] = {
        // 0
        "There are only Red Peons in this wave.\n\n"
        "Take them all out!",
        // 1
        "The Red Carriers in this level need to be dealt with quickly.\n\n"
        "Each Carrier launches pairs of Red Streamers that all home in on your planet.",
        // 2
        "The first boss! He launches Red Streamers at you in waves, and a single blast from the "
        "planet cannon won't kill him.\n\n"
        "Keep one finger on the boss, and pick off the Carriers behind him as soon as they show "
        "up.",
        // 3
        "Red Drifters circle around the planet, slowly closing in on it.\n\n"
        "Don't chase them around! Aim a little ahead of the pack and let them fly straight into "
        "your line of fire.",
        // 4
        "Snakes! Their bodies soak up lots of shots, but the head is the only part that "
        "counts.\n\n"
        "Kill the head, and the whole body goes with it. Go for the front of each Snake, not "
        "the tail!",
        // 5
        "Red Hulks are just like the Red Peons, but a bit slower and a lot tougher. They start "
        "close!\n\n"
        "Keep a steady stream of fire on the Hulks, and leave the Peons behind them for later.",
        // 6
        "Red Splicers are dangerous! They launch Red Hulks at you while they close in, and if "
        "you give them time, they split off two halves. Each half fires Streamers and splits "
        "off more...\n\n"
        "Kill each Splicer before it gets to split. If it does, take out the halves right away, "
        "or they'll spread beyond your control!",
        // 7
        "Two bosses at once!\n\n"
        "Focus on one boss at a time, and don't forget the Splicer that comes later!",
        // 8
        "Peons are teaming up with Streamers... from every direction!\n\n"
        "Take out the Peons first, then sweep around the planet for the Streamers.",
        // 9
        "The Carriers are the bigger threat in this wave, but the Snakes will block your shots "
        "with their bodies if you let them!\n\n"
        "Shoot the Snake heads to clear a path, then go for the Carriers behind them.",
        // 10
        "Builders leave nasty blockers in your orbit, which won't go away between levels!\n\n"
        "Take out the Builders on both sides before they build anything, then clean up the "
        "Streamers.",
        // 11
        "Hulks and Speeders are teaming up here. The Hulks come in a wide wall that soaks up a "
        "lot of shots.\n\n"
        "Don't let them keep you busy for too long, because the Speeders come racing in right "
        "behind them!",
        // 12
        "The Splicers are definitely the biggest threat in this wave, but deal carefully with "
        "the Hives...\n\n"
        "The longer a Hive lives, the more Streamers it will release when it explodes. Kill the "
        "Splicers first, then go after the Hives before they fill up!",
        // 13
        "The Builders are getting a bit more organized now, trying to block you from killing "
        "specific Carriers and Streamers that come in later.\n\n"
        "Kill the Builders before they can put up Blockers!",
        // 14
        "The Hives are back, and they're here to distract you from a new threat - the "
        "Driller!\n\n"
        "Once a Driller lands, it will keep setting off bombs in the core until you kill "
        "it.\n\n"
        "Destroy the Drillers, then the Hives!",
        // 15
        "This boss spawns Red Carriers, that spawn more Red Streamers in turn!\n\n"
        "Kill every Carrier the moment it appears. Work on the boss in between Carriers, and "
        "don't let the Drifters or Peons slip past!",
        // 16
        "The Greens go as far as to call these units \"Expendable\"...\n\n"
        "They crawl forward, then suddenly rush ahead. Watch the last group, it comes all at "
        "once!",
        // 17
        "Green Wanderers are urged into battle as all Greens are, but they're more "
        "cautious...\n\n"
        "They zip sideways and then stop, trying to slip past your fire.\n\n"
        "Lead your shots a little. When the Expendables come in single file, hold your aim "
        "right on the line!",
        // 18
        "Green Gunships prefer to stay high up in orbit, sending Green Wanderers down at a "
        "distance.\n\n"
        "Kill the Gunships before they send more!",
        // 19
        "Green Carriers shoot four Green Missiles at a time! They're tough, and every one of "
        "them adds more Missiles to the fight.\n\n"
        "Kill the first three Carriers right away. When the big line of Carriers arrives, sweep "
        "across it as quickly as you can, and don't forget the Missiles!",
        // 20
        "Green Predators also prefer to encircle their enemies, and are quite fast about "
        "it.\n\n"
        "Kill the head of each Predator, and its whole tail goes down with it! Then clear out "
        "the Expendables.",
        // 21
        "The Green Converter will not cause you any threat until you shoot it - when you do, it "
        "will convert your shots into Green missiles!\n\n"
        "Leave the Converters alone! Take out the Proven, and be careful not to hit the "
        "Converters sitting in between!",
        // 22
        "The Starburst enemy shoots a whopping six Green Missiles at a time!\n\n"
        "The Missiles fly out in every direction, then turn around and head for your "
        "planet.\n\n"
        "Destroy each Starburst as soon as it shows up, and leave the Expendables for later!",
        // 23
        "The Green Lockdown boss encircles the entire planet with strong shields, making it "
        "next to impossible to shoot past it.\n\n"
        "Kill the Lockdown, and its shields go down with it. Then get the Starbursts, ignore "
        "the Converter, and stop the Beacons before they count down!",
        // 24
        "The Greens don't think much of these Expendables, so they sent some Missiles along "
        "with them!\n\n"
        "Clear out the Expendables early on.\n\n"
        "The Missiles home in fast, so get them next!",
        // 25
        "The Green Proven enemy is an upgraded Expendable - it basically has ten times the "
        "shielding.\n\n"
        "Take out the Starbursts first, and then work your way through all the Proven.",
        // 26
        "Beacons, if allowed to count down, will summon Carriers, Proven, and Wanderers all at "
        "once!\n\n"
        "Destroy each Beacon before it counts down, then deal with all the Expendables.",
        // 27
        "Now the Lockdown is blocking you from Carriers!\n\n"
        "Kill the Carriers first, before the rings close in around you, then go for the "
        "Lockdown.",
        // 28
        "Don't let the Converters swamp you! They'll land all around the planet and soak up "
        "your shots.\n\n"
        "Aim around those Converters, and take down the Gunships before they fill the sky with "
        "Wanderers!",
        // 29
        "Destroy the Beacons as they come up, they're definitely the largest threat here...\n\n"
        "The Missiles can wait, just don't let them reach your planet!",
        // 30
        "This Lockdown is covering up one of the most dangerous bosses in the game!\n\n"
        "That boss keeps spawning Green Carriers. Break through the Lockdown as fast as you "
        "can, then kill every Carrier as it appears, and chip away at the boss in between.",
        // 31
        "The Starburst boss is a strange threat - be sure to kill the Starbursts as they are "
        "spawned, because if they are allowed to live they will divide your firepower far away "
        "from the boss.",
        // 32
        "The Red Hulks and the Green Proven are teaming up here!\n\n"
        "Clear out the Peons and Expendables quickly, so you can focus on the Hulks and the "
        "Proven when they arrive.",
        // 33
        "The Green Converters are only a threat because they eventually block your shots on the "
        "Red Peons.\n\n"
        "Take out the Hives first, before they fill up with Red Streamers. When the Red Peons "
        "show up, aim around the Converters - whatever you do, don't shoot them!",
        // 34
        "There are some blockers here, but no Builders building more of them.\n\n"
        "Punch a hole in the ring of Blockers and shoot the Gunships through it as they pass. "
        "Don't forget the Wanderers they drop!",
        // 35
        "This time, the Lockdown is guarding... Snakes!\n\n"
        "Shoot the Snake heads while you can, before the Lockdown shows up.\n\n"
        "Once it arrives, kill it fast to bring down its shields!",
        // 36
        "Red Builders are getting in the way of Green Beacons!\n\n"
        "Kill the Builders in front of the Beacons first, so their Blockers can't shield the "
        "Beacons. Then kill each Beacon before it counts down!",
        // 37
        "The Starbursts are definitely the more immediate threat, but don't let those Hives "
        "build up too much!",
        // 38
        "The Predators spawned here are really no more than a distraction.\n\n"
        "Focus on the boss, but don't let the Peons and Expendables slip by. When the two "
        "weaker bosses show up, kill them first, then finish off the big one!",
        // 39
        "This level is tough.\n\n"
        "A Starburst boss, a Carrier boss, and a Lockdown all show up, and the Lockdown's "
        "shields will soon cover everything.\n\n"
        "Kill every Starburst and Carrier as soon as it spawns, then bring the Lockdown down. "
        "The bosses are weaker than usual, so go after them once the field is clear!",
        // 40
        "Be thorough when cleaning up the enemies in one direction, because faster enemies will "
        "soon be coming from the other direction!\n\n"
        "The Peons come first, then Streamers from the other side. Then turn around! The "
        "Speeders race in right where the Peons were!",
        // 41
        "Take out the Drillers as soon as they come up!\n\n"
        "A Driller that lands on the planet keeps setting off bombs until you kill it. Work on "
        "the boss between them.",
        // 42
        "Destroy as many streamers as possible as quickly as possible, so you can concentrate "
        "on the Builders!\n\n"
        "Then take out the Builders, and keep the Drifters from circling in!",
        // 43
        "Try to punch through the blockers to get to the Carriers early on, the fewer Carriers "
        "the better.\n\n"
        "The Hulks come in pairs, spreading out from behind the blockers. Once the Carriers are "
        "gone, sweep back and forth across the Hulks, and keep the Streamers off your back!",
        // 44
        "The Red Streamer boss is weaker, but is a threat because it splits your attention and "
        "firepower.\n\n"
        "Take down the Streamer boss first, then work on the Carrier boss, killing its Carriers "
        "as they spawn. Watch for the two Drillers near the end!",
        // 45
        "The Builders would normally be the highest priority, but there are enough Splicers "
        "that you really need to take them down first!\n\n"
        "Once the Splicers are down, go for the Builders before the Drifters arrive.",
        // 46
        "The smaller Red Boss protects a whole line of Red Carriers spawned behind it, and is a "
        "large threat.\n\n"
        "Break through it quickly, so you can get at the Carrier boss and the Carriers behind "
        "it. The Hives show up on both sides later, so take them out before they fill up, or "
        "they'll flood the sky with Streamers!",
        // 47
        "The Splicers spawn in the midst of the Snakes, with good reason: they're the biggest "
        "threat!\n\n"
        "Kill each Splicer as soon as it shows up, before it can split, and keep the Snake "
        "heads away from the planet. Don't forget the Hives coming in from the side, and chip "
        "away at the boss whenever you can!",
        // 48
        "You should destroy the Converters as soon as possible, because they'll quickly clutter "
        "up your firing field.\n\n"
        "Shooting them will spawn Green Missiles, so be ready for them. Then focus on the boss, "
        "and keep the stream of Expendables from getting through while you're at it!",
        // 49
        "In the end, the Predators will be the last thing to hit the planet.\n\n"
        "They start close on the far side, so don't forget about them, but clear out the "
        "Expendables and Wanderers first, before they pile up.\n\n"
        "Leave the Converter alone! Kill the Predator heads, and their tails go with them.",
        // 50
        "The Green Pillar is an interesting enemy, because until you've destroyed the top enemy "
        "in the pillar, it will just get taller and taller!\n\n"
        "Shoot the top of each Pillar first. Pillars fire Wanderers, too!\n\n"
        "Then go for the Predators and Expendables!",
        // 51
        "There are a lot of Beacons here! Kill the first one right away, along with the two "
        "Starbursts next to it.\n\n"
        "Then a long line of Beacons comes in, one after another. Sweep along the line and "
        "destroy each Beacon before it finishes its countdown, or you'll be facing a whole "
        "swarm of Greens!",
        // 52
        "Kill the Pillars first! They grow taller and taller while the Lockdowns keep your "
        "shots busy.\n\n"
        "The Pillars on the far side are easy to miss behind the shields. Once the Pillars are "
        "down, take out the Lockdowns one at a time to open up your field of fire!",
        // 53
        "Destroy the Carriers as quickly as possible, then if the Lockdowns haven't arrived "
        "yet, kill off one or two of the Converters.\n\n"
        "The Converters land close to the planet, and will start blocking your shots. Take out "
        "both Lockdowns as soon as they show up!",
        // 54
        "The Green Proven enemies look like they're far away at the beginning, but there are so "
        "many of them, you'll be hard-pressed to kill them all before they hit the planet!\n\n"
        "Keep your aim moving around the planet, and don't forget the Gunships behind them!",
        // 55
        "Clear out the field of Proven enemies in front of the Predator boss, because a "
        "Converter will eventually show up in that direction.\n\n"
        "Keep most of your fire on the Proven, and hit the boss whenever you get a clear shot. "
        "Kill its Predators as they come!",
        // 56
        "You should break through the central wall of Green Proven to get at those dangerous "
        "Red Splicers first!\n\n"
        "Pick a spot right in front of the Splicers and keep firing until you break through. "
        "Once the Splicers are dead, turn on the two Starbursts on either side, then work your "
        "way through what's left of the wall.",
        // 57
        "Basically, deal with the enemies as they come, in order!\n\n"
        "Take the first Driller down fast, then the Peons and the Pillars behind them.\n\n"
        "Two more Drillers show up on the side, followed by the Carrier boss. Kill the Drillers "
        "first, then the Carriers as they spawn!",
        // 58
        "Clear out the Red Streamers as they come, so that you're not distracted when the "
        "Lockdowns come!\n\n"
        "Once the Lockdowns show up, kill them one at a time to bring down the shields, then go "
        "back to work on the two bosses.",
        // 59
        "When the giant phalanx of Green Carriers comes in, do your best to cut them down "
        "before they have a chance to spawn Missiles at you.\n\n"
        "Destroy the Hives before they fill up, and be ready for a fast line of Speeders coming "
        "in right behind the phalanx near the end of the level!",
        // 60
        "The two Green bosses are more of a threat than the Red bosses, due to the high number "
        "of Expendables they spawn at you.\n\n"
        "The Green bosses are also the weaker two, so take them out first, then turn on the two "
        "Red bosses one at a time.",
        // 61
        "Though you can win by destroying each Converter-Hulk group one at a time, it will take "
        "a lot of pressure off if you kill the Converters first, then make the rounds, "
        "destroying the Hulks after.",
        // 62
        "Those Red Splicers are the most dangerous thing in this whole level, and it will take "
        "a lot of concentration to take them down in time.\n\n"
        "They hide behind a column of Green Carriers, so punch through it before the Splicers "
        "get close. The three bosses come later; by then, the Splicers should be gone!",
        // 63
        "Consider carefully the order in which you kill the bosses - which one poses the most "
        "threat?\n\n"
        "The Carrier boss spawns Carriers that will spawn Missiles, so it's probably the one to "
        "kill first. Then deal with the rest!",
    };
    // clang-format on
    static const std::string unknown = "Unknown Level";
    if (level < 0 || level >= kLevelDescriptionCount)
        return unknown;
    return hints[level];
}
