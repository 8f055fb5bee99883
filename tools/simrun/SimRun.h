// simrun: runs one game headless at 30 ticks a second and prints a trace,
// one line per tick (or every Nth, and always for tick 0 and the last): the
// tick, a hash of the saved form and the main counters; at the end the score
// entry. Equal arguments give equal
// traces, which is what replays, golden traces and bug reports rest on.
//
//   simrun --seed N --mode M [--level L] [--wave W] [--ticks T] [--every N]
//          [--script file] [--save-at K file] [--load file]
//
// A script gives the input per tick, one command a line ("#" starts a
// comment); a command holds from its tick on until changed:
//   <tick> aim <id> <angle>           aim id at a fixed angle (radians)
//   <tick> spin <id> <angle> <rate>   aim id turning by rate radians a tick
//   <tick> release <id>               the aim lifts
//   <tick> cannon <x> <y>             the cannon drag held at world (x, y)
//                                     (ignored while the tutorial locks it)
//   <tick> cannon-up                  the drag released (the point stays)
//   <tick> continue                   the tutorial's continue tap
//   <tick> pause | resume             the player pauses; no ticks run
// Commands act before the tick of their number runs (ticks count from 1).
#pragma once

#include "game/simulation/GameMode.h"

#include <iosfwd>
#include <string>

struct SimRunOptions
{
    unsigned seed = 1;
    int mode = GameMode::Classic; // its number, as given to --mode
    int level = -1; // none: the modes that start at a level need one
    int wave = 1;
    int ticks = 3000;
    int every = 1;
    std::string scriptPath;
    int saveAt = -1;
    std::string savePath;
    std::string loadPath;
};

// False, with a message, on unknown or malformed arguments, and when a mode
// that starts at a level (GameMode::StartsAtLevel) has no --level from 0 to 63.
bool ParseSimRunArguments(int argc, char const* const* argv, SimRunOptions& options, std::string& error);

// Runs the game and writes the trace; 0 on success, 1 when the script or a
// file cannot be used (reported through the log).
int RunSimulation(SimRunOptions const& options, std::ostream& out);
