// A scripted input session for tests: lines of a frame number and an SDL
// event, pushed into the event queue before the frame they name, so that
// several fingers, tilt, keys, pauses and the quit land on exact frames.
//
//   # comment
//   <frame> down <finger> <x> <y> [button]   mouse button down of finger
//   <frame> up <finger> <x> <y> [button]
//   <frame> move <finger> <x> <y>
//   <frame> key <symbol> [modifiers]         key down; keyup the same
//   <frame> axis <axis> <value> [joystick]   -32768 .. 32767
//   <frame> active <state> <gain>            deactivate = active 4 0,
//   <frame> deactivate | activate            activate = active 4 1
//   <frame> expose | quit
//
// A symbol is a number, a single character, or escape, backspace, return,
// space or tab. Window coordinates, frames counted from 1 (0 means before
// the first).
#pragma once

#include "app/ShellInterfaces.h"

#include <string>
#include <vector>

namespace Vexel
{
namespace App
{

class EventScript
{
public:
    struct Entry
    {
        int frame;
        int line; // in the script text, from 1
        SDL_Event event;
    };

    // Replaces the entries. False, with "line N: what is wrong" in *error,
    // on the first bad line (the entries are then empty).
    bool Parse(std::string const& text, std::string* error);
    // Parse of the file's text; also false when it cannot be read.
    bool Load(std::string const& path, std::string* error);

    // Pushes, in script order, every entry not pushed yet whose frame is at
    // most frame. Stops at a full queue and goes on from there next time.
    // Returns the number pushed.
    int PushDue(int frame, IEventQueue& queue);

    std::vector<Entry> const& GetEntries() const { return entries; }
    int GetPendingCount() const { return int(entries.size()) - next; }

private:
    std::vector<Entry> entries; // stable-sorted by frame
    int next = 0;
};

} // namespace App
} // namespace Vexel
