#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"

#include <gtest/gtest.h>

TEST(AppSettings, DefaultsAndFileNameMapping)
{
    Vexel::AppSettings* settings = Vexel::GetAppSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings, Vexel::GetAppSettings());
    EXPECT_EQ(settings->orientation, 1);
    EXPECT_EQ(settings->clearColor, Color(0, 0, 0, 255));
    EXPECT_TRUE(settings->musicEnabled);
    EXPECT_TRUE(settings->soundEnabled);
    EXPECT_EQ(settings->audioSampleRate, 44100);
    EXPECT_EQ(settings->effectVoiceCount, 8);
    EXPECT_FALSE(settings->runWhileInactive);

    Vexel::AppSettings local;
    local.extensionMap[".dat"] = ".png";
    local.extensionMap[".abc"] = ".longer-ending";
    struct Case
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"argb_main1.dat", "argb_main1.png"}, {".dat", ".dat"},     {"x.DAT", "x.DAT"},
        {"font.type", "font.type"},           {"a.dat", "a.png"},   {"n.abc", "n.longer-ending"},
        {"", ""},                             {"data.dat.x", "data.dat.x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(local.MapFileName(c.in), c.out) << c.in;
}

namespace
{
struct Counter
{
    int calls = 0;
    void Hit() { calls++; }
};
} // namespace

TEST(AppEvents, FourDistinctEventsThatFireTheirSubscribers)
{
    Vexel::AppEvents::Resume().Raise(); // nobody subscribed: nothing happens
    Counter startup, pause;
    Vexel::AppEvents::Startup().Subscribe(Vexel::Action<>(&startup, &Counter::Hit));
    Vexel::AppEvents::Pause().Subscribe(Vexel::Action<>(&pause, &Counter::Hit));
    Vexel::AppEvents::Startup().Raise();
    Vexel::AppEvents::Pause().Raise();
    Vexel::AppEvents::Pause().Raise();
    EXPECT_EQ(startup.calls, 1);
    EXPECT_EQ(pause.calls, 2);
    EXPECT_NE(&Vexel::AppEvents::Startup(), &Vexel::AppEvents::Shutdown());
    Vexel::AppEvents::Startup().Unsubscribe(&startup);
    Vexel::AppEvents::Pause().Unsubscribe(&pause);
}
