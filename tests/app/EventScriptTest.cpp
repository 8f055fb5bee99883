// The scripted input of the tests: parsing, errors and pushing by frame.
#include "ShellTestSupport.h"

#include "app/EventScript.h"

#include <cstdio>
#include <fstream>

using namespace ShellTest;
using Vexel::App::EventScript;

TEST(EventScriptTest, EveryKindOfEvent)
{
    EventScript script;
    std::string error;
    const char* text = "# two fingers\n"
                       "1 down 0 10 20\n"
                       "1 down 1 300 400 3   # right button\n"
                       "2 move 1 301 402\n"
                       "3 up 0 11 21\n"
                       "4 key escape\n"
                       "4 key a 1\n"
                       "4 keyup 8\n"
                       "5 axis 1 -32768\n"
                       "5 axis 2 32767 1\n"
                       "6 deactivate\n"
                       "7 activate\n"
                       "7 active 2 0\n"
                       "8 expose\n"
                       "\n"
                       "   \t\n"
                       "9 quit\n";
    ASSERT_TRUE(script.Parse(text, &error)) << error;
    auto const& e = script.GetEntries();
    ASSERT_EQ(14u, e.size());
    EXPECT_EQ(SDL_MOUSEBUTTONDOWN, e[0].event.type);
    EXPECT_EQ(0, e[0].event.button.which);
    EXPECT_EQ(SDL_BUTTON_LEFT, e[0].event.button.button);
    EXPECT_EQ(10, e[0].event.button.x);
    EXPECT_EQ(20, e[0].event.button.y);
    EXPECT_EQ(2, e[0].line);
    EXPECT_EQ(1, e[1].event.button.which);
    EXPECT_EQ(3, e[1].event.button.button);
    EXPECT_EQ(SDL_MOUSEMOTION, e[2].event.type);
    EXPECT_EQ(402, e[2].event.motion.y);
    EXPECT_EQ(SDL_MOUSEBUTTONUP, e[3].event.type);
    EXPECT_EQ(SDL_KEYDOWN, e[4].event.type);
    EXPECT_EQ(SDLK_ESCAPE, e[4].event.key.keysym.sym);
    EXPECT_EQ(SDLK_a, e[5].event.key.keysym.sym);
    EXPECT_EQ(KMOD_LSHIFT, e[5].event.key.keysym.mod);
    EXPECT_EQ(SDL_KEYUP, e[6].event.type);
    EXPECT_EQ(SDLK_BACKSPACE, e[6].event.key.keysym.sym);
    EXPECT_EQ(SDL_JOYAXISMOTION, e[7].event.type);
    EXPECT_EQ(1, e[7].event.jaxis.axis);
    EXPECT_EQ(-32768, e[7].event.jaxis.value);
    EXPECT_EQ(1, e[8].event.jaxis.which);
    EXPECT_EQ(SDL_ACTIVEEVENT, e[9].event.type);
    EXPECT_EQ(SDL_APPACTIVE, e[9].event.active.state);
    EXPECT_EQ(0, e[9].event.active.gain);
    EXPECT_EQ(1, e[10].event.active.gain);
    EXPECT_EQ(SDL_APPINPUTFOCUS, e[11].event.active.state);
    EXPECT_EQ(SDL_VIDEOEXPOSE, e[12].event.type);
    EXPECT_EQ(SDL_QUIT, e[13].event.type);
    EXPECT_EQ(17, e[13].line);
}

TEST(EventScriptTest, BadLinesAreRefusedWithTheirNumber)
{
    struct Row
    {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"x down 0 1 1", "line 1: \"x\" is not a frame number"},
        {"-1 quit", "line 1: \"-1\" is not a frame number"},
        {"99999999999 quit", "line 1: \"99999999999\" is not a frame number"},
        {"1", "line 1: an event must follow the frame number"},
        {"1 quit\n2 jump", "line 2: unknown event \"jump\""},
        {"1 down 0 1", "line 1: down needs <finger 0-255> <x> <y> [button]"},
        {"1 down 256 1 1", "line 1: down needs <finger 0-255> <x> <y> [button]"},
        {"1 up 0 1 65536", "line 1: up needs <finger 0-255> <x> <y> [button]"},
        {"1 down 0 1 1 0", "line 1: down needs <finger 0-255> <x> <y> [button]"},
        {"1 move 0 1 1 1", "line 1: move needs <finger 0-255> <x> <y>"},
        {"1 key", "line 1: key needs <symbol> [modifiers]"},
        {"1 key ab", "line 1: key needs <symbol> [modifiers]"},
        {"1 axis 0 32768", "line 1: axis needs <axis 0-255> <value -32768..32767> [joystick]"},
        {"1 active 4", "line 1: active needs <state 0-255> <gain 0-255>"},
        {"1 quit now", "line 1: quit takes no arguments"},
        {"1 activate 1", "line 1: activate takes no arguments"},
    };
    for (Row const& r : rows)
    {
        EventScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(r.text, &error)) << r.text;
        EXPECT_EQ(r.error, error) << r.text;
        EXPECT_TRUE(script.GetEntries().empty()) << r.text;
    }
}

TEST(EventScriptTest, PushesInFrameOrderAndWaitsForRoomInTheQueue)
{
    EventScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("3 key a\n1 key b\n3 key c\n0 key d\n2 key e\n", &error)) << error;
    FakeQueue queue;
    queue.capacity = 2;
    auto symbols = [&queue]
    {
        std::string out;
        for (SDL_Event const& e : queue.events)
            out += char(e.key.keysym.sym);
        queue.events.clear();
        return out;
    };
    EXPECT_EQ(2, script.PushDue(1, queue)); // d (frame 0), b (frame 1)
    EXPECT_EQ("db", symbols());
    EXPECT_EQ(0, script.PushDue(1, queue));
    EXPECT_EQ(2, script.PushDue(5, queue)); // the queue takes two: e, a
    EXPECT_EQ("ea", symbols());
    EXPECT_EQ(1, script.GetPendingCount());
    EXPECT_EQ(1, script.PushDue(5, queue)); // c, same frame as a, after it
    EXPECT_EQ("c", symbols());
    EXPECT_EQ(0, script.GetPendingCount());
}

TEST(EventScriptTest, LoadReadsAFileAndReportsAMissingOne)
{
    EventScript script;
    std::string error;
    EXPECT_FALSE(script.Load("/nonexistent/script.txt", &error));
    EXPECT_EQ("cannot read \"/nonexistent/script.txt\"", error);

    const std::string path = ::testing::TempDir() + "app_event_script.txt";
    {
        std::ofstream out(path);
        out << "1 down 0 5 5\n2 up 0 5 5\n";
    }
    EXPECT_TRUE(script.Load(path, &error)) << error;
    EXPECT_EQ(2u, script.GetEntries().size());
    std::remove(path.c_str());
}
