#include "app/EventScript.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace Vexel
{
namespace App
{

namespace
{

bool ParseInt(std::string const& word, long low, long high, long* value)
{
    if (word.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

bool ParseSymbol(std::string const& word, long* symbol)
{
    static const struct
    {
        const char* name;
        long symbol;
    } kNames[] = {{"escape", SDLK_ESCAPE}, {"backspace", SDLK_BACKSPACE}, {"return", SDLK_RETURN},
                  {"enter", SDLK_RETURN},  {"space", SDLK_SPACE},         {"tab", SDLK_TAB}};
    for (auto const& entry : kNames)
    {
        if (word == entry.name)
        {
            *symbol = entry.symbol;
            return true;
        }
    }
    if (ParseInt(word, 0, 65535, symbol))
        return true;
    if (word.size() == 1 && word[0] > 32 && word[0] < 127)
    {
        *symbol = word[0];
        return true;
    }
    return false;
}

// Fills the event from the words after the frame; a message on failure.
std::string ParseEvent(std::vector<std::string> const& words, SDL_Event* event)
{
    std::string const& kind = words[1];
    const size_t count = words.size() - 2; // arguments
    long a = 0, b = 0, c = 0, d = 0;
    *event = SDL_Event();
    if (kind == "down" || kind == "up")
    {
        if (count < 3 || count > 4 || !ParseInt(words[2], 0, 255, &a) || !ParseInt(words[3], 0, 65535, &b) ||
            !ParseInt(words[4], 0, 65535, &c) || (count == 4 && !ParseInt(words[5], 1, 255, &d)))
            return kind + " needs <finger 0-255> <x> <y> [button]";
        event->type = kind == "down" ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event->button.type = event->type;
        event->button.which = Uint8(a);
        event->button.button = Uint8(count == 4 ? d : SDL_BUTTON_LEFT);
        event->button.state = kind == "down" ? SDL_PRESSED : SDL_RELEASED;
        event->button.x = Uint16(b);
        event->button.y = Uint16(c);
        return std::string();
    }
    if (kind == "move")
    {
        if (count != 3 || !ParseInt(words[2], 0, 255, &a) || !ParseInt(words[3], 0, 65535, &b) ||
            !ParseInt(words[4], 0, 65535, &c))
            return "move needs <finger 0-255> <x> <y>";
        event->type = SDL_MOUSEMOTION;
        event->motion.type = SDL_MOUSEMOTION;
        event->motion.which = Uint8(a);
        event->motion.state = SDL_BUTTON(SDL_BUTTON_LEFT);
        event->motion.x = Uint16(b);
        event->motion.y = Uint16(c);
        return std::string();
    }
    if (kind == "key" || kind == "keyup")
    {
        if (count < 1 || count > 2 || !ParseSymbol(words[2], &a) ||
            (count == 2 && !ParseInt(words[3], 0, 65535, &b)))
            return kind + " needs <symbol> [modifiers]";
        event->type = kind == "key" ? SDL_KEYDOWN : SDL_KEYUP;
        event->key.type = event->type;
        event->key.state = kind == "key" ? SDL_PRESSED : SDL_RELEASED;
        event->key.keysym.sym = SDLKey(a);
        event->key.keysym.mod = SDLMod(b);
        return std::string();
    }
    if (kind == "axis")
    {
        if (count < 2 || count > 3 || !ParseInt(words[2], 0, 255, &a) ||
            !ParseInt(words[3], -32768, 32767, &b) || (count == 3 && !ParseInt(words[4], 0, 255, &c)))
            return "axis needs <axis 0-255> <value -32768..32767> [joystick]";
        event->type = SDL_JOYAXISMOTION;
        event->jaxis.type = SDL_JOYAXISMOTION;
        event->jaxis.which = Uint8(c);
        event->jaxis.axis = Uint8(a);
        event->jaxis.value = Sint16(b);
        return std::string();
    }
    if (kind == "active" || kind == "activate" || kind == "deactivate")
    {
        if (kind == "active")
        {
            if (count != 2 || !ParseInt(words[2], 0, 255, &a) || !ParseInt(words[3], 0, 255, &b))
                return "active needs <state 0-255> <gain 0-255>";
        }
        else
        {
            if (count != 0)
                return kind + " takes no arguments";
            a = SDL_APPACTIVE;
            b = kind == "activate" ? 1 : 0;
        }
        event->type = SDL_ACTIVEEVENT;
        event->active.type = SDL_ACTIVEEVENT;
        event->active.state = Uint8(a);
        event->active.gain = Uint8(b);
        return std::string();
    }
    if (kind == "expose" || kind == "quit")
    {
        if (count != 0)
            return kind + " takes no arguments";
        event->type = kind == "expose" ? SDL_VIDEOEXPOSE : SDL_QUIT;
        return std::string();
    }
    return "unknown event \"" + kind + "\"";
}

} // namespace

bool EventScript::Parse(std::string const& text, std::string* error)
{
    entries.clear();
    next = 0;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    std::vector<Entry> parsed;
    while (std::getline(lines, line))
    {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        if (words.empty())
            continue;
        long frame = 0;
        std::string problem;
        Entry entry;
        if (!ParseInt(words[0], 0, INT_MAX, &frame))
            problem = "\"" + words[0] + "\" is not a frame number";
        else if (words.size() < 2)
            problem = "an event must follow the frame number";
        else
            problem = ParseEvent(words, &entry.event);
        if (!problem.empty())
        {
            if (error)
                *error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        entry.frame = int(frame);
        entry.line = number;
        parsed.push_back(entry);
    }
    std::stable_sort(parsed.begin(), parsed.end(),
                     [](Entry const& a, Entry const& b) { return a.frame < b.frame; });
    entries.swap(parsed);
    return true;
}

bool EventScript::Load(std::string const& path, std::string* error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        entries.clear();
        next = 0;
        if (error)
            *error = "cannot read \"" + path + "\"";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str(), error);
}

int EventScript::PushDue(int frame, IEventQueue& queue)
{
    int pushed = 0;
    while (next < int(entries.size()) && entries[size_t(next)].frame <= frame)
    {
        if (!queue.Push(entries[size_t(next)].event))
            break;
        ++next;
        ++pushed;
    }
    return pushed;
}

} // namespace App
} // namespace Vexel
