// The platform layer's view of SDL's activation events and video driver.
#include "engine/display/PlatformEvents.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(PlatformEventsTest, IconifyAndRestoreBecomeThePhonesActivation)
{
    struct Row
    {
        int state, gain;
        int translatedState;
    };
    const Row rows[] = {
        {SDL_APPACTIVE | SDL_APPINPUTFOCUS, 0, SDL_APPACTIVE}, // X11 iconify
        {SDL_APPACTIVE | SDL_APPINPUTFOCUS, 1, SDL_APPACTIVE},
        {SDL_APPACTIVE, 1, SDL_APPACTIVE}, // X11 map
        {SDL_APPACTIVE | SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS, 0, SDL_APPACTIVE},
        {SDL_APPINPUTFOCUS, 0, SDL_APPINPUTFOCUS}, // focus only: unchanged
        {SDL_APPMOUSEFOCUS, 1, SDL_APPMOUSEFOCUS},
        {SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS, 0, SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS},
    };
    for (Row const& r : rows)
    {
        SDL_Event event = SDL_Event();
        event.type = SDL_ACTIVEEVENT;
        event.active.state = Uint8(r.state);
        event.active.gain = Uint8(r.gain);
        Vexel::Platform::TranslateEvent(&event);
        EXPECT_EQ(r.translatedState, event.active.state) << "state " << r.state;
        EXPECT_EQ(r.gain, event.active.gain) << "state " << r.state;
    }
    // Other events are not touched, even with the same bytes.
    SDL_Event key = SDL_Event();
    key.type = SDL_KEYDOWN;
    key.key.state = 6;
    Vexel::Platform::TranslateEvent(&key);
    EXPECT_EQ(6, key.key.state);
    Vexel::Platform::TranslateEvent(nullptr);
}

TEST(PlatformEventsTest, VideoDriverDefaultsToX11)
{
    const char* savedDriver = std::getenv("SDL_VIDEODRIVER");
    const std::string keepDriver = savedDriver ? savedDriver : "";
    const char* savedDisplay = std::getenv("DISPLAY");
    const std::string keepDisplay = savedDisplay ? savedDisplay : "";

    unsetenv("SDL_VIDEODRIVER");
    Vexel::Platform::PrepareVideoDriver();
    EXPECT_STREQ("x11", std::getenv("SDL_VIDEODRIVER"));
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Vexel::Platform::PrepareVideoDriver();
    EXPECT_STREQ("dummy", std::getenv("SDL_VIDEODRIVER")); // the user's choice stays
    unsetenv("DISPLAY");
    EXPECT_FALSE(Vexel::Platform::IsDisplayMissing()); // not our driver to judge
    setenv("SDL_VIDEODRIVER", "x11", 1);
    EXPECT_TRUE(Vexel::Platform::IsDisplayMissing());
    setenv("DISPLAY", ":5", 1);
    EXPECT_FALSE(Vexel::Platform::IsDisplayMissing());

    if (savedDriver)
        setenv("SDL_VIDEODRIVER", keepDriver.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
    if (savedDisplay)
        setenv("DISPLAY", keepDisplay.c_str(), 1);
    else
        unsetenv("DISPLAY");
}
